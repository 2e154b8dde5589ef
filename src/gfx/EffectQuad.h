#pragma once
// The quad geometry of a preset drawn through one of the full-screen programs (blur, SSAO,
// texture mix) instead of the post-processing program; always opaque, no texture lookup.
#include <cstdint>
#include <cstring>
#include <new>

#include "gfx/QuadGeometry.h"
#include "gfx/QuadPreset.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/RenderContext.h"
#include "gfx/RenderStateManager.h"
#include "platform/d3d11/d3d11.h"

// Program is BlurShader, SSAOShader or TexMixShader: each sets its parameters from the
// matrices and the screen size and draws a given index count.
template <typename Program>
class EffectQuad : public ContextHolder {
 public:
  explicit EffectQuad(const RenderContext& renderContext) : ContextHolder(renderContext) {}
  ~EffectQuad() { Shutdown(); }
  EffectQuad(const EffectQuad&) = delete;
  EffectQuad& operator=(const EffectQuad&) = delete;

  bool Create(int32_t number, Program* program, int32_t sizeClassOfTarget);
  void Render();
  void Shutdown();

  ID3D11Buffer* vertexBuffer = nullptr;
  ID3D11Buffer* indexBuffer = nullptr;
  QuadVertex* vertices = nullptr;
  int32_t sizeClass = 3;
  int32_t presetNumber = kQuadPresetCount;
  QuadPreset preset;
  D3DXMATRIX world;
  D3DXMATRIX view;
  Program* shader = nullptr;
};

template <typename Program>
bool EffectQuad<Program>::Create(int32_t number, Program* program, int32_t sizeClassOfTarget) {
  const RenderContext& rc = m_renderContext;
  presetNumber = number;
  sizeClass = sizeClassOfTarget;
  shader = program;
  FillQuadPreset(presetNumber, preset);
  vertices = new (std::nothrow) QuadVertex[kQuadVertexCount];
  if (!vertices || !rc.device) return false;
  BuildQuadVertices(preset.corners, preset.texCoords, preset.colour, sizeClass, rc.width, rc.height, vertices);

  D3D11_BUFFER_DESC vertexDesc = {};
  vertexDesc.ByteWidth = sizeof(QuadVertex) * kQuadVertexCount;
  vertexDesc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
  vertexDesc.Usage = preset.dynamic != 0 ? D3D11_USAGE_DYNAMIC : D3D11_USAGE_DEFAULT;
  vertexDesc.CPUAccessFlags = preset.dynamic != 0 ? static_cast<UINT>(D3D11_CPU_ACCESS_WRITE) : 0u;
  D3D11_SUBRESOURCE_DATA vertexData = {vertices, 0, 0};
  if (FAILED(rc.device->CreateBuffer(&vertexDesc, &vertexData, &vertexBuffer))) return false;

  static const uint32_t kIndices[kQuadVertexCount] = {0, 1, 2, 3, 4, 5};
  D3D11_BUFFER_DESC indexDesc = {};
  indexDesc.ByteWidth = sizeof(kIndices);
  indexDesc.Usage = D3D11_USAGE_DEFAULT;
  indexDesc.BindFlags = D3D11_BIND_INDEX_BUFFER;
  D3D11_SUBRESOURCE_DATA indexData = {kIndices, 0, 0};
  return SUCCEEDED(rc.device->CreateBuffer(&indexDesc, &indexData, &indexBuffer));
}

template <typename Program>
void EffectQuad<Program>::Render() {
  const RenderContext& rc = m_renderContext;
  if (!vertexBuffer || !indexBuffer || !shader || !rc.renderStates) return;
  ID3D11DeviceContext* context = rc.context;
  const UINT stride = sizeof(QuadVertex), offset = 0;
  context->IASetVertexBuffers(0, 1, &vertexBuffer, &stride, &offset);
  context->IASetIndexBuffer(indexBuffer, DXGI_FORMAT_R32_UINT, 0);
  context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
  static const FLOAT kBlendFactor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  context->RSSetState(rc.renderStates->rasterCullNone);
  context->OMSetDepthStencilState(rc.renderStates->depthOff, 1);
  context->OMSetBlendState(rc.renderStates->blendOpaque, kBlendFactor, 0xFFFFFFFFu);

  D3DXMatrixIdentity(&world);
  D3DXMatrixIdentity(&view);
  const D3DXVECTOR2 screenSize(static_cast<float>(rc.width), static_cast<float>(rc.height));
  if (shader->SetShaderParameters(world, view, OrthoForSizeClass(rc, sizeClass), &screenSize))
    shader->Render(kQuadVertexCount);
}

template <typename Program>
void EffectQuad<Program>::Shutdown() {
  delete[] vertices;
  vertices = nullptr;
  ReleaseAndForget(indexBuffer);
  ReleaseAndForget(vertexBuffer);
}
