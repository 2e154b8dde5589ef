#include "gfx/Quad.h"

#include <algorithm>
#include <new>

#include "app/Timer.h"
#include "gfx/QuadBuffers.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "gfx/TextureCache.h"

Quad::Quad(const RenderContext& renderContext) : ContextHolder(renderContext) {}

bool Quad::Create(int32_t number, int32_t sizeClassOfTarget) {
  const RenderContext& rc = m_renderContext;
  presetNumber = number;
  sizeClass = sizeClassOfTarget;
  FillQuadPreset(presetNumber, preset);

  const int32_t index = rc.textures ? rc.textures->GetTexture(preset.fileName) : -1;
  texture = index == -1 ? nullptr : rc.textures->TextureAt(index);

  alpha = preset.alpha;
  blend = preset.blend != 0;
  overlay = preset.overlay != 0;
  vertexCount = kQuadVertexCount;
  indexCount = kQuadVertexCount;
  // Also without a texture: the shader then samples nothing bound, as the show expects.
  hasTexture = true;
  shader = rc.shaders ? rc.shaders->postProcessShader : nullptr;

  vertices = new (std::nothrow) QuadVertex[kQuadVertexCount];
  if (!vertices || !rc.device) return false;
  BuildQuadVertices(preset.corners, preset.texCoords, preset.colour, sizeClass, rc.width, rc.height, vertices);

  return CreateQuadBuffers(rc.device, vertices, preset.dynamic != 0, &vertexBuffer, &indexBuffer);
}

void Quad::AddKeyframe(const QuadKeyframe& keyframe) { keyframes.push_back(keyframe); }

bool Quad::Animate() {
  const int64_t now = m_renderContext.timer ? m_renderContext.timer->elapsed : 0;
  QuadAnimatedValues values;
  values.alpha = alpha;
  for (int i = 0; i < 4; ++i) {
    values.corners[i] = currentCorners[i];
    values.texCoords[i] = currentTexCoords[i];
  }
  if (!ApplyQuadKeyframes(keyframes, now, preset.dynamic != 0, values)) return false;
  alpha = values.alpha;
  for (int i = 0; i < 4; ++i) {
    currentCorners[i] = values.corners[i];
    currentTexCoords[i] = values.texCoords[i];
  }
  return true;
}

bool Quad::KeyedAt(int64_t now) const {
  return std::any_of(keyframes.begin(), keyframes.end(), [now](const QuadKeyframe& key) { return key.Covers(now); });
}

float Quad::KeyedAlphaAt(int64_t now) const {
  QuadAnimatedValues values;
  values.alpha = alpha;
  return ApplyQuadKeyframes(keyframes, now, false, values) ? values.alpha : 0.0f;
}

void Quad::RebuildVertices() {
  if (!vertices) return;
  BuildQuadVertices(currentCorners, currentTexCoords, preset.colour, sizeClass, m_renderContext.width,
                    m_renderContext.height, vertices);
}

void Quad::UploadVertices() {
  UploadScreenVertices(m_renderContext.context, vertexBuffer, vertices, kQuadVertexCount);
}

PostProcessParameters BuildEffectParameters(const Quad& quad, int32_t effect) {
  const int32_t width = quad.m_renderContext.width;
  return EffectParameters(effect, quad.hasTexture, quad.blend, quad.alpha, quad.overlay, 0, width, width);
}

void Quad::Render(int32_t effect) {
  const RenderContext& rc = m_renderContext;
  if (!vertexBuffer || !indexBuffer || !shader || !rc.renderStates) return;
  BindQuadForDrawing(rc.context, vertexBuffer, indexBuffer, *rc.renderStates, blend);

  const PostProcessParameters parameters = BuildEffectParameters(*this, effect);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  if (shader->SetShaderParameters(identity, identity, OrthoForSizeClass(rc, sizeClass), texture, &parameters))
    shader->Render(indexCount);
}

void Quad::Shutdown() {
  keyframes.clear();
  delete[] vertices;
  vertices = nullptr;
  ReleaseAndForget(indexBuffer);
  ReleaseAndForget(vertexBuffer);
}
