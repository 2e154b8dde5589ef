#include "fx/RadialBlur.h"

#include <memory>
#include <new>

#include "gfx/QuadBuffers.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"

void BuildRadialBlurLayers(int32_t width, int32_t height, float step, float maxAlpha,
                           QuadVertex out[RadialBlur::kVertexCount]) {
  static const D3DXVECTOR2 kScreen[4] = {{0.0f, 0.0f}, {100.0f, 0.0f}, {0.0f, 100.0f}, {100.0f, 100.0f}};
  const float alphaStep = maxAlpha / static_cast<float>(RadialBlur::kLayerCount);
  for (int32_t i = 0; i < RadialBlur::kLayerCount; ++i) {
    const float c = static_cast<float>(i) * step;
    const D3DXVECTOR2 texCoords[4] = {{c, c}, {1.0f - c, c}, {c, 1.0f - c}, {1.0f - c, 1.0f - c}};
    const D3DXCOLOR colour(0.0f, 0.0f, 0.0f, alphaStep * static_cast<float>(RadialBlur::kLayerCount - i));
    BuildQuadVertices(kScreen, texCoords, colour, 0, width, height, out + i * kQuadVertexCount);
  }
}

bool RadialBlur::Create() {
  const RenderContext& rc = m_renderContext;
  vertexCount = indexCount = kVertexCount;
  layerCount = kLayerCount;
  step = 0.005f;
  maxAlpha = 0.06f;
  shader = rc.shaders ? rc.shaders->postProcessShader : nullptr;
  std::unique_ptr<QuadVertex[]> vertices(new (std::nothrow) QuadVertex[kVertexCount]());
  if (!vertices || !rc.device) return false;
  BuildRadialBlurLayers(rc.width, rc.height, step, maxAlpha, vertices.get());
  return CreateScreenBuffers(rc.device, vertices.get(), kVertexCount, false, &vertexBuffer, &indexBuffer);
}

void RadialBlur::Render() {
  const RenderContext& rc = m_renderContext;
  if (!vertexBuffer || !indexBuffer || !shader || !rc.renderStates) return;
  BindScreenGeometry(rc.context, vertexBuffer, indexBuffer, *rc.renderStates, rc.renderStates->blendAdditive);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  // The sixth value asks the program to weight the colour by the vertex alpha, which additive
  // blending would otherwise ignore.
  const PostProcessParameters parameters = EffectParameters(0, true, true, 0.0f, true, 1, rc.width, rc.height);
  if (shader->SetShaderParameters(identity, identity, rc.orthoFull, sourceTexture, &parameters))
    shader->Render(indexCount);
}

void RadialBlur::Shutdown() {
  ReleaseAndForget(indexBuffer);
  ReleaseAndForget(vertexBuffer);
}
