#include "BlobTextures.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "VecMath.h"
#include "Picture.h"

namespace blob {

namespace {

using kit::kPi;

float Fbm(float x, float y, int period, int octaves, uint32_t seed) {
  return kit::TiledFbm(kit::NoiseKind::Value, x, y, period, octaves, seed);
}

// Thin bright lines where the noise crosses one half: 1 on a line, 0 away from it.
float Ridge(float value, float width) { return std::max(0.0f, 1.0f - std::fabs(value - 0.5f) / width); }

float Height(float u, float v) {
  return 0.6f * Fbm(u * 8, v * 8, 8, 4, 31) + 0.4f * Ridge(Fbm(u * 4, v * 4, 4, 3, 37), 0.08f);
}

// Veins of light under the skin, yellow-green, brighter where two vein networks cross.
kit::Rgba Veins(float u, float v) {
  const float a = Ridge(Fbm(u * 6, v * 3, 6, 4, 53), 0.035f);
  const float b = Ridge(Fbm(u * 12, v * 6, 12, 3, 59), 0.05f);
  const float glow = std::pow(a, 1.5f) * 0.9f + std::pow(b, 2.0f) * 0.35f;
  return {0.55f * glow, 0.95f * glow, 0.12f * glow, 1.0f};
}

// A soap-film sky: rainbow interference bands that swirl, darker below the horizon.
void Film(float x, float y, float z, float rgb[3]) {
  const float length = std::max(std::sqrt(x * x + y * y + z * z), 1e-6f);
  x /= length, y /= length, z /= length;
  const float azimuth = std::atan2(x, z) / (2 * kPi) + 0.5f;
  const float swirl = Fbm(azimuth * 4, (y + 1) * 2, 4, 4, 71);
  const float thickness = 2.2f * y + 3.0f * swirl;
  const float level = 0.35f + 0.65f * std::clamp(0.5f + 0.7f * y, 0.0f, 1.0f);
  for (int c = 0; c < 3; ++c) rgb[c] = level * (0.5f + 0.5f * std::cos(2 * kPi * (thickness + c * 0.33f)));
}

// The wet room: near black with hard white strip lights and an acid glow low down, so the blob's
// mirror shows crisp highlights wherever it bends.
void WetRoom(float x, float y, float z, float rgb[3]) {
  const float length = std::max(std::sqrt(x * x + y * y + z * z), 1e-6f);
  x /= length, y /= length, z /= length;
  const float azimuth = std::atan2(x, z);
  float r = 0.02f, g = 0.035f, b = 0.03f;
  auto strip = [&](float centre, float halfWidth, float low, float high) {
    float d = std::fabs(azimuth - centre);
    d = std::min(d, 2 * kPi - d);
    const float across = std::clamp((halfWidth - d) / (halfWidth * 0.25f), 0.0f, 1.0f);
    const float along = std::clamp((y - low) * 20.0f, 0.0f, 1.0f) * std::clamp((high - y) * 20.0f, 0.0f, 1.0f);
    return across * along;
  };
  const float white = strip(0.6f, 0.07f, -0.2f, 0.85f) + strip(2.4f, 0.05f, 0.1f, 0.9f) + strip(-1.9f, 0.09f, 0.3f, 0.7f);
  const float top = std::clamp((y - 0.9f) * 20.0f, 0.0f, 1.0f);
  const float acid = std::clamp(-y * 2.0f, 0.0f, 1.0f) * (0.5f + 0.5f * Fbm((azimuth / kPi + 1) * 4, y * 4 + 4, 8, 3, 83));
  r += 1.0f * white + 0.9f * top + 0.25f * acid;
  g += 1.0f * white + 0.95f * top + 0.55f * acid;
  b += 0.95f * white + 1.0f * top + 0.05f * acid;
  rgb[0] = std::min(r, 1.0f), rgb[1] = std::min(g, 1.0f), rgb[2] = std::min(b, 1.0f);
}

}  // namespace

bool WriteBlobTextures(const std::string& directory) {
  const std::string at = directory + "/";
  using kit::TextureKind;
  return kit::WriteTexture(kit::NormalMapFromHeight(256, 0.04f, Height), TextureKind::Normal, at + "blob_ripples_n.png") &&
         kit::WriteTexture(kit::Paint(512, 256, Veins), TextureKind::Luminance, at + "blob_veins.png") &&
         kit::WriteTexture(kit::Panorama(512, 256, Film), TextureKind::Colour, at + "blob_film.png") &&
         kit::WriteBytes(kit::CubeDds(128, WetRoom), at + "blob_wet.dds");
}

}  // namespace blob
