// Constant buffers reach the shaders with Direct3D's packing and per-stage slots, and the
// show's row-vector matrices, transposed on upload, move a quad where Direct3D would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "gfx/shaders/ConstantBuffer.h"
#include "math/d3dx_math.h"
#include "support/GpuTestDevice.h"

using testing_support::CompileHlsl;
using testing_support::CreateTestBuffer;
using testing_support::ExpectNoGLErrors;
using testing_support::GpuTestDevice;
using testing_support::TestProgram;
using testing_support::UploadVertices;

namespace {

const char* kProbe = R"(
cbuffer Transform : register(b0)
{
    matrix transform;
};

cbuffer Packed : register(b0)
{
    float3 direction;  // 0: x, y, z
    float scale;       // 12: shares the register with direction
    int mode;          // 16
    uint flags;        // 20
    float2 offset;     // 24: still fits the second register
    float4 values[3];  // 32, 48, 64
    float last;        // 80
    float tail0;       // 84
    float tail1;       // 88
    float tail2;       // 92
    float spread[2];   // 96, 112
    float4 afterSpread; // 128: does not fit the array's last register
};

cbuffer Second : register(b2)
{
    float4 second;
};

struct VSIn { float3 position : POSITION; };
struct PSIn { float4 position : SV_POSITION; };

PSIn Probe_VS(VSIn input)
{
    PSIn output;
    output.position = mul(float4(input.position, 1.0f), transform);
    return output;
}

float4 Probe_PS(PSIn input) : SV_TARGET
{
    int x = int(input.position.x) / 4;
    if (x == 0) return float4(direction, scale);
    if (x == 1) return float4(mode / 255.0f, flags / 255.0f, offset);
    if (x == 2) return values[0];
    if (x == 3) return values[1];
    if (x == 4) return values[2];
    if (x == 5) return float4(last, tail0, tail1, tail2);
    if (x == 7) return float4(spread[0], spread[1], afterSpread.x, 1.0f);
    return second;
}
)";

struct PackedBuffer {
  float direction[3];
  float scale;
  int32_t mode;
  uint32_t flags;
  float offset[2];
  float values[3][4];
  float last;
  float tail[3];
  float spread0;
  float spreadPadding[3];
  float spread1;
  float spreadEnd[3];
  float afterSpread[4];
};
static_assert(sizeof(PackedBuffer) == 144);

class ConstantBufferPackingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gpu.Create(32, 32));
    const D3D11_INPUT_ELEMENT_DESC layout = {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0,
                                             D3D11_INPUT_PER_VERTEX_DATA, 0};
    ASSERT_EQ(program.Create(gpu.device, kProbe, "Probe_VS", kProbe, "Probe_PS", &layout, 1), "");
    ASSERT_TRUE(CreateConstantBuffer(gpu.device, 64, &transformBuffer));
    ASSERT_TRUE(CreateConstantBuffer(gpu.device, sizeof(PackedBuffer), &packedBuffer));
    ASSERT_TRUE(CreateConstantBuffer(gpu.device, 16, &secondBuffer));
    vertexBuffer = CreateTestBuffer(gpu.device, D3D11_BIND_VERTEX_BUFFER, 6 * 12);
    ASSERT_NE(vertexBuffer, nullptr);
  }
  void TearDown() override {
    ExpectNoGLErrors();
    for (ID3D11Buffer* buffer : {transformBuffer, packedBuffer, secondBuffer, vertexBuffer}) {
      if (buffer != nullptr) buffer->Release();
    }
  }

  // A rectangle given in the space the transform maps to clip space (two clockwise triangles).
  void DrawRectangle(const D3DXMATRIX& transform, float left, float top, float right, float bottom, float z) {
    D3DXMATRIX transposed;
    D3DXMatrixTranspose(&transposed, &transform);
    ASSERT_TRUE(UpdateConstantBuffer(gpu.context, transformBuffer, transposed));
    const float vertices[6][3] = {{left, top, z}, {right, top, z}, {left, bottom, z},
                                  {left, bottom, z}, {right, top, z}, {right, bottom, z}};
    ASSERT_TRUE(UploadVertices(gpu.context, vertexBuffer, vertices, sizeof vertices, 12));
    program.Bind(gpu.context);
    gpu.context->VSSetConstantBuffers(0, 1, &transformBuffer);
    gpu.context->PSSetConstantBuffers(0, 1, &packedBuffer);
    gpu.context->PSSetConstantBuffers(2, 1, &secondBuffer);
    gpu.context->Draw(6, 0);
  }

  GpuTestDevice gpu;
  TestProgram program;
  ID3D11Buffer* transformBuffer = nullptr;
  ID3D11Buffer* packedBuffer = nullptr;
  ID3D11Buffer* secondBuffer = nullptr;
  ID3D11Buffer* vertexBuffer = nullptr;
};

