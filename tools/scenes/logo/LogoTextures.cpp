#include "LogoTextures.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "VecMath.h"
#include "Picture.h"

namespace logo {

namespace {

using kit::kPi;

float Band(float x, float low, float high, float soft) {
  return std::clamp((x - low) / soft, 0.0f, 1.0f) * std::clamp((high - x) / soft, 0.0f, 1.0f);
}

// A dark studio with a bright horizon line, long softboxes and a ceiling panel: chrome reads by
// the contrast of what it mirrors.
void Studio(float x, float y, float z, float rgb[3]) {
  const float length = std::max(std::sqrt(x * x + y * y + z * z), 1e-6f);
  x /= length, y /= length, z /= length;
  const float azimuth = std::atan2(x, z);
  // Sky: deep blue-grey above, warm dusk at the horizon, black floor below.
  const float above = std::clamp(y, 0.0f, 1.0f);
  float r = 0.05f + 0.2f * std::exp(-above * 6.0f), g = 0.055f + 0.16f * std::exp(-above * 6.0f),
        b = 0.08f + 0.1f * std::exp(-above * 6.0f);
  if (y < 0.0f) {
    const float fade = std::clamp(-y * 4.0f, 0.0f, 1.0f);
    r *= 1 - 0.8f * fade, g *= 1 - 0.8f * fade, b *= 1 - 0.8f * fade;
  }
  // A thin bright horizon line.
  const float horizon = std::exp(-std::pow(y / 0.025f, 2.0f));
  r += 0.9f * horizon, g += 0.85f * horizon, b += 0.8f * horizon;
  // Three tall softboxes round the stage and a panel overhead.
  auto box = [&](float centre, float halfWidth, float low, float high) {
    float d = std::fabs(azimuth - centre);
    d = std::min(d, 2 * kPi - d);
    return Band(d, -1.0f, halfWidth, 0.03f) * Band(y, low, high, 0.03f);
  };
  // Behind the camera (−z, azimuth ±π) the big one the letters' faces mirror.
  const float white = box(-0.9f, 0.14f, 0.05f, 0.7f) + box(2.6f, 0.2f, 0.1f, 0.6f) + 0.85f * box(kPi, 0.55f, -0.12f, 0.35f);
  const float warm = box(1.2f, 0.1f, 0.0f, 0.8f);
  const float panel = Band(y, 0.88f, 2.0f, 0.03f);
  r += white + 1.0f * warm + 0.8f * panel;
  g += white + 0.75f * warm + 0.8f * panel;
  b += 0.95f * white + 0.45f * warm + 0.85f * panel;
  rgb[0] = std::min(r, 1.0f), rgb[1] = std::min(g, 1.0f), rgb[2] = std::min(b, 1.0f);
}

// Gold keeps the studio's brightness and throws away its colour: a yellow that warms to orange
// in the shadows.
void GoldStudio(float x, float y, float z, float rgb[3]) {
  Studio(x, y, z, rgb);
  const float luma = 0.3f * rgb[0] + 0.59f * rgb[1] + 0.11f * rgb[2];
  rgb[0] = std::min(1.0f, 0.12f + 1.25f * luma);
  rgb[1] = std::min(1.0f, 0.07f + 0.95f * luma);
  rgb[2] = std::min(1.0f, 0.01f + 0.45f * luma * luma);
}

float BrushedHeight(float u, float v) {
  return 0.7f * kit::TiledFbm(kit::NoiseKind::Value, u * 2, v * 256, 2, 3, 301) +
         0.3f * kit::TiledFbm(kit::NoiseKind::Value, u * 8, v * 512, 8, 2, 307);
}

kit::Rgba Brushed(float u, float v) {
  const float value = 0.72f + 0.28f * BrushedHeight(u, v);
  return {value, value, value * 1.02f, 1.0f};
}

// The stage: a pool of light round the plinth fading to black long before the floor's edge.
kit::Rgba Stage(float u, float v) {
  u -= 0.5f, v -= 0.5f;
  const float r = std::sqrt(u * u + v * v) * 2.0f;  // 1 at the floor's edge
  const float pool = 0.4f * std::exp(-std::pow(r / 0.12f, 2.0f));
  const float grain = 0.85f + 0.15f * kit::TiledFbm(kit::NoiseKind::Value, u * 64 + 32, v * 64 + 32, 64, 3, 311);
  return {(0.02f + 0.5f * pool) * grain, (0.02f + 0.47f * pool) * grain, (0.025f + 0.5f * pool) * grain, 1.0f};
}

}  // namespace

bool WriteLogoTextures(const std::string& directory) {
  const std::string at = directory + "/";
  using kit::TextureKind;
  return kit::WriteBytes(kit::CubeDds(128, Studio), at + "logo_studio.dds") &&
         kit::WriteTexture(kit::Panorama(512, 256, GoldStudio), TextureKind::Colour, at + "logo_gold.png") &&
         kit::WriteTexture(kit::Paint(256, 256, Brushed), TextureKind::Colour, at + "logo_brushed.png") &&
         kit::WriteTexture(kit::NormalMapFromHeight(256, 0.0094f, BrushedHeight), TextureKind::Normal, at + "logo_brushed_n.png") &&
         kit::WriteTexture(kit::Paint(512, 512, Stage), TextureKind::Colour, at + "logo_stage.png");
}

}  // namespace logo
