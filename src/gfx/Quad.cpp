#include "gfx/Quad.h"

#include <cstring>
#include <new>

#include "app/Timer.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "gfx/TextureCache.h"

namespace {

constexpr UINT kQuadVertexStride = sizeof(QuadVertex);

}  // namespace

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

  D3D11_BUFFER_DESC vertexDesc = {};
  vertexDesc.ByteWidth = kQuadVertexStride * kQuadVertexCount;
  vertexDesc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
  if (preset.dynamic != 0) {
    vertexDesc.Usage = D3D11_USAGE_DYNAMIC;
    vertexDesc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
  } else {
    vertexDesc.Usage = D3D11_USAGE_DEFAULT;
  }
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

void Quad::RebuildVertices() {
  if (!vertices) return;
  BuildQuadVertices(currentCorners, currentTexCoords, preset.colour, sizeClass, m_renderContext.width,
                    m_renderContext.height, vertices);
}

void Quad::UploadVertices() {
  ID3D11DeviceContext* context = m_renderContext.context;
  if (!vertexBuffer || !vertices || !context) return;
  D3D11_MAPPED_SUBRESOURCE mapped;
  if (FAILED(context->Map(vertexBuffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return;
  std::memcpy(mapped.pData, vertices, kQuadVertexStride * kQuadVertexCount);
  context->Unmap(vertexBuffer, 0);
}

PostProcessParameters BuildEffectParameters(const Quad& quad, int32_t effect) {
  PostProcessParameters parameters;
  parameters.effect = effect;
  parameters.hasTexture = quad.hasTexture ? 1 : 0;
  parameters.blend = quad.blend ? 1 : 0;
  parameters.alpha = quad.alpha;
  parameters.overlay = quad.overlay ? 1 : 0;
  parameters.reserved = 0;
  parameters.screenWidth = quad.m_renderContext.width;
  parameters.entryCount = quad.m_renderContext.width;
  return parameters;
}

void Quad::Render(int32_t effect) {
  const RenderContext& rc = m_renderContext;
  if (!vertexBuffer || !indexBuffer || !shader || !rc.renderStates) return;
  ID3D11DeviceContext* context = rc.context;
  const UINT stride = kQuadVertexStride, offset = 0;
  context->IASetVertexBuffers(0, 1, &vertexBuffer, &stride, &offset);
  context->IASetIndexBuffer(indexBuffer, DXGI_FORMAT_R32_UINT, 0);
  context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);

  const RenderStateManager& states = *rc.renderStates;
  static const FLOAT kBlendFactor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  context->RSSetState(states.rasterCullNone);
  context->OMSetDepthStencilState(states.depthOff, 1);
  context->OMSetBlendState(blend ? states.blendAlpha : states.blendOpaque, kBlendFactor, 0xFFFFFFFFu);

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
