#pragma once
// A fixed set of point sprites made from a preset: placed once at creation, each drawn as an
// additive camera-facing square by the billboard program. Animated presets run their update
// and re-upload every particle each time they are drawn, so a system not drawn stands still.
#include <cstdint>

#include "fx/Particle.h"
#include "fx/ParticlePreset.h"
#include "gfx/RenderContext.h"
#include "platform/d3d11/d3d11.h"

class BillboardShader;

class ParticleSystem : public ContextHolder {
 public:
  explicit ParticleSystem(const RenderContext& renderContext);
  ~ParticleSystem() { Shutdown(); }
  ParticleSystem(const ParticleSystem&) = delete;
  ParticleSystem& operator=(const ParticleSystem&) = delete;

  // Fails when an array cannot be allocated or the vertex buffer cannot be created; a missing
  // texture is not a failure (the sprites are then drawn as plain soft spots).
  bool Create(const ParticlePreset& preset);
  // The matrices untransposed, as every program takes them.
  void Render(D3DXMATRIX world, D3DXMATRIX view, D3DXMATRIX projection);
  // Draws the first `sprites` particles as they are, with the system's states and texture.
  void Draw(D3DXMATRIX world, D3DXMATRIX view, D3DXMATRIX projection, int32_t sprites);
  void Shutdown();
  // Back to the particles as placed at creation, with nothing grown and no update taken yet
  // (the show jumping back in time).
  void Rewind();

  // The preset type's rule for one draw (nothing for static types).
  void Update();
  // Copies the particles into the staging array and rewrites the whole vertex buffer; a failed
  // map skips the upload.
  void Upload();

  BillboardShader* shader = nullptr;
  int32_t count = 0;
  ID3D11ShaderResourceView* texture = nullptr;
  ID3D11Buffer* vertexBuffer = nullptr;
  Particle* staging = nullptr;
  ParticlePreset preset;
  Particle* particles = nullptr;
  // Three floats per particle, units per millisecond; type 18 only.
  float* velocities = nullptr;
  int32_t drawCount = 0;
  // The particles and velocities as placed, for Rewind.
  Particle* placed = nullptr;
  float* placedVelocities = nullptr;

 private:
  void UpdateWave();
  void UpdateLoop();
  void UpdatePulse();
  void UpdateShimmer();
  void UpdateGrowingKnot(int64_t growth);
  void UpdateDrift();
};
