// Stages and input layouts meet by semantic, whatever order each side declares them in.
#include <gtest/gtest.h>

#include "support/GpuTestDevice.h"

using testing_support::CreateTestBuffer;
using testing_support::ExpectNoGLErrors;
using testing_support::GpuTestDevice;
using testing_support::TestProgram;

namespace {

// The vertex shader reads its inputs and writes its outputs in one order, the pixel shader
// reads them in another; WORLDPOS and SHADE are semantics of the show's own choosing.
const char* kVertex = R"(
struct VSIn { float2 shade : SHADE; float3 position : POSITION; float4 color : COLOR; };
struct VSOut
{
    float4 position : SV_POSITION;
    float4 color : COLOR0;
    float3 world : WORLDPOS;
    float2 shade : TEXCOORD1;
};
VSOut Interface_VS(VSIn input)
{
    VSOut output;
    output.position = float4(input.position, 1.0f);
    output.color = input.color;
    output.world = float3(0.25f, 0.5f, 0.75f);
    output.shade = input.shade;
    return output;
}
)";

const char* kPixel = R"(
struct PSIn
{
    float4 position : SV_POSITION;
    float2 shade : TEXCOORD1;
    float3 world : WORLDPOS;
    float4 color : COLOR0;
};
float4 Interface_PS(PSIn input) : SV_TARGET
{
    int column = int(input.position.x) / 8;
    if (column == 0) return input.color;
    if (column == 1) return float4(input.world, 1.0f);
    return float4(input.shade, 0.0f, 1.0f);
}
)";

TEST(ShaderInterface, StagesAndLayoutsMeetBySemanticNotByOrder) {
  GpuTestDevice gpu;
  ASSERT_TRUE(gpu.Create(24, 8));
  // The layout lists the elements in the vertex's memory order, not the shader's.
  const D3D11_INPUT_ELEMENT_DESC layout[] = {
      {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
      {"COLOR", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
      {"SHADE", 0, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
  };
  TestProgram program;
  ASSERT_EQ(program.Create(gpu.device, kVertex, "Interface_VS", kPixel, "Interface_PS", layout, 3), "");

  struct Vertex {
    float position[3];
    float color[4];
    float shade[2];
  };
  const Vertex triangle[3] = {{{-1, 1, 0.5f}, {1, 0, 1, 1}, {0.5f, 1}},
                              {{3, 1, 0.5f}, {1, 0, 1, 1}, {0.5f, 1}},
                              {{-1, -3, 0.5f}, {1, 0, 1, 1}, {0.5f, 1}}};
  ID3D11Buffer* buffer = CreateTestBuffer(gpu.device, D3D11_BIND_VERTEX_BUFFER, sizeof triangle, triangle);
  ASSERT_NE(buffer, nullptr);
  const UINT stride = sizeof(Vertex), offset = 0;
  gpu.context->IASetVertexBuffers(0, 1, &buffer, &stride, &offset);
  program.Bind(gpu.context);
  gpu.Clear(0, 0, 0, 0);
  gpu.context->Draw(3, 0);

  const std::vector<uint8_t> pixels = gpu.ReadPixels();
  auto at = [&](int x) { return std::vector<int>(pixels.begin() + (4 * 24 + x) * 4, pixels.begin() + (4 * 24 + x) * 4 + 4); };
  EXPECT_EQ(at(4), (std::vector<int>{255, 0, 255, 255}));
  EXPECT_EQ(at(12), (std::vector<int>{64, 128, 191, 255}));
  EXPECT_EQ(at(20), (std::vector<int>{128, 255, 0, 255}));
  ExpectNoGLErrors();
  buffer->Release();
}

}  // namespace
