// Text on the D3D11 layer: glyphs land on whole pixels exactly as rasterised, in the colour
// asked for, and with FW1_RESTORESTATE the draw after the text sees the pipeline as before.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "gfx/ReleaseAndForget.h"
#include "platform/font.h"
#include "platform/font_atlas.h"
#include "support/GpuTestDevice.h"

using testing_support::CreateTestBuffer;
using testing_support::ExpectNoGLErrors;
using testing_support::GpuTestDevice;
using testing_support::TestProgram;
using testing_support::UploadVertices;

namespace {

// A textured, tinted quad: what the text must not disturb.
const char* kSceneShader = R"(
cbuffer Tint : register(b0) { float4 tint; };
Texture2D picture : register(t0);
SamplerState pictureSampler : register(s0);
struct VSIn { float3 position : POSITION; float2 uv : TEXCOORD0; };
struct PSIn { float4 position : SV_POSITION; float2 uv : TEXCOORD0; };
PSIn Scene_VS(VSIn input) {
  PSIn output;
  output.position = float4(input.position, 1.0f);
  output.uv = input.uv;
  return output;
}
float4 Scene_PS(PSIn input) : SV_TARGET { return picture.Sample(pictureSampler, input.uv) * tint; }
)";

struct SceneVertex {
  float x, y, z, u, v;
};

constexpr int kWidth = 96;
constexpr int kHeight = 64;
// The text "Hi" at the origin stays inside this box; the scissor rectangle lies apart from it.
constexpr int kTextRight = 40, kTextBottom = 18;

class TextDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gpu.Create(kWidth, kHeight));
    library = platform::FontLibrary::Create();
    ASSERT_NE(library, nullptr);
    face = library->CreateFace("Arial", gpu.device);
    if (face == nullptr) GTEST_SKIP() << "no face resolves for Arial";
    ASSERT_NE(face->renderer, nullptr);
  }
  void TearDown() override {
    ExpectNoGLErrors();
    ReleaseScene();
    if (face) face->Release();
    if (library) library->Release();
  }

  // Every binding and state of the textured quad, deliberately unlike the text's own.
  void CreateScene() {
    const D3D11_INPUT_ELEMENT_DESC layout[] = {
        {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, 12, D3D11_INPUT_PER_VERTEX_DATA, 0},
    };
    ASSERT_EQ(program.Create(gpu.device, kSceneShader, "Scene_VS", kSceneShader, "Scene_PS", layout, 2), "");
    // Counter-clockwise on screen: seen only because front faces are the ones culled.
    const SceneVertex quad[] = {{-1, 1, 0.25f, 0, 0}, {-1, -1, 0.25f, 0, 1}, {1, 1, 0.25f, 1, 0},
                                {1, 1, 0.25f, 1, 0},  {-1, -1, 0.25f, 0, 1}, {1, -1, 0.25f, 1, 1}};
    vertices = CreateTestBuffer(gpu.device, D3D11_BIND_VERTEX_BUFFER, sizeof quad);
    ASSERT_NE(vertices, nullptr);
    ASSERT_TRUE(UploadVertices(gpu.context, vertices, quad, sizeof quad, sizeof(SceneVertex)));
    const float tint[4] = {0.25f, 0.25f, 0.25f, 1.0f};
    tintBuffer = CreateTestBuffer(gpu.device, D3D11_BIND_CONSTANT_BUFFER, 16, tint);
    ASSERT_NE(tintBuffer, nullptr);

    const uint8_t texels[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    D3D11_TEXTURE2D_DESC desc{2, 2, 1, 1, DXGI_FORMAT_R8G8B8A8_UNORM, {1, 0}, D3D11_USAGE_DEFAULT,
                              D3D11_BIND_SHADER_RESOURCE, 0, 0};
    const D3D11_SUBRESOURCE_DATA data{texels, 8, 0};
    ASSERT_TRUE(SUCCEEDED(gpu.device->CreateTexture2D(&desc, &data, &texture)));
    ASSERT_TRUE(SUCCEEDED(gpu.device->CreateShaderResourceView(texture, nullptr, &view)));
    D3D11_SAMPLER_DESC sampler{};
    sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_POINT;
    sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_WRAP;
    sampler.MaxLOD = D3D11_FLOAT32_MAX;
    ASSERT_TRUE(SUCCEEDED(gpu.device->CreateSamplerState(&sampler, &samplerState)));
    D3D11_BLEND_DESC blend{};
    blend.RenderTarget[0] = {TRUE, D3D11_BLEND_ONE, D3D11_BLEND_ONE, D3D11_BLEND_OP_ADD, D3D11_BLEND_ONE,
                             D3D11_BLEND_ONE, D3D11_BLEND_OP_ADD, D3D11_COLOR_WRITE_ENABLE_ALL};
    ASSERT_TRUE(SUCCEEDED(gpu.device->CreateBlendState(&blend, &blendState)));
    const D3D11_RASTERIZER_DESC raster{D3D11_FILL_SOLID, D3D11_CULL_FRONT, FALSE, 0, 0.0f, 0.0f, TRUE, TRUE, FALSE, FALSE};
    ASSERT_TRUE(SUCCEEDED(gpu.device->CreateRasterizerState(&raster, &rasterState)));
    D3D11_DEPTH_STENCIL_DESC depth{};
    depth.DepthEnable = TRUE;
    depth.DepthWriteMask = D3D11_DEPTH_WRITE_MASK_ALL;
    depth.DepthFunc = D3D11_COMPARISON_LESS_EQUAL;
    depth.FrontFace = depth.BackFace = {D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP,
                                        D3D11_COMPARISON_ALWAYS};
    ASSERT_TRUE(SUCCEEDED(gpu.device->CreateDepthStencilState(&depth, &depthState)));
  }

  void BindScene() {
    program.Bind(gpu.context);
    const UINT stride = sizeof(SceneVertex), offset = 0;
    gpu.context->IASetVertexBuffers(0, 1, &vertices, &stride, &offset);
    gpu.context->VSSetConstantBuffers(0, 1, &tintBuffer);
    gpu.context->PSSetConstantBuffers(0, 1, &tintBuffer);
    gpu.context->PSSetShaderResources(0, 1, &view);
    gpu.context->PSSetSamplers(0, 1, &samplerState);
    gpu.context->RSSetState(rasterState);
    const D3D11_RECT scissor{20, 24, 90, 60};
    gpu.context->RSSetScissorRects(1, &scissor);
    const float factor[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    gpu.context->OMSetBlendState(blendState, factor, 0xFFFFFFFFu);
    gpu.context->OMSetDepthStencilState(depthState, 3);
  }

  // The quad, then optionally the text, then the quad again with whatever is bound.
  std::vector<uint8_t> DrawQuadTextQuad(bool withText, uint32_t flags) {
    gpu.BindBackBuffer();
    gpu.Clear(0, 0, 0, 1);
    BindScene();
    gpu.context->Draw(6, 0);
    if (withText) face->DrawString(gpu.context, L"Hi", 12.0f, 0.0f, 0.0f, 0xFFFF00FF, flags);
    gpu.context->Draw(6, 0);
    return gpu.ReadPixels();
  }

  void ReleaseScene() {
    ReleaseAndForget(depthState);
    ReleaseAndForget(rasterState);
    ReleaseAndForget(blendState);
    ReleaseAndForget(samplerState);
    ReleaseAndForget(view);
    ReleaseAndForget(texture);
    ReleaseAndForget(tintBuffer);
    ReleaseAndForget(vertices);
  }

  GpuTestDevice gpu;
  platform::FontLibrary* library = nullptr;
  platform::FontFace* face = nullptr;
  TestProgram program;
  ID3D11Buffer* vertices = nullptr;
  ID3D11Buffer* tintBuffer = nullptr;
  ID3D11Texture2D* texture = nullptr;
  ID3D11ShaderResourceView* view = nullptr;
  ID3D11SamplerState* samplerState = nullptr;
  ID3D11BlendState* blendState = nullptr;
  ID3D11RasterizerState* rasterState = nullptr;
  ID3D11DepthStencilState* depthState = nullptr;
};

TEST_F(TextDrawTest, GlyphsLandOnWholePixelsExactlyAsRasterised) {
  gpu.BindBackBuffer();
  gpu.Clear(0, 0, 0, 1);
  const float x = 5.0f, y = 3.0f;
  face->DrawString(gpu.context, L"Hg", 12.0f, x, y, 0xFFFF00FF, platform::FW1_RESTORESTATE);
  const std::vector<uint8_t> pixels = gpu.ReadPixels();
  const platform::GlyphAtlas* atlas = face->renderer->AtlasFor(face->face, 12.0f);
  ASSERT_NE(atlas, nullptr);

  // The expected picture: each glyph's coverage at pen + bearing, the pen on whole pixels.
  std::vector<int> expected(static_cast<size_t>(kWidth) * kHeight, 0);
  int penX = static_cast<int>(x);
  for (const wchar_t c : std::wstring(L"Hg")) {
    const platform::GlyphBox& box = atlas->Glyph(static_cast<uint32_t>(c));
    const int left = penX + box.left, top = static_cast<int>(y) + atlas->ascender - box.top;
    for (int row = 0; row < box.height; ++row)
      for (int column = 0; column < box.width; ++column)
        expected[static_cast<size_t>(top + row) * kWidth + left + column] =
            atlas->Coverage(box.x + column, box.y + row);
    penX += box.advance;
  }
  int fullyCovered = 0;
  for (int py = 0; py < kHeight; ++py)
    for (int px = 0; px < kWidth; ++px) {
      const uint8_t* p = &pixels[(static_cast<size_t>(py) * kWidth + px) * 4];
      const int want = expected[static_cast<size_t>(py) * kWidth + px];
      ASSERT_LE(std::abs(p[0] - want), 1) << "red at " << px << ", " << py;
      ASSERT_EQ(p[1], 0) << "green at " << px << ", " << py;
      ASSERT_LE(std::abs(p[2] - want), 1) << "blue at " << px << ", " << py;
      if (p[0] == 255 && p[2] == 255) ++fullyCovered;
    }
  // Solid magenta where a glyph covers a pixel wholly: not a half-transparent or filtered copy.
  EXPECT_GE(fullyCovered, 8);
}

TEST_F(TextDrawTest, TheColourWordIsAlphaBlueGreenRed) {
  gpu.BindBackBuffer();
  gpu.Clear(0, 0, 0.5f, 1);
  face->DrawString(gpu.context, L"M", 24.0f, 0.0f, 0.0f, 0xFF00FF00, 0);  // opaque green
  face->DrawString(gpu.context, L"M", 24.0f, 40.0f, 0.0f, 0x800000FF, 0);  // half-transparent red
  const std::vector<uint8_t> pixels = gpu.ReadPixels();
  int green = 0, blended = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    const uint8_t* p = &pixels[i];
    if (p[1] == 255 && p[0] == 0 && p[2] == 0) ++green;
    // Fully covered by the half-transparent red: half red over half the blue background.
    if (std::abs(p[0] - 128) <= 1 && std::abs(p[2] - 64) <= 1 && p[1] == 0) ++blended;
  }
  EXPECT_GT(green, 20);
  EXPECT_GT(blended, 20);
}

