#include "fx/PostEffect.h"

#include <iterator>

std::string_view PostEffectName(int32_t effect) {
  static constexpr std::string_view kNames[] = {
      "none",   "greyscale", "greyscale_r", "greyscale_g",    "greyscale_b",      "invert",
      "sepia",  "bw",        "chromatic_aberration", "",      "",                 "colors",
      "wiggle", "bright_pass", "brighten_up", "edge_detection", "pixel_distortion", "cubic_lens_distortion",
      "glitch", "plasma",    "desaturate",  "MAX",
  };
  if (effect < 0 || effect >= static_cast<int32_t>(std::size(kNames))) return {};
  return kNames[effect];
}
