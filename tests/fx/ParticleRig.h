#pragma once
// What a particle system needs to be created and drawn outside the show: a headless device,
// the render states, a texture cache on the working directory's engine_data, the billboard
// program, a Timer and a Sound whose fields the caller sets, and the render context holding
// them. Shared by the particle tests and the particle benchmark.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Timer.h"
#include "fx/ParticleSystem.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "gfx/TextureCache.h"
#include "sound/Sound.h"
#include "support/GpuTestDevice.h"

class ParticleRig {
 public:
  ParticleRig() = default;
  ParticleRig(const ParticleRig&) = delete;
  ParticleRig& operator=(const ParticleRig&) = delete;
  ~ParticleRig();

  // The working directory must hold engine_data with the billboard HLSL; empty on success,
  // else what failed.
  std::string Create(int width, int height);

  // Black, then the system drawn as a scene draws it: looking at the origin from its preset's
  // eye with a 45-degree lens.
  void DrawFromEye(ParticleSystem& system, const D3DXMATRIX& world);
  std::vector<uint8_t> Pixels() { return gpu.ReadPixels(); }

  testing_support::GpuTestDevice gpu;
  RenderStateManager states;
  std::unique_ptr<TextureCache> textures;
  ShaderManager shaders;
  Timer timer;
  Sound sound;
  RenderContext rc;
};

// Sum of all colour channels, a measure of how much light a picture holds.
uint64_t LightIn(const std::vector<uint8_t>& rgba);
