#pragma once
// The nineteen numbered particle presets: texture, count, sprite size, colour, whether the
// system animates, and the point the scenes look at it from.
#include <cstdint>
#include <string>

struct ParticlePreset {
  int32_t type = 0;
  std::string textureFile;
  int32_t blendMode = 0;
  int32_t count = 0;
  float centreX = 0.0f, centreY = 0.0f, centreZ = 0.0f;
  float width = 0.0f, height = 0.0f;
  float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
  bool animated = false;
  float eyeX = 0.0f, eyeY = 0.0f, eyeZ = 0.0f;
};

constexpr int32_t kParticlePresetCount = 19;

// The preset with that number; a number outside 0…18 gives an empty preset (no texture, no
// particles), which nothing in the show asks for.
ParticlePreset GetParticlePreset(int32_t number);
