#include "LabTextures.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "VecMath.h"

namespace lab {

namespace {

using kit::kPi;
using kit::Random;

float TiledNoise(float x, float y, int period, uint32_t seed) { return kit::TiledValueNoise(x, y, period, seed); }

float Smoothstep(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

// Height of the tile relief: 1 on a tile, falling into the grout along a bevel.
constexpr int kTilesPerPicture = 2;
float TileHeight(float u, float v) {
  const float cu = u * kTilesPerPicture - std::floor(u * kTilesPerPicture);
  const float cv = v * kTilesPerPicture - std::floor(v * kTilesPerPicture);
  const float edge = std::min(std::min(cu, 1 - cu), std::min(cv, 1 - cv));
  return Smoothstep(0.01f, 0.04f, edge);
}

}  // namespace

Picture TilesDiffuse(int size) {
  Picture picture(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      const int tile = static_cast<int>(u * kTilesPerPicture) + 7 * static_cast<int>(v * kTilesPerPicture);
      const float shade = 0.78f + 0.1f * Random(tile, 0, 11);
      const float grain = 0.9f + 0.1f * TiledNoise(u * 32, v * 32, 32, 5) + 0.05f * TiledNoise(u * 128, v * 128, 128, 6);
      const float relief = TileHeight(u, v);
      float* p = picture.At(x, y);
      const float base = shade * grain;
      p[0] = (0.22f + (base - 0.22f) * relief) * 0.96f;
      p[1] = (0.22f + (base - 0.22f) * relief) * 0.97f;
      p[2] = 0.22f + (base - 0.22f) * relief;
      p[3] = 1.0f;
    }
  return picture;
}

Picture TilesNormal(int size) {
  Picture picture(size, size);
  const float step = 1.0f / size;
  const float depth = 6.0f;  // how steep the bevel looks
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      const float du = (TileHeight(u + step, v) - TileHeight(u - step, v)) * depth +
                       0.08f * (TiledNoise((u + step) * 64, v * 64, 64, 9) - TiledNoise((u - step) * 64, v * 64, 64, 9));
      const float dv = (TileHeight(u, v + step) - TileHeight(u, v - step)) * depth +
                       0.08f * (TiledNoise(u * 64, (v + step) * 64, 64, 9) - TiledNoise(u * 64, (v - step) * 64, 64, 9));
      float n[3] = {-du, -dv, 1.0f};
      const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      float* p = picture.At(x, y);
      for (int c = 0; c < 3; ++c) p[c] = n[c] / length * 0.5f + 0.5f;
      p[3] = 1.0f;
    }
  return picture;
}

Picture BrushedMetal(int size) {
  Picture picture(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      // Long streaks along u: noise stretched 64 times.
      const float streak = TiledNoise(u * 2, v * 128, 128, 21) * 0.6f + TiledNoise(u * 4, v * 256, 256, 22) * 0.4f;
      const float value = 0.55f + 0.25f * streak;
      float* p = picture.At(x, y);
      p[0] = value;
      p[1] = value * 1.01f;
      p[2] = value * 1.04f;
      p[3] = 1.0f;
    }
  return picture;
}

Picture NeonGlow(int width, int height) {
  Picture picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float u = (x + 0.5f) / width, v = (y + 0.5f) / height;
      // Bright core along the tube's outer side, colour cycling round the ring.
      const float core = 0.45f + 0.55f * std::exp(-std::pow((v - 0.25f) / 0.15f, 2.0f));
      const float hue = u * 2 * kPi;
      const float pulse = 0.75f + 0.25f * std::cos(u * 2 * kPi * 8);
      float* p = picture.At(x, y);
      p[0] = (0.9f + 0.1f * std::cos(hue)) * core * pulse;
      p[1] = (0.25f + 0.25f * std::cos(hue + 2.1f)) * core * pulse;
      p[2] = (0.8f + 0.2f * std::cos(hue + 4.2f)) * core * pulse;
      p[3] = 1.0f;
    }
  return picture;
}

void StudioLight(float x, float y, float z, float rgb[3]) {
  const float length = std::max(std::sqrt(x * x + y * y + z * z), 1e-6f);
  x /= length, y /= length, z /= length;
  const float azimuth = std::atan2(x, z), elevation = std::asin(std::clamp(y, -1.0f, 1.0f));
  // A dark room: floor below the horizon, a little lighter above.
  // A grey cyclorama like the lab's own, lighter towards the ceiling.
  const float up = Smoothstep(-0.25f, 0.7f, y);
  float r = 0.16f + 0.14f * up, g = 0.165f + 0.145f * up, b = 0.18f + 0.16f * up;
  // Floor grid below the horizon, fading towards it.
  if (y < 0.0f) {
    const float fx = x / -y, fz = z / -y;
    const float line = std::max(Smoothstep(0.94f, 0.99f, std::cos(fx * kPi * 2)), Smoothstep(0.94f, 0.99f, std::cos(fz * kPi * 2)));
    const float fade = Smoothstep(-0.05f, -0.4f, y);
    r -= 0.1f * line * fade, g -= 0.1f * line * fade, b -= 0.1f * line * fade;
  }
  // Softboxes: a cool strip on one side, a warm one on the other, a panel overhead.
  auto box = [&](float centreAzimuth, float halfWidth, float low, float high) {
    float d = std::fabs(azimuth - centreAzimuth);
    d = std::min(d, 2 * kPi - d);
    return Smoothstep(halfWidth, halfWidth * 0.8f, d) * Smoothstep(low, low + 0.05f, elevation) *
           Smoothstep(high, high - 0.05f, elevation);
  };
  const float cool = box(1.15f, 0.16f, -0.05f, 0.75f);
  const float warm = box(-2.0f, 0.22f, 0.1f, 0.5f);
  const float top = Smoothstep(0.86f, 0.9f, y);
  r += 0.85f * cool + 1.0f * warm + 0.95f * top;
  g += 0.92f * cool + 0.78f * warm + 0.95f * top;
  b += 1.0f * cool + 0.5f * warm + 1.0f * top;
  rgb[0] = std::min(r, 1.0f), rgb[1] = std::min(g, 1.0f), rgb[2] = std::min(b, 1.0f);
}

Picture StudioPanorama(int width, int height) { return kit::Panorama(width, height, StudioLight); }

std::vector<uint8_t> StudioCubeDds(int faceSize) { return kit::CubeDds(faceSize, StudioLight); }

}  // namespace lab
