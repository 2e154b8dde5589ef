#include "SoftTextures.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "VecMath.h"
#include "Picture.h"

namespace soft {

namespace {

using kit::kPi;

float Smooth(float a, float b, float x) {
  const float t = std::clamp((x - a) / (b - a), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

float Fbm(float x, float y, int period, int octaves, uint32_t seed) {
  return kit::TiledFbm(kit::NoiseKind::Value, x, y, period, octaves, seed);
}

// A bright pastel studio: pink below, lavender and sky blue above, two big soft windows.
void Sky(float x, float y, float z, float rgb[3]) {
  const float length = std::max(std::sqrt(x * x + y * y + z * z), 1e-6f);
  const float azimuth = std::atan2(x, z), up = y / length;
  const float t = Smooth(-0.3f, 0.8f, up);
  const float r = 1.0f - 0.35f * t, g = 0.82f - 0.02f * t, b = 0.86f + 0.12f * t;
  auto window = [&](float centre, float halfWidth) {
    float d = std::fabs(azimuth - centre);
    d = std::min(d, 2 * kPi - d);
    return Smooth(halfWidth, halfWidth * 0.6f, d) * Smooth(0.05f, 0.2f, up) * Smooth(0.75f, 0.6f, up);
  };
  const float light = window(-0.7f, 0.35f) + window(2.3f, 0.25f);
  rgb[0] = std::min(1.0f, r * 0.8f + light), rgb[1] = std::min(1.0f, g * 0.8f + light), rgb[2] = std::min(1.0f, b * 0.8f + light);
}

// Soft rubber tiles, two per picture, with a rounded groove between them.
float TileHeight(float u, float v) {
  const float cu = u * 2 - std::floor(u * 2), cv = v * 2 - std::floor(v * 2);
  const float edge = std::min(std::min(cu, 1 - cu), std::min(cv, 1 - cv));
  return Smooth(0.0f, 0.06f, edge);
}

kit::Rgba FloorTiles(float u, float v) {
  const float grain = 0.93f + 0.07f * Fbm(u * 16, v * 16, 16, 4, 401);
  const float groove = 0.9f + 0.1f * TileHeight(u, v);
  return {grain * groove, grain * groove * 0.98f, grain * groove, 1.0f};
}

// Along the backdrop's profile (v from the floor up): the floor's blush into lilac into sky blue.
kit::Rgba Backdrop(float u, float v) {
  const float a = Smooth(0.0f, 0.45f, v), b = Smooth(0.4f, 1.0f, v);
  const float cloud = 0.96f + 0.04f * Fbm(u * 8, v * 4, 8, 3, 409);
  return {(1.0f - 0.12f * a - 0.2f * b) * cloud, (0.86f - 0.04f * a + 0.04f * b) * cloud,
          (0.84f + 0.1f * a + 0.05f * b) * cloud, 1.0f};
}

}  // namespace

bool WriteSoftTextures(const std::string& directory) {
  const std::string at = directory + "/";
  using kit::TextureKind;
  return kit::WriteTexture(kit::Panorama(512, 256, Sky), TextureKind::Colour, at + "soft_sky.png") &&
         kit::WriteTexture(kit::Paint(512, 512, FloorTiles), TextureKind::Colour, at + "soft_floor.png") &&
         kit::WriteTexture(kit::NormalMapFromHeight(256, 0.012f, TileHeight), TextureKind::Normal, at + "soft_floor_n.png") &&
         kit::WriteTexture(kit::Paint(512, 128, Backdrop), TextureKind::Colour, at + "soft_backdrop.png");
}

}  // namespace soft
