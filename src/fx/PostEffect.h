#pragma once
// The effect numbers of the post-processing program: every quad draw picks one, and the pixel
// shader branches on it. 100 to 109 are the ten scenes' own final looks.
#include <cstdint>
#include <string_view>

enum class PostEffect : int32_t {
  none = 0,
  greyscale = 1,
  greyscale_r = 2,
  greyscale_g = 3,
  greyscale_b = 4,
  invert = 5,
  sepia = 6,
  bw = 7,
  chromatic_aberration = 8,
  // 9 and 10 have no name.
  colors = 11,
  wiggle = 12,
  bright_pass = 13,
  brighten_up = 14,
  edge_detection = 15,
  pixel_distortion = 16,
  cubic_lens_distortion = 17,
  glitch = 18,
  plasma = 19,
  desaturate = 20,
  MAX = 21,
};

constexpr int32_t kFirstSceneEffect = 100;
constexpr int32_t kLastSceneEffect = 109;

// The display name of an effect number, as the debug overlay shows it; empty for numbers
// without a name (9, 10, the scene looks and anything unknown).
std::string_view PostEffectName(int32_t effect);
