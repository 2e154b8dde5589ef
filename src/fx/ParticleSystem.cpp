#include "fx/ParticleSystem.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "fx/ParticlePlacement.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "gfx/TextureCache.h"

namespace {

// A zeroed array of n elements, or null when it cannot be had.
template <class T>
T* AllocateZeroed(int32_t n) {
  return new (std::nothrow) T[static_cast<size_t>(n)]();
}

template <class T>
void FreeArray(T*& array) {
  delete[] array;
  array = nullptr;
}

}  // namespace

ParticleSystem::ParticleSystem(const RenderContext& renderContext)
    : ContextHolder(renderContext),
      shader(renderContext.shaders != nullptr ? renderContext.shaders->billboardShader : nullptr) {}

bool ParticleSystem::Create(const ParticlePreset& presetToUse) {
  Shutdown();
  preset = presetToUse;
  count = preset.count < 0 ? 0 : preset.count;
  drawCount = count;

  if (m_renderContext.textures != nullptr)
    texture = m_renderContext.textures->TextureAt(m_renderContext.textures->GetTexture(preset.textureFile));

  Particle* initial = AllocateZeroed<Particle>(count);
  staging = AllocateZeroed<Particle>(count);
  particles = AllocateZeroed<Particle>(count);
  placed = AllocateZeroed<Particle>(count);
  if (preset.type == 18) {
    velocities = AllocateZeroed<float>(count * 3);
    placedVelocities = AllocateZeroed<float>(count * 3);
  }
  if (initial == nullptr || staging == nullptr || particles == nullptr || placed == nullptr ||
      (preset.type == 18 && (velocities == nullptr || placedVelocities == nullptr))) {
    delete[] initial;
    return false;
  }

  D3D11_BUFFER_DESC desc{};
  desc.ByteWidth = static_cast<UINT>(count) * sizeof(Particle);
  desc.Usage = D3D11_USAGE_DYNAMIC;
  desc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
  desc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
  D3D11_SUBRESOURCE_DATA data{};
  data.pSysMem = initial;
  // An empty preset asks for a buffer of no bytes, which the device refuses: that system fails.
  const bool created = m_renderContext.device != nullptr &&
                       SUCCEEDED(m_renderContext.device->CreateBuffer(&desc, &data, &vertexBuffer));
  delete[] initial;

  // Placement runs even when the buffer failed: it moves the shared random sequence on exactly
  // as in a successful start, so the systems created after this one are placed the same.
  PlaceParticles(preset, particles, velocities);
  std::memcpy(placed, particles, static_cast<size_t>(count) * sizeof(Particle));
  if (velocities != nullptr) std::memcpy(placedVelocities, velocities, static_cast<size_t>(count) * 3 * sizeof(float));
  Upload();
  return created;
}

void ParticleSystem::Rewind() {
  lastUpdate = 0;
  drawCount = count;
  if (particles == nullptr || placed == nullptr) return;
  std::memcpy(particles, placed, static_cast<size_t>(count) * sizeof(Particle));
  if (velocities != nullptr && placedVelocities != nullptr)
    std::memcpy(velocities, placedVelocities, static_cast<size_t>(count) * 3 * sizeof(float));
  Upload();
}

void ParticleSystem::Upload() {
  if (vertexBuffer == nullptr || count == 0) return;
  std::memcpy(staging, particles, static_cast<size_t>(count) * sizeof(Particle));
  D3D11_MAPPED_SUBRESOURCE mapped{};
  if (FAILED(m_renderContext.context->Map(vertexBuffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return;
  std::memcpy(mapped.pData, staging, static_cast<size_t>(count) * sizeof(Particle));
  m_renderContext.context->Unmap(vertexBuffer, 0);
}

void ParticleSystem::Render(D3DXMATRIX world, D3DXMATRIX view, D3DXMATRIX projection) {
  if (particles == nullptr) return;
  if (preset.animated) {
    Update();
    Upload();
  }
  Draw(world, view, projection, preset.animated ? drawCount : count);
}

void ParticleSystem::Draw(D3DXMATRIX world, D3DXMATRIX view, D3DXMATRIX projection, int32_t sprites) {
  // A system whose creation failed has nothing to draw from.
  if (particles == nullptr || vertexBuffer == nullptr || shader == nullptr) return;

  ID3D11DeviceContext* context = m_renderContext.context;
  const UINT stride = sizeof(Particle), offset = 0;
  context->IASetVertexBuffers(0, 1, &vertexBuffer, &stride, &offset);
  context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_POINTLIST);

  const RenderStateManager* states = m_renderContext.renderStates;
  if (states != nullptr) {
    context->RSSetState(states->rasterCullNone);
    context->OMSetDepthStencilState(states->depthOff, 1);
    const float factor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    if (preset.blendMode == 0) context->OMSetBlendState(states->blendAlpha, factor, 0xFFFFFFFF);
    if (preset.blendMode == 1) context->OMSetBlendState(states->blendAdditive, factor, 0xFFFFFFFF);
  }

  if (shader->SetShaderParameters(world, view, projection, texture))
    shader->Render(static_cast<UINT>(std::clamp(sprites, 0, count)));
}

void ParticleSystem::Shutdown() {
  ReleaseAndForget(vertexBuffer);
  FreeArray(staging);
  FreeArray(particles);
  FreeArray(velocities);
  FreeArray(placed);
  FreeArray(placedVelocities);
  texture = nullptr;
  count = 0;
  drawCount = 0;
}