TEST_F(TextDrawTest, TheDrawAfterRestoredTextSeesThePipelineAsBefore) {
  CreateScene();
  const std::vector<uint8_t> reference = DrawQuadTextQuad(false, 0);
  const std::vector<uint8_t> restored = DrawQuadTextQuad(true, platform::FW1_RESTORESTATE);
  const std::vector<uint8_t> leftChanged = DrawQuadTextQuad(true, 0);

  // The quad twice, added: half of each texel's colour inside the scissor rectangle only.
  const size_t inside = (static_cast<size_t>(40) * kWidth + 60) * 4;
  EXPECT_GT(reference[inside] + reference[inside + 1] + reference[inside + 2], 100);
  int textPixels = 0, differences = 0, differencesLeftChanged = 0;
  for (int py = 0; py < kHeight; ++py)
    for (int px = 0; px < kWidth; ++px) {
      const size_t i = (static_cast<size_t>(py) * kWidth + px) * 4;
      if (px < kTextRight && py < kTextBottom) {
        if (restored[i] > 0) ++textPixels;
        continue;
      }
      for (int channel = 0; channel < 3; ++channel) {
        differences += restored[i + channel] != reference[i + channel];
        differencesLeftChanged += leftChanged[i + channel] != reference[i + channel];
      }
    }
  EXPECT_GT(textPixels, 10);
  EXPECT_EQ(differences, 0);
  // Without the flag the second quad is drawn with the text's pipeline: the comparison sees it.
  EXPECT_GT(differencesLeftChanged, 100);
}

