#include "platform/font_draw.h"

#include <cmath>
#include <cstring>
#include <iostream>

#include "platform/d3dx/d3dcompiler.h"
#include "platform/font_state.h"

namespace platform {
namespace {

// Pixels to clip space over the current viewport; the coverage of the atlas becomes the alpha
// of the colour.
const char kTextShader[] = R"(
cbuffer TextBuffer : register(b0) {
  float4 colour;
  float4 target;  // viewport width and height in pixels
};
Texture2D atlas : register(t0);
SamplerState atlasSampler : register(s0);
struct VSIn { float2 position : POSITION; float2 uv : TEXCOORD0; };
struct PSIn { float4 position : SV_POSITION; float2 uv : TEXCOORD0; };
PSIn Text_VS(VSIn input) {
  PSIn output;
  output.position = float4(input.position.x / target.x * 2.0f - 1.0f, 1.0f - input.position.y / target.y * 2.0f,
                           0.0f, 1.0f);
  output.uv = input.uv;
  return output;
}
float4 Text_PS(PSIn input) : SV_TARGET {
  return float4(colour.rgb, colour.a * atlas.Sample(atlasSampler, input.uv).r);
}
)";

struct TextConstants {
  float colour[4];
  float target[4];
};

ID3DBlob* CompileStage(const char* entry, const char* profile) {
  ID3DBlob* code = nullptr;
  ID3DBlob* errors = nullptr;
  if (FAILED(D3DCompile(kTextShader, sizeof kTextShader - 1, "text shader", nullptr, nullptr, entry, profile, 0, 0,
                        &code, &errors))) {
    if (errors != nullptr) std::cerr << static_cast<const char*>(errors->GetBufferPointer());
  }
  if (errors != nullptr) errors->Release();
  return code;
}

}  // namespace

FontRenderer::~FontRenderer() {
  for (auto& sized : m_atlases) {
    ReleaseAndClear(sized->view);
    ReleaseAndClear(sized->texture);
  }
  ReleaseAndClear(m_vertexBuffer);
  ReleaseAndClear(m_depthStencilState);
  ReleaseAndClear(m_rasterizerState);
  ReleaseAndClear(m_blendState);
  ReleaseAndClear(m_sampler);
  ReleaseAndClear(m_constants);
  ReleaseAndClear(m_inputLayout);
  ReleaseAndClear(m_pixelShader);
  ReleaseAndClear(m_vertexShader);
}

bool FontRenderer::CreatePipeline() {
  if (m_pipelineTried) return m_pipelineReady;
  m_pipelineTried = true;
  ID3DBlob* vertexCode = CompileStage("Text_VS", "vs_5_0");
  ID3DBlob* pixelCode = CompileStage("Text_PS", "ps_5_0");
  bool ready = vertexCode != nullptr && pixelCode != nullptr;
  if (ready) {
    const D3D11_INPUT_ELEMENT_DESC layout[] = {
        {"POSITION", 0, DXGI_FORMAT_R32G32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, 8, D3D11_INPUT_PER_VERTEX_DATA, 0},
    };
    ready = SUCCEEDED(m_device->CreateVertexShader(vertexCode->GetBufferPointer(), vertexCode->GetBufferSize(),
                                                   nullptr, &m_vertexShader)) &&
            SUCCEEDED(m_device->CreatePixelShader(pixelCode->GetBufferPointer(), pixelCode->GetBufferSize(), nullptr,
                                                  &m_pixelShader)) &&
            SUCCEEDED(m_device->CreateInputLayout(layout, 2, vertexCode->GetBufferPointer(),
                                                  vertexCode->GetBufferSize(), &m_inputLayout));
  }
  ReleaseAndClear(vertexCode);
  ReleaseAndClear(pixelCode);
  if (!ready) return false;

  const D3D11_BUFFER_DESC constants{sizeof(TextConstants), D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER,
                                    D3D11_CPU_ACCESS_WRITE, 0, 0};
  // Point sampling of an atlas whose texels meet the screen's pixels one to one keeps the
  // rasterised glyphs exactly as FreeType drew them.
  D3D11_SAMPLER_DESC sampler{};
  sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_POINT;
  sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
  sampler.ComparisonFunc = D3D11_COMPARISON_NEVER;
  sampler.MaxLOD = D3D11_FLOAT32_MAX;
  D3D11_BLEND_DESC blend{};
  blend.RenderTarget[0] = {TRUE, D3D11_BLEND_SRC_ALPHA, D3D11_BLEND_INV_SRC_ALPHA, D3D11_BLEND_OP_ADD,
                           D3D11_BLEND_ONE, D3D11_BLEND_INV_SRC_ALPHA, D3D11_BLEND_OP_ADD,
                           D3D11_COLOR_WRITE_ENABLE_ALL};
  const D3D11_RASTERIZER_DESC raster{D3D11_FILL_SOLID, D3D11_CULL_NONE, FALSE, 0, 0.0f, 0.0f, TRUE, FALSE, FALSE, FALSE};
  D3D11_DEPTH_STENCIL_DESC depth{};
  depth.DepthEnable = FALSE;
  depth.DepthWriteMask = D3D11_DEPTH_WRITE_MASK_ZERO;
  depth.DepthFunc = D3D11_COMPARISON_ALWAYS;
  depth.FrontFace = depth.BackFace = {D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP,
                                      D3D11_COMPARISON_ALWAYS};
  m_pipelineReady = SUCCEEDED(m_device->CreateBuffer(&constants, nullptr, &m_constants)) &&
                    SUCCEEDED(m_device->CreateSamplerState(&sampler, &m_sampler)) &&
                    SUCCEEDED(m_device->CreateBlendState(&blend, &m_blendState)) &&
                    SUCCEEDED(m_device->CreateRasterizerState(&raster, &m_rasterizerState)) &&
                    SUCCEEDED(m_device->CreateDepthStencilState(&depth, &m_depthStencilState));
  return m_pipelineReady;
}

