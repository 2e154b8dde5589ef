// Textures of the formats the show loads (block-compressed, cube, mip chains), the back buffer
// written to PNG, and the GL error check the GPU tests rely on.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/d3d11/gl_check.h"
#include "support/GpuTestDevice.h"
#include "support/TempDirectory.h"

using testing_support::CreateTestBuffer;
using testing_support::ExpectNoGLErrors;
using testing_support::GpuTestDevice;
using testing_support::Rgba;
using testing_support::TestProgram;

namespace {

// Draws a full-screen triangle whose pixel shader reads the bound texture at t0.
const char* kSamplingShader = R"(
Texture2D flat : register(t0);
TextureCube cube : register(t1);
SamplerState pointSampler : register(s0);
cbuffer Choice : register(b0)
{
    float4 direction;
    int useCube;
    int level;
    int2 unused;
};
struct PSIn { float4 position : SV_POSITION; float2 uv : TEXCOORD0; };
PSIn Sample_VS(uint id : SV_VertexID)
{
    PSIn output;
    output.uv = float2((id << 1) & 2, id & 2);
    output.position = float4(output.uv * float2(2, -2) + float2(-1, 1), 0.5f, 1);
    return output;
}
float4 Sample_PS(PSIn input) : SV_TARGET
{
    if (useCube != 0) return cube.Sample(pointSampler, direction.xyz);
    return flat.SampleLevel(pointSampler, input.uv, level);
}
)";

struct Choice {
  float direction[4];
  int32_t useCube;
  int32_t level;
  int32_t unused[2];
};

class D3D11ResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gpu.Create(16, 16));
    ASSERT_EQ(program.Create(gpu.device, kSamplingShader, "Sample_VS", kSamplingShader, "Sample_PS"), "");
    D3D11_SAMPLER_DESC sampler{};
    sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_POINT;
    sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
    sampler.MaxLOD = D3D11_FLOAT32_MAX;
    ASSERT_EQ(gpu.device->CreateSamplerState(&sampler, &pointSampler), S_OK);
    choiceBuffer = CreateTestBuffer(gpu.device, D3D11_BIND_CONSTANT_BUFFER, sizeof(Choice));
    ASSERT_NE(choiceBuffer, nullptr);
  }
  void TearDown() override {
    ExpectNoGLErrors();
    for (IUnknown* object : std::initializer_list<IUnknown*>{choiceBuffer, pointSampler}) {
      if (object != nullptr) object->Release();
    }
  }

  Rgba DrawSample(ID3D11ShaderResourceView* flat, ID3D11ShaderResourceView* cube, const Choice& choice) {
    D3D11_MAPPED_SUBRESOURCE mapped;
    EXPECT_EQ(gpu.context->Map(choiceBuffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped), S_OK);
    std::memcpy(mapped.pData, &choice, sizeof choice);
    gpu.context->Unmap(choiceBuffer, 0);
    ID3D11ShaderResourceView* views[2] = {flat, cube};
    gpu.context->PSSetShaderResources(0, 2, views);
    gpu.context->PSSetSamplers(0, 1, &pointSampler);
    gpu.context->PSSetConstantBuffers(0, 1, &choiceBuffer);
    program.Bind(gpu.context);
    gpu.Clear(0, 0, 0, 0);
    gpu.context->Draw(3, 0);
    return gpu.PixelAt(1, 1);
  }

  GpuTestDevice gpu;
  TestProgram program;
  ID3D11SamplerState* pointSampler = nullptr;
  ID3D11Buffer* choiceBuffer = nullptr;
};

TEST_F(D3D11ResourceTest, BlockCompressedTexturesDecode) {
  // One BC1 block: both end colours pure red (R5G6B5 0xF800), every index 0.
  const uint8_t block[8] = {0x00, 0xF8, 0x00, 0xF8, 0, 0, 0, 0};
  D3D11_TEXTURE2D_DESC desc{4, 4, 1, 1, DXGI_FORMAT_BC1_UNORM, {1, 0}, D3D11_USAGE_IMMUTABLE,
                            D3D11_BIND_SHADER_RESOURCE, 0, 0};
  const D3D11_SUBRESOURCE_DATA data{block, 8, 0};
  ID3D11Texture2D* texture = nullptr;
  ASSERT_EQ(gpu.device->CreateTexture2D(&desc, &data, &texture), S_OK);
  ID3D11ShaderResourceView* view = nullptr;
  ASSERT_EQ(gpu.device->CreateShaderResourceView(texture, nullptr, &view), S_OK);
  const Rgba pixel = DrawSample(view, nullptr, Choice{});
  EXPECT_EQ(pixel.r, 255);
  EXPECT_EQ(pixel.g, 0);
  EXPECT_EQ(pixel.a, 255);
  view->Release();
  texture->Release();
}

TEST_F(D3D11ResourceTest, MipChainsKeepEachLevelsData) {
  const uint32_t level0[4] = {0xff0000ffu, 0xff0000ffu, 0xff0000ffu, 0xff0000ffu};
  const uint32_t level1 = 0xffff0000u;
  const D3D11_SUBRESOURCE_DATA data[2] = {{level0, 8, 0}, {&level1, 4, 0}};
  D3D11_TEXTURE2D_DESC desc{2, 2, 2, 1, DXGI_FORMAT_R8G8B8A8_UNORM, {1, 0}, D3D11_USAGE_DEFAULT,
                            D3D11_BIND_SHADER_RESOURCE, 0, 0};
  ID3D11Texture2D* texture = nullptr;
  ASSERT_EQ(gpu.device->CreateTexture2D(&desc, data, &texture), S_OK);
  ID3D11ShaderResourceView* view = nullptr;
  ASSERT_EQ(gpu.device->CreateShaderResourceView(texture, nullptr, &view), S_OK);
  Choice choice{};
  EXPECT_EQ(DrawSample(view, nullptr, choice).r, 255);
  choice.level = 1;
  EXPECT_EQ(DrawSample(view, nullptr, choice).b, 255);
  view->Release();
  texture->Release();
}

