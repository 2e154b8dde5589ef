#include "fx/Slide.h"

#include <cmath>
#include <new>

#include "app/Timer.h"
#include "gfx/QuadBuffers.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"

void SlideRectangles(int32_t mode, bool squeeze, float r, SlideRect* a, SlideRect* b) {
  switch (mode) {
    case 0:  // up: A leaves (or shrinks) towards the top, B comes from the bottom
      *a = squeeze ? SlideRect{0.0f, 0.0f, 100.0f, 100.0f - r} : SlideRect{0.0f, -r, 100.0f, 100.0f - r};
      *b = squeeze ? SlideRect{0.0f, 100.0f - r, 100.0f, 100.0f} : SlideRect{0.0f, 100.0f - r, 100.0f, 200.0f - r};
      return;
    case 1:  // down
      *a = squeeze ? SlideRect{0.0f, r, 100.0f, 100.0f} : SlideRect{0.0f, r, 100.0f, r + 100.0f};
      *b = squeeze ? SlideRect{0.0f, 0.0f, 100.0f, r} : SlideRect{0.0f, r - 100.0f, 100.0f, r};
      return;
    case 2:  // left
      *a = squeeze ? SlideRect{0.0f, 0.0f, 100.0f - r, 100.0f} : SlideRect{-r, 0.0f, 100.0f - r, 100.0f};
      *b = squeeze ? SlideRect{100.0f - r, 0.0f, 100.0f, 100.0f} : SlideRect{100.0f - r, 0.0f, 200.0f - r, 100.0f};
      return;
    case 3:  // right
      *a = squeeze ? SlideRect{r, 0.0f, 100.0f, 100.0f} : SlideRect{r, 0.0f, r + 100.0f, 100.0f};
      *b = squeeze ? SlideRect{0.0f, 0.0f, r, 100.0f} : SlideRect{r - 100.0f, 0.0f, r, 100.0f};
      return;
    default:
      *a = SlideRect{0.0f, 0.0f, 0.0f, 0.0f};
      *b = SlideRect{0.0f, 0.0f, 0.0f, 0.0f};
      return;
  }
}

bool Slide::Create() {
  const RenderContext& rc = m_renderContext;
  sizeClass = 0;
  vertexCount = kVertexCount;
  indexCount = kVertexCount;
  shader = rc.shaders ? rc.shaders->postProcessShader : nullptr;
  vertices = new (std::nothrow) QuadVertex[kVertexCount]();
  if (!vertices || !rc.device) return false;
  return CreateScreenBuffers(rc.device, vertices, kVertexCount, true, &vertexBuffer, &indexBuffer);
}

void Slide::AddKey(const SlideKey& key) { keys.push_back(key); }

bool Slide::FindActiveKey() {
  const int64_t now = m_renderContext.timer ? m_renderContext.timer->elapsed : 0;
  for (size_t i = 0; i < keys.size(); ++i) {
    const SlideKey& key = keys[i];
    if (key.start > now || now > key.end) continue;
    const float span = static_cast<float>(key.end) - static_cast<float>(key.start);
    const float p = span > 0.0f ? (static_cast<float>(now) - static_cast<float>(key.start)) / span : 1.0f;
    progress = key.interpolation == 1 ? 100.0f * (1.0f - std::cos(3.1415927f * p)) * 0.5f : 100.0f * p;
    activeKey = static_cast<int32_t>(i);
    textureA = key.textureA;
    textureB = key.textureB;
    return true;
  }
  return false;
}

void Slide::BuildVertices() {
  if (!vertices || activeKey < 0 || activeKey >= static_cast<int32_t>(keys.size())) return;
  const SlideKey& key = keys[static_cast<size_t>(activeKey)];
  SlideRect rects[2];
  SlideRectangles(key.mode, key.squeeze, progress, &rects[0], &rects[1]);
  static const D3DXVECTOR2 kWholeTexture[4] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}};
  const D3DXCOLOR white(1.0f, 1.0f, 1.0f, 0.0f);
  for (int i = 0; i < 2; ++i) {
    const SlideRect& r = rects[i];
    const D3DXVECTOR2 corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.left, r.bottom}, {r.right, r.bottom}};
    BuildQuadVertices(corners, kWholeTexture, white, sizeClass, m_renderContext.width, m_renderContext.height,
                      vertices + i * kQuadVertexCount);
  }
}

void Slide::Render() {
  const RenderContext& rc = m_renderContext;
  if (!vertexBuffer || !indexBuffer || !shader || !rc.renderStates || !FindActiveKey()) return;
  BuildVertices();
  UploadScreenVertices(rc.context, vertexBuffer, vertices, vertexCount);
  BindScreenGeometry(rc.context, vertexBuffer, indexBuffer, *rc.renderStates, rc.renderStates->blendOpaque);

  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  const D3DXMATRIX& projection = OrthoForSizeClass(rc, sizeClass);
  const SlideKey& key = keys[static_cast<size_t>(activeKey)];
  PostProcessParameters parameters = EffectParameters(key.effectA, true, false, 1.0f, false, 0, rc.width, rc.width);
  if (shader->SetShaderParameters(identity, identity, projection, textureA, &parameters))
    shader->Render(kQuadVertexCount);
  // Rectangle B is the second six indices.
  rc.context->IASetIndexBuffer(indexBuffer, DXGI_FORMAT_R32_UINT, kQuadVertexCount * sizeof(uint32_t));
  parameters.effect = key.effectB;
  if (shader->SetShaderParameters(identity, identity, projection, textureB, &parameters))
    shader->Render(kQuadVertexCount);
}

void Slide::Shutdown() {
  keys.clear();
  delete[] vertices;
  vertices = nullptr;
  ReleaseAndForget(indexBuffer);
  ReleaseAndForget(vertexBuffer);
}
