#pragma once
// The quad geometry of a preset drawn through one of the full-screen programs (blur, SSAO,
// texture mix) instead of the post-processing program; always opaque, no texture lookup.
#include <cstdint>
#include <new>

#include "gfx/QuadBuffers.h"
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

  return CreateQuadBuffers(rc.device, vertices, preset.dynamic != 0, &vertexBuffer, &indexBuffer);
}

template <typename Program>
void EffectQuad<Program>::Render() {
  const RenderContext& rc = m_renderContext;
  if (!vertexBuffer || !indexBuffer || !shader || !rc.renderStates) return;
  BindQuadForDrawing(rc.context, vertexBuffer, indexBuffer, *rc.renderStates, false);

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