TEST_F(TextDrawTest, EveryBindingTheTextTouchesIsTheSameObjectAfterwards) {
  CreateScene();
  gpu.BindBackBuffer();
  BindScene();
  ID3D11Buffer* indexBuffer = CreateTestBuffer(gpu.device, D3D11_BIND_INDEX_BUFFER, 24);
  gpu.context->IASetIndexBuffer(indexBuffer, DXGI_FORMAT_R32_UINT, 4);
  face->DrawString(gpu.context, L"state", 12.0f, 0.0f, 0.0f, 0xFFFF00FF, platform::FW1_RESTORESTATE);

  ID3D11InputLayout* layout = nullptr;
  gpu.context->IAGetInputLayout(&layout);
  EXPECT_EQ(layout, program.inputLayout);
  ID3D11Buffer* buffer = nullptr;
  UINT stride = 0, offset = 1;
  gpu.context->IAGetVertexBuffers(0, 1, &buffer, &stride, &offset);
  EXPECT_EQ(buffer, vertices);
  EXPECT_EQ(stride, sizeof(SceneVertex));
  EXPECT_EQ(offset, 0u);
  ID3D11Buffer* index = nullptr;
  DXGI_FORMAT indexFormat = DXGI_FORMAT_UNKNOWN;
  UINT indexOffset = 0;
  gpu.context->IAGetIndexBuffer(&index, &indexFormat, &indexOffset);
  EXPECT_EQ(index, indexBuffer);
  EXPECT_EQ(indexOffset, 4u);
  D3D11_PRIMITIVE_TOPOLOGY topology = D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED;
  gpu.context->IAGetPrimitiveTopology(&topology);
  EXPECT_EQ(topology, D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
  ID3D11VertexShader* vs = nullptr;
  ID3D11GeometryShader* gs = nullptr;
  ID3D11PixelShader* ps = nullptr;
  gpu.context->VSGetShader(&vs, nullptr, nullptr);
  gpu.context->GSGetShader(&gs, nullptr, nullptr);
  gpu.context->PSGetShader(&ps, nullptr, nullptr);
  EXPECT_EQ(vs, program.vertexShader);
  EXPECT_EQ(gs, nullptr);
  EXPECT_EQ(ps, program.pixelShader);
  ID3D11Buffer* vsConstants = nullptr;
  ID3D11Buffer* psConstants = nullptr;
  gpu.context->VSGetConstantBuffers(0, 1, &vsConstants);
  gpu.context->PSGetConstantBuffers(0, 1, &psConstants);
  EXPECT_EQ(vsConstants, tintBuffer);
  EXPECT_EQ(psConstants, tintBuffer);
  ID3D11ShaderResourceView* resource = nullptr;
  ID3D11SamplerState* sampler = nullptr;
  gpu.context->PSGetShaderResources(0, 1, &resource);
  gpu.context->PSGetSamplers(0, 1, &sampler);
  EXPECT_EQ(resource, view);
  EXPECT_EQ(sampler, samplerState);
  ID3D11RasterizerState* raster = nullptr;
  gpu.context->RSGetState(&raster);
  EXPECT_EQ(raster, rasterState);
  ID3D11BlendState* blend = nullptr;
  float factor[4] = {};
  UINT mask = 0;
  gpu.context->OMGetBlendState(&blend, factor, &mask);
  EXPECT_EQ(blend, blendState);
  EXPECT_FLOAT_EQ(factor[3], 0.4f);
  EXPECT_EQ(mask, 0xFFFFFFFFu);
  ID3D11DepthStencilState* depth = nullptr;
  UINT stencilRef = 0;
  gpu.context->OMGetDepthStencilState(&depth, &stencilRef);
  EXPECT_EQ(depth, depthState);
  EXPECT_EQ(stencilRef, 3u);

  for (IUnknown* object : std::initializer_list<IUnknown*>{layout, buffer, index, vs, gs, ps, vsConstants, psConstants,
                                                           resource, sampler, raster, blend, depth, indexBuffer})
    if (object != nullptr) object->Release();
}

TEST_F(TextDrawTest, NothingIsDrawnForImpossibleInput) {
  gpu.BindBackBuffer();
  gpu.Clear(0, 0, 0, 1);
  face->DrawString(gpu.context, L"Hi", 0.0f, 0.0f, 0.0f, 0xFFFF00FF, 0);
  face->DrawString(gpu.context, L"Hi", -12.0f, 0.0f, 0.0f, 0xFFFF00FF, 0);
  face->DrawString(gpu.context, nullptr, 12.0f, 0.0f, 0.0f, 0xFFFF00FF, 0);
  face->DrawString(gpu.context, L"", 12.0f, 0.0f, 0.0f, 0xFFFF00FF, 0);
  face->DrawString(nullptr, L"Hi", 12.0f, 0.0f, 0.0f, 0xFFFF00FF, 0);
  for (const uint8_t value : gpu.ReadPixels()) ASSERT_TRUE(value == 0 || value == 255);
  const std::vector<uint8_t> pixels = gpu.ReadPixels();
  for (size_t i = 0; i < pixels.size(); i += 4) ASSERT_EQ(pixels[i], 0);
}

TEST_F(TextDrawTest, ALineLongerThanTheFirstBufferIsDrawnWhole) {
  gpu.BindBackBuffer();
  gpu.Clear(0, 0, 0, 1);
  // 600 glyphs, more than the first vertex buffer holds; the last ones land in view.
  std::wstring text(600, L'.');
  text += L"\nW";
  face->DrawString(gpu.context, text.c_str(), 12.0f, 0.0f, 20.0f, 0xFFFF00FF, 0);
  const std::vector<uint8_t> pixels = gpu.ReadPixels();
  int secondLine = 0;
  for (int py = 33; py < kHeight; ++py)
    for (int px = 0; px < 16; ++px) secondLine += pixels[(static_cast<size_t>(py) * kWidth + px) * 4] > 0;
  EXPECT_GT(secondLine, 5);
}

}  // namespace