TEST_F(D3D11ResourceTest, CubeFacesFollowDirect3DsOrder) {
  // Faces +x, −x, +y, −y, +z, −z, each its own colour.
  const uint32_t colours[6] = {0xff0000ffu, 0xff00ff00u, 0xffff0000u, 0xff00ffffu, 0xffff00ffu, 0xffffff00u};
  D3D11_SUBRESOURCE_DATA faces[6];
  for (int i = 0; i < 6; ++i) faces[i] = {&colours[i], 4, 0};
  D3D11_TEXTURE2D_DESC desc{1, 1, 1, 6, DXGI_FORMAT_R8G8B8A8_UNORM, {1, 0}, D3D11_USAGE_DEFAULT,
                            D3D11_BIND_SHADER_RESOURCE, 0, D3D11_RESOURCE_MISC_TEXTURECUBE};
  ID3D11Texture2D* texture = nullptr;
  ASSERT_EQ(gpu.device->CreateTexture2D(&desc, faces, &texture), S_OK);
  ID3D11ShaderResourceView* view = nullptr;
  ASSERT_EQ(gpu.device->CreateShaderResourceView(texture, nullptr, &view), S_OK);
  D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc;
  view->GetDesc(&viewDesc);
  EXPECT_EQ(viewDesc.ViewDimension, D3D11_SRV_DIMENSION_TEXTURECUBE);
  const float directions[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  for (int i = 0; i < 6; ++i) {
    Choice choice{{directions[i][0], directions[i][1], directions[i][2], 0}, 1, 0, {0, 0}};
    const Rgba pixel = DrawSample(nullptr, view, choice);
    const uint32_t got = pixel.r | (pixel.g << 8) | (pixel.b << 16) | (static_cast<uint32_t>(pixel.a) << 24);
    EXPECT_EQ(got, colours[i]) << "face " << i;
  }
  view->Release();
  texture->Release();
}

TEST_F(D3D11ResourceTest, BackBufferIsWrittenToPngHeadless) {
  TempDirectory directory;
  gpu.Clear(1.0f, 0.0f, 0.0f, 1.0f);
  const std::filesystem::path path = directory.path() / "frame.png";
  ASSERT_TRUE(gpu.swapChain->SaveBackBufferPng(path.c_str()));
  std::ifstream file(path, std::ios::binary);
  char signature[8] = {};
  file.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
  EXPECT_FALSE(gpu.swapChain->SaveBackBufferPng((directory.path() / "missing" / "frame.png").c_str()));
}

TEST(GLErrorCheck, ReportsAnErrorRaisedByACall) {
  GpuTestDevice gpu;
  ASSERT_TRUE(gpu.Create(8, 8));
  platform::d3d11::TakeGLDebugMessages();
  EXPECT_TRUE(platform::d3d11::CheckGLError("clean"));
  glBindTexture(0x1234, 0);  // not a texture target
  EXPECT_FALSE(platform::d3d11::CheckGLError("provoked"));
  const auto messages = platform::d3d11::TakeGLDebugMessages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages[0].type, static_cast<unsigned>(GL_DEBUG_TYPE_ERROR));
  EXPECT_TRUE(platform::d3d11::CheckGLError("after"));
}

TEST(GLErrorCheck, CollectsTheLayersRefusals) {
  GpuTestDevice gpu;
  ASSERT_TRUE(gpu.Create(8, 8));
  platform::d3d11::TakeGLDebugMessages();
  D3D11_TEXTURE2D_DESC desc{};
  desc.Width = desc.Height = 4;
  desc.MipLevels = desc.ArraySize = 1;
  desc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  desc.SampleDesc.Count = 4;  // outside the subset
  desc.BindFlags = D3D11_BIND_RENDER_TARGET;
  ID3D11Texture2D* texture = nullptr;
  EXPECT_EQ(gpu.device->CreateTexture2D(&desc, nullptr, &texture), E_NOTIMPL);
  gpu.context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
  gpu.context->VSSetShader(nullptr, nullptr, 0);
  gpu.context->Draw(3, 0);  // no vertex shader: refused
  const auto messages = platform::d3d11::TakeGLDebugMessages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].type, platform::d3d11::kLayerRefusal);
  EXPECT_NE(messages[0].text.find("multisampling is not implemented"), std::string::npos) << messages[0].text;
  EXPECT_NE(messages[1].text.find("draw without a vertex shader"), std::string::npos) << messages[1].text;
  EXPECT_TRUE(platform::d3d11::TakeGLDebugMessages().empty());
}

TEST(GLErrorCheck, KeepsABoundedNumberOfMessagesAndCountsTheRest) {
  GpuTestDevice gpu;
  ASSERT_TRUE(gpu.Create(8, 8));
  platform::d3d11::TakeGLDebugMessages();
  const size_t provoked = platform::d3d11::kKeptGLDebugMessages + 44;
  for (size_t i = 0; i < provoked; ++i) gpu.context->Draw(3, 0);  // a show refusing every frame
  const auto messages = platform::d3d11::TakeGLDebugMessages();
  ASSERT_EQ(messages.size(), platform::d3d11::kKeptGLDebugMessages + 1);
  EXPECT_EQ(messages.back().text, "and 44 more messages not kept");
  EXPECT_TRUE(platform::d3d11::TakeGLDebugMessages().empty());
}

}  // namespace
