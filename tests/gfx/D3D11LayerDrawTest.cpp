// The D3D11 layer on llvmpipe: clears, draws and the pipeline states change pixels the way
// Direct3D would.
#include <gtest/gtest.h>

#include <cstring>

#include "support/GpuTestDevice.h"
#include "platform/d3d11/d3d11.h"

using testing_support::CompileHlsl;
using testing_support::ExpectNoGLErrors;
using testing_support::GpuTestDevice;
using testing_support::Rgba;

namespace {

// Positions in clip space, one colour per vertex.
const char* kColourShader = R"(
struct VSIn { float3 position : POSITION; float4 color : COLOR; };
struct PSIn { float4 position : SV_POSITION; float4 color : COLOR; };
PSIn Colour_VS(VSIn input) {
  PSIn output;
  output.position = float4(input.position, 1.0f);
  output.color = input.color;
  return output;
}
float4 Colour_PS(PSIn input) : SV_TARGET { return input.color; }
)";

struct Vertex {
  float x, y, z;
  float r, g, b, a;
};

class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gpu.Create(64, 64));
    ID3D10Blob* vs = nullptr;
    ID3D10Blob* ps = nullptr;
    ASSERT_EQ(CompileHlsl(kColourShader, "Colour_VS", "vs_5_0", &vs), "");
    ASSERT_EQ(CompileHlsl(kColourShader, "Colour_PS", "ps_5_0", &ps), "");
    ASSERT_EQ(gpu.device->CreateVertexShader(vs->GetBufferPointer(), vs->GetBufferSize(), nullptr, &vertexShader), S_OK);
    ASSERT_EQ(gpu.device->CreatePixelShader(ps->GetBufferPointer(), ps->GetBufferSize(), nullptr, &pixelShader), S_OK);
    const D3D11_INPUT_ELEMENT_DESC layout[] = {
        {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"COLOR", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
    };
    ASSERT_EQ(gpu.device->CreateInputLayout(layout, 2, vs->GetBufferPointer(), vs->GetBufferSize(), &inputLayout), S_OK);
    vs->Release();
    ps->Release();
    D3D11_BUFFER_DESC desc{};
    desc.ByteWidth = sizeof(Vertex) * 64;
    desc.Usage = D3D11_USAGE_DYNAMIC;
    desc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
    ASSERT_EQ(gpu.device->CreateBuffer(&desc, nullptr, &vertexBuffer), S_OK);
  }

  void TearDown() override {
    ExpectNoGLErrors();
    if (vertexBuffer != nullptr) vertexBuffer->Release();
    if (inputLayout != nullptr) inputLayout->Release();
    if (pixelShader != nullptr) pixelShader->Release();
    if (vertexShader != nullptr) vertexShader->Release();
  }

  void Draw(const std::vector<Vertex>& vertices,
            D3D11_PRIMITIVE_TOPOLOGY topology = D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST) {
    D3D11_MAPPED_SUBRESOURCE mapped;
    ASSERT_EQ(gpu.context->Map(vertexBuffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped), S_OK);
    std::memcpy(mapped.pData, vertices.data(), vertices.size() * sizeof(Vertex));
    gpu.context->Unmap(vertexBuffer, 0);
    const UINT stride = sizeof(Vertex);
    const UINT offset = 0;
    gpu.context->IASetVertexBuffers(0, 1, &vertexBuffer, &stride, &offset);
    gpu.context->IASetInputLayout(inputLayout);
    gpu.context->IASetPrimitiveTopology(topology);
    gpu.context->VSSetShader(vertexShader, nullptr, 0);
    gpu.context->PSSetShader(pixelShader, nullptr, 0);
    gpu.context->Draw(static_cast<UINT>(vertices.size()), 0);
  }

  // A quad over the whole target at depth z, as two clockwise triangles.
  static std::vector<Vertex> FullQuad(float z, float r, float g, float b, float a) {
    return {{-1, 1, z, r, g, b, a},  {1, 1, z, r, g, b, a},  {-1, -1, z, r, g, b, a},
            {-1, -1, z, r, g, b, a}, {1, 1, z, r, g, b, a},  {1, -1, z, r, g, b, a}};
  }

  GpuTestDevice gpu;
  ID3D11VertexShader* vertexShader = nullptr;
  ID3D11PixelShader* pixelShader = nullptr;
  ID3D11InputLayout* inputLayout = nullptr;
  ID3D11Buffer* vertexBuffer = nullptr;
};

TEST_F(DrawTest, ClearFillsTheBackBufferWithTheColour) {
  gpu.Clear(1.0f, 0.5f, 0.0f, 1.0f);
  const Rgba pixel = gpu.PixelAt(10, 50);
  EXPECT_EQ(pixel.r, 255);
  EXPECT_NEAR(pixel.g, 128, 1);
  EXPECT_EQ(pixel.b, 0);
  EXPECT_EQ(pixel.a, 255);
}

TEST_F(DrawTest, TopOfClipSpaceIsTheFirstRowOfTheBackBuffer) {
  gpu.Clear(0, 0, 0, 1);
  // A triangle covering only the upper left corner of clip space, clockwise on screen.
  Draw({{-1, 1, 0.5f, 0, 1, 0, 1}, {0, 1, 0.5f, 0, 1, 0, 1}, {-1, 0, 0.5f, 0, 1, 0, 1}});
  EXPECT_EQ(gpu.PixelAt(2, 2).g, 255);
  EXPECT_EQ(gpu.PixelAt(2, 61).g, 0);
  EXPECT_EQ(gpu.PixelAt(61, 2).g, 0);
}

}  // namespace
