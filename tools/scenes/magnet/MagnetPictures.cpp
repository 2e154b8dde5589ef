#include "MagnetPictures.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace magnet {

namespace {

float Smooth(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

}  // namespace

float PlateHeight(float u, float v) {
  // Eight cells a side; each holds one long diamond, turned the other way in every other cell.
  const float cu = u * 8 - std::floor(u * 8) - 0.5f, cv = v * 8 - std::floor(v * 8) - 0.5f;
  const bool turned = (static_cast<int>(std::floor(u * 8)) + static_cast<int>(std::floor(v * 8))) & 1;
  const float a = turned ? (cu + cv) : (cu - cv), b = turned ? (cu - cv) : (cu + cv);
  const float diamond = std::fabs(a) * 0.5f + std::fabs(b) * 2.2f;
  return Smooth(0.42f, 0.3f, diamond) + 0.08f * kit::TiledFbm(kit::NoiseKind::Gradient, u * 16, v * 16, 16, 3, 501);
}

kit::Picture PlatePicture(int size) {
  return kit::Paint(size, size, [](float u, float v) {
    const float wear = kit::TiledFbm(kit::NoiseKind::Value, u * 4, v * 4, 4, 5, 502);
    const float scratches = kit::TiledFbm(kit::NoiseKind::Value, u * 96, v * 6, 96, 2, 503);
    const float relief = std::clamp(PlateHeight(u, v), 0.0f, 1.0f);
    // Worn bright on the diamonds' tops, oily and dark between them.
    const float value = (0.18f + 0.2f * wear + 0.06f * scratches) * (0.6f + 0.6f * relief);
    return kit::Rgba{value * 0.9f, value * 1.0f, value * 1.05f, 1.0f};
  });
}

kit::Picture WallPicture(int size) {
  return kit::Paint(size, size, [](float u, float v) {
    const float stain = kit::TiledFbm(kit::NoiseKind::Value, u * 6, v * 6, 6, 5, 504);
    const float seam = Smooth(0.004f, 0.0f, std::min(std::fabs(u * 4 - std::round(u * 4)), std::fabs(v * 2 - std::round(v * 2))) - 0.006f);
    const float value = (0.1f + 0.1f * stain) * (1.0f - 0.6f * seam);
    return kit::Rgba{value * 0.9f, value, value * 1.05f, 1.0f};
  });
}

kit::Picture WallGlow(int size) {
  return kit::Paint(size, size, [](float u, float v) {
    // One strip across each panel row, broken into tubes, and a faint spill round it.
    const float d = std::fabs(v * 2 - std::floor(v * 2) - 0.3f);
    const float tube = std::fabs(u * 8 - std::floor(u * 8) - 0.5f) < 0.44f ? 1.0f : 0.0f;
    const float core = Smooth(0.012f, 0.004f, d) * tube;
    const float spill = std::exp(-d * d / 0.004f) * 0.12f;
    return kit::Rgba{0.1f * core + 0.02f * spill, 0.85f * core + 0.3f * spill, 0.9f * core + 0.32f * spill, 1.0f};
  });
}

void WorkshopLight(float x, float y, float z, float rgb[3]) {
  const float length = std::max(std::sqrt(x * x + y * y + z * z), 1e-6f);
  x /= length, y /= length, z /= length;
  const float azimuth = std::atan2(x, z);
  float r = 0.03f, g = 0.045f, b = 0.05f;
  // Teal strips along one wall (towards +x), in rows.
  const float teal = Smooth(0.5f, 0.8f, x) * Smooth(0.15f, 0.05f, std::fabs(std::fmod(y * 5.0f + 10.0f, 1.0f) - 0.5f));
  r += 0.05f * teal, g += 0.7f * teal, b += 0.75f * teal;
  // Furnace glow low on the other side (towards −x, +z).
  const float furnace = std::pow(std::max(0.0f, -x * 0.7f + z * 0.7f), 6.0f) * Smooth(0.5f, -0.1f, y);
  r += 1.2f * furnace, g += 0.45f * furnace, b += 0.08f * furnace;
  // A skylight: a bright rectangle overhead, barred.
  const float sky = Smooth(0.85f, 0.9f, y) * (0.7f + 0.3f * Smooth(0.2f, 0.4f, std::fabs(std::sin(azimuth * 6))));
  r += 0.8f * sky, g += 0.85f * sky, b += 0.9f * sky;
  // The floor below: dark steel.
  if (y < -0.1f) r *= 0.5f, g *= 0.55f, b *= 0.6f;
  rgb[0] = std::min(r, 1.0f), rgb[1] = std::min(g, 1.0f), rgb[2] = std::min(b, 1.0f);
}

}  // namespace magnet
