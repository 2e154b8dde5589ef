#pragma once
// The 29 numbered quad presets: texture, colour, blend/overlay flags, alpha, the rectangle in
// percent of the screen and whether the corners animate.
#include <cstdint>
#include <string>

#include "math/d3dx_math.h"

constexpr int32_t kQuadPresetCount = 29;

// Corner order everywhere: top-left, top-right, bottom-left, bottom-right.
struct QuadPreset {
  std::string fileName;
  D3DXCOLOR colour{1.0f, 0.0f, 1.0f, 0.5f};
  int32_t blend = 0;
  float alpha = 0.5f;
  int32_t overlay = 0;
  D3DXVECTOR2 corners[4];
  D3DXVECTOR2 texCoords[4];
  int32_t dynamic = 0;
};

// Fills the preset of the given number; a number outside 0 to 28 leaves it untouched (at its
// defaults it is an invisible quad).
void FillQuadPreset(int32_t number, QuadPreset& preset);