FontRenderer::SizedAtlas* FontRenderer::SizedAtlasFor(FT_FaceRec_* face, float size) {
  if (!(size >= 1.0f && size <= 512.0f)) return nullptr;
  const auto pixelSize = static_cast<uint32_t>(std::lround(size));
  for (auto& sized : m_atlases)
    if (sized->atlas.pixelSize == pixelSize) return sized->usable ? sized.get() : nullptr;

  auto sized = std::make_unique<SizedAtlas>();
  SizedAtlas& result = *sized;
  m_atlases.push_back(std::move(sized));
  if (!result.atlas.Rasterise(face, pixelSize)) {
    result.atlas.pixelSize = pixelSize;
    return nullptr;
  }
  D3D11_TEXTURE2D_DESC desc{};
  desc.Width = GlyphAtlas::kWidth;
  desc.Height = static_cast<UINT>(result.atlas.height);
  desc.MipLevels = 1;
  desc.ArraySize = 1;
  desc.Format = DXGI_FORMAT_R8_UNORM;
  desc.SampleDesc = {1, 0};
  desc.Usage = D3D11_USAGE_IMMUTABLE;
  desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
  const D3D11_SUBRESOURCE_DATA data{result.atlas.pixels.data(), GlyphAtlas::kWidth, 0};
  result.usable = SUCCEEDED(m_device->CreateTexture2D(&desc, &data, &result.texture)) &&
                  SUCCEEDED(m_device->CreateShaderResourceView(result.texture, nullptr, &result.view));
  return result.usable ? &result : nullptr;
}

const GlyphAtlas* FontRenderer::AtlasFor(FT_FaceRec_* face, float size) {
  const SizedAtlas* sized = SizedAtlasFor(face, size);
  return sized != nullptr ? &sized->atlas : nullptr;
}

bool FontRenderer::ReserveVertices(size_t count) {
  if (count <= m_vertexCapacity && m_vertexBuffer != nullptr) return true;
  size_t capacity = 1536;  // 256 glyphs
  while (capacity < count) capacity *= 2;
  ReleaseAndClear(m_vertexBuffer);
  m_vertexCapacity = 0;
  const D3D11_BUFFER_DESC desc{static_cast<UINT>(capacity * sizeof(Vertex)), D3D11_USAGE_DYNAMIC,
                               D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0};
  if (FAILED(m_device->CreateBuffer(&desc, nullptr, &m_vertexBuffer))) return false;
  m_vertexCapacity = capacity;
  return true;
}

void FontRenderer::Layout(const GlyphAtlas& atlas, const WCHAR* text, float x, float y) {
  m_vertices.clear();
  // Whole pixels for the pen, so every glyph texel lands on one screen pixel.
  const float startX = std::round(x);
  float penX = startX;
  float baseline = std::round(y) + static_cast<float>(atlas.ascender);
  const float inverseWidth = 1.0f / static_cast<float>(GlyphAtlas::kWidth);
  const float inverseHeight = 1.0f / static_cast<float>(atlas.height);
  for (const WCHAR* c = text; *c != L'\0'; ++c) {
    if (*c == L'\n') {
      penX = startX;
      baseline += static_cast<float>(atlas.lineHeight);
      continue;
    }
    const GlyphBox& box = atlas.Glyph(static_cast<uint32_t>(*c));
    if (box.width > 0 && box.height > 0) {
      const float left = penX + static_cast<float>(box.left), top = baseline - static_cast<float>(box.top);
      const float right = left + static_cast<float>(box.width), bottom = top + static_cast<float>(box.height);
      const float u0 = static_cast<float>(box.x) * inverseWidth, v0 = static_cast<float>(box.y) * inverseHeight;
      const float u1 = static_cast<float>(box.x + box.width) * inverseWidth;
      const float v1 = static_cast<float>(box.y + box.height) * inverseHeight;
      AddQuad(left, top, right, bottom, u0, v0, u1, v1);
    }
    penX += static_cast<float>(box.advance);
  }
}