TEST_F(ConstantBufferPackingTest, EveryFieldArrivesAtItsDirect3DOffset) {
  PackedBuffer packed{};
  const float step = 1.0f / 255.0f;
  packed.direction[0] = 10 * step;
  packed.direction[1] = 20 * step;
  packed.direction[2] = 30 * step;
  packed.scale = 40 * step;
  packed.mode = 50;
  packed.flags = 60;
  packed.offset[0] = 70 * step;
  packed.offset[1] = 80 * step;
  for (int i = 0; i < 3; ++i) {
    for (int c = 0; c < 4; ++c) packed.values[i][c] = (100 + 10 * i + c) * step;
  }
  packed.last = 150 * step;
  packed.tail[0] = 160 * step;
  packed.tail[1] = 170 * step;
  packed.tail[2] = 180 * step;
  packed.spread0 = 240 * step;
  packed.spread1 = 245 * step;
  packed.afterSpread[0] = 250 * step;
  ASSERT_TRUE(UpdateConstantBuffer(gpu.context, packedBuffer, packed));
  const float second[4] = {200 * step, 210 * step, 220 * step, 230 * step};
  ASSERT_TRUE(UpdateConstantBuffer(gpu.context, secondBuffer, second));
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  gpu.Clear(0, 0, 0, 0);
  DrawRectangle(identity, -1, 1, 1, -1, 0.5f);

  const std::vector<uint8_t> pixels = gpu.ReadPixels();
  auto at = [&](int column) { return std::vector<int>(pixels.begin() + column * 4 * 4 + 2 * 32 * 4,
                                                       pixels.begin() + column * 4 * 4 + 2 * 32 * 4 + 4); };
  EXPECT_EQ(at(0), (std::vector<int>{10, 20, 30, 40}));
  EXPECT_EQ(at(1), (std::vector<int>{50, 60, 70, 80}));
  EXPECT_EQ(at(2), (std::vector<int>{100, 101, 102, 103}));
  EXPECT_EQ(at(3), (std::vector<int>{110, 111, 112, 113}));
  EXPECT_EQ(at(4), (std::vector<int>{120, 121, 122, 123}));
  EXPECT_EQ(at(5), (std::vector<int>{150, 160, 170, 180}));
  EXPECT_EQ(at(6), (std::vector<int>{200, 210, 220, 230}));
  EXPECT_EQ(at(7), (std::vector<int>{240, 245, 250, 255}));
}

TEST(ConstantBufferPackingCheck, LayoutsGLWouldReadElsewhereFailToCompile) {
  ASSERT_TRUE(testing_support::StartHeadlessVideo());
  // Direct3D packs `after` into the array's last register (byte 20); std140 would put it at 32.
  const char* tailPacked = R"(
cbuffer Tail : register(b0) { float spread[2]; float after; };
float4 Tail_PS() : SV_TARGET { return float4(spread[0], spread[1], after, 1); }
)";
  ID3D10Blob* blob = nullptr;
  const std::string text = CompileHlsl(tailPacked, "Tail_PS", "ps_5_0", &blob);
  EXPECT_EQ(blob, nullptr);
  EXPECT_NE(text.find("constant buffer 'Tail' member 'after'"), std::string::npos) << text;
  EXPECT_NE(text.find("Direct3D's byte 20"), std::string::npos) << text;

  // A float3 starting inside a register cannot be expressed in GL at all.
  const char* straddling = R"(
cbuffer Straddle : register(b0) { float first; float3 second; };
float4 Straddle_PS() : SV_TARGET { return float4(second, first); }
)";
  EXPECT_NE(CompileHlsl(straddling, "Straddle_PS", "ps_5_0", &blob), "");
  EXPECT_EQ(blob, nullptr);
}

TEST_F(ConstantBufferPackingTest, RowVectorMatricesAndTheOrthoProjectionPlaceAQuad) {
  // Every column of the probe shows something opaque.
  float ones[sizeof(PackedBuffer) / sizeof(float)];
  std::fill(std::begin(ones), std::end(ones), 1.0f);
  PackedBuffer opaque;
  std::memcpy(&opaque, ones, sizeof opaque);
  ASSERT_TRUE(UpdateConstantBuffer(gpu.context, packedBuffer, opaque));
  const float white[4] = {1, 1, 1, 1};
  ASSERT_TRUE(UpdateConstantBuffer(gpu.context, secondBuffer, white));
  // world = scaling × translation: a 4 × 4 square at the origin, doubled, then moved 6 right
  // and 4 up on a 32 × 32 screen whose centre is the origin. Transposing wrongly would move
  // it by the translation's column instead.
  D3DXMATRIX scaling, translation, world, ortho, transform;
  D3DXMatrixScaling(&scaling, 2, 2, 1);
  D3DXMatrixTranslation(&translation, 6, 4, 0);
  D3DXMatrixMultiply(&world, &scaling, &translation);
  D3DXMatrixOrthoLH(&ortho, 32, 32, 1, 10000);
  D3DXMatrixMultiply(&transform, &world, &ortho);
  gpu.Clear(0, 0, 0, 0);
  DrawRectangle(transform, -2, 2, 2, -2, 5.0f);
  // Square from x = 2..10, y = 0..8 up from the centre: pixels 18..25 across, 8..15 down.
  const std::vector<uint8_t> pixels = gpu.ReadPixels();
  auto covered = [&](int x, int y) { return pixels[(y * 32 + x) * 4 + 3] != 0; };
  EXPECT_TRUE(covered(18, 8));
  EXPECT_TRUE(covered(25, 15));
  EXPECT_FALSE(covered(17, 12));
  EXPECT_FALSE(covered(26, 12));
  EXPECT_FALSE(covered(21, 7));
  EXPECT_FALSE(covered(21, 16));
}

}  // namespace