void FontRenderer::AddQuad(float left, float top, float right, float bottom, float u0, float v0, float u1, float v1) {
  m_vertices.insert(m_vertices.end(), {{left, top, u0, v0},
                                       {right, top, u1, v0},
                                       {left, bottom, u0, v1},
                                       {left, bottom, u0, v1},
                                       {right, top, u1, v0},
                                       {right, bottom, u1, v1}});
}

void FontRenderer::DrawString(ID3D11DeviceContext* context, FT_FaceRec_* face, const WCHAR* text, float size, float x,
                              float y, uint32_t colour, uint32_t flags) {
  if (context == nullptr || face == nullptr || text == nullptr || m_device == nullptr) return;
  if (!CreatePipeline()) return;
  SizedAtlas* sized = SizedAtlasFor(face, size);
  if (sized == nullptr) return;
  Layout(sized->atlas, text, x, y);
  Submit(context, *sized, colour, flags);
}

void FontRenderer::FillRectangle(ID3D11DeviceContext* context, FT_FaceRec_* face, float size, float x, float y,
                                 float width, float height, uint32_t colour, uint32_t flags) {
  if (context == nullptr || face == nullptr || m_device == nullptr || !(width > 0.0f && height > 0.0f)) return;
  if (!CreatePipeline()) return;
  SizedAtlas* sized = SizedAtlasFor(face, size);
  if (sized == nullptr) return;
  // Every corner samples the middle of the solid block, so every pixel is fully covered.
  const float u = (static_cast<float>(sized->atlas.solidX) + 0.5f) / static_cast<float>(GlyphAtlas::kWidth);
  const float v = (static_cast<float>(sized->atlas.solidY) + 0.5f) / static_cast<float>(sized->atlas.height);
  m_vertices.clear();
  AddQuad(std::round(x), std::round(y), std::round(x + width), std::round(y + height), u, v, u, v);
  Submit(context, *sized, colour, flags);
}

void FontRenderer::Submit(ID3D11DeviceContext* context, SizedAtlas& sized, uint32_t colour, uint32_t flags) {
  if (m_vertices.empty() || !ReserveVertices(m_vertices.size())) return;

  UINT viewportCount = 1;
  D3D11_VIEWPORT viewport{};
  context->RSGetViewports(&viewportCount, &viewport);
  if (viewportCount == 0 || viewport.Width <= 0.0f || viewport.Height <= 0.0f) return;

  D3D11_MAPPED_SUBRESOURCE mapped{};
  if (FAILED(context->Map(m_constants, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return;
  TextConstants constants{{static_cast<float>(colour & 0xFF) / 255.0f, static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
                           static_cast<float>((colour >> 16) & 0xFF) / 255.0f, static_cast<float>(colour >> 24) / 255.0f},
                          {viewport.Width, viewport.Height, 0.0f, 0.0f}};
  std::memcpy(mapped.pData, &constants, sizeof constants);
  context->Unmap(m_constants, 0);
  if (FAILED(context->Map(m_vertexBuffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return;
  std::memcpy(mapped.pData, m_vertices.data(), m_vertices.size() * sizeof(Vertex));
  context->Unmap(m_vertexBuffer, 0);

  TextPipelineState saved;
  const bool restore = (flags & FW1_RESTORESTATE) != 0;
  if (restore) saved.Save(context);
  const UINT stride = sizeof(Vertex), offset = 0;
  context->IASetInputLayout(m_inputLayout);
  context->IASetVertexBuffers(0, 1, &m_vertexBuffer, &stride, &offset);
  context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
  context->VSSetShader(m_vertexShader, nullptr, 0);
  context->GSSetShader(nullptr, nullptr, 0);
  context->PSSetShader(m_pixelShader, nullptr, 0);
  context->VSSetConstantBuffers(0, 1, &m_constants);
  context->PSSetConstantBuffers(0, 1, &m_constants);
  context->PSSetShaderResources(0, 1, &sized.view);
  context->PSSetSamplers(0, 1, &m_sampler);
  context->RSSetState(m_rasterizerState);
  const FLOAT factor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  context->OMSetBlendState(m_blendState, factor, 0xFFFFFFFFu);
  context->OMSetDepthStencilState(m_depthStencilState, 0);
  context->Draw(static_cast<UINT>(m_vertices.size()), 0);
  if (restore) saved.Restore(context);
}

}  // namespace platform
