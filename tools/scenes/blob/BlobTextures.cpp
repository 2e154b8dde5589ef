#include "BlobTextures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "LabTextures.h"
#include "Painting.h"

namespace blob {

using implicit::CubeDds;
using implicit::Fbm;

namespace {

constexpr float kPi = 3.14159265358979f;

// Thin bright lines where the noise crosses one half: 1 on a line, 0 away from it.
float Ridge(float value, float width) { return std::max(0.0f, 1.0f - std::fabs(value - 0.5f) / width); }

float Height(float u, float v) {
  return 0.6f * Fbm(u * 8, v * 8, 8, 4, 31) + 0.4f * Ridge(Fbm(u * 4, v * 4, 4, 3, 37), 0.08f);
}

lab::Picture Ripples(int size) {
  lab::Picture picture(size, size);
  const float step = 1.0f / size, depth = 5.0f;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      const float du = (Height(u + step, v) - Height(u - step, v)) * depth;
      const float dv = (Height(u, v + step) - Height(u, v - step)) * depth;
      const float length = std::sqrt(du * du + dv * dv + 1.0f);
      float* p = picture.At(x, y);
      p[0] = -du / length * 0.5f + 0.5f;
      p[1] = -dv / length * 0.5f + 0.5f;
      p[2] = 1.0f / length * 0.5f + 0.5f;
      p[3] = 1.0f;
    }
  return picture;
}

// Veins of light under the skin, yellow-green, brighter where two vein networks cross.
lab::Picture Veins(int width, int height) {
  lab::Picture picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float u = (x + 0.5f) / width, v = (y + 0.5f) / height;
      const float a = Ridge(Fbm(u * 6, v * 3, 6, 4, 53), 0.035f);
      const float b = Ridge(Fbm(u * 12, v * 6, 12, 3, 59), 0.05f);
      const float glow = std::pow(a, 1.5f) * 0.9f + std::pow(b, 2.0f) * 0.35f;
      float* p = picture.At(x, y);
      p[0] = 0.55f * glow;
      p[1] = 0.95f * glow;
      p[2] = 0.12f * glow;
      p[3] = 1.0f;
    }
  return picture;
}

// A soap-film sky: rainbow interference bands that swirl, darker below the horizon.
void Film(float x, float y, float z, float rgb[3]) {
  const float azimuth = std::atan2(x, z) / (2 * kPi) + 0.5f;
  const float swirl = Fbm(azimuth * 4, (y + 1) * 2, 4, 4, 71);
  const float thickness = 2.2f * y + 3.0f * swirl;
  const float level = 0.35f + 0.65f * std::clamp(0.5f + 0.7f * y, 0.0f, 1.0f);
  for (int c = 0; c < 3; ++c)
    rgb[c] = level * (0.5f + 0.5f * std::cos(2 * kPi * (thickness + c * 0.33f)));
}

lab::Picture FilmPanorama(int width, int height) {
  lab::Picture picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float azimuth = ((x + 0.5f) / width - 0.5f) * 2 * kPi;
      const float polar = (y + 0.5f) / height * kPi;
      float* p = picture.At(x, y);
      Film(std::sin(polar) * std::sin(azimuth), std::cos(polar), std::sin(polar) * std::cos(azimuth), p);
      p[3] = 1.0f;
    }
  return picture;
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
  return lab::WritePng(Ripples(256), at + "blob_ripples_n.png") && lab::WritePng(Veins(512, 256), at + "blob_veins.png") &&
         lab::WritePng(FilmPanorama(512, 256), at + "blob_film.png") &&
         lab::WriteBytes(CubeDds(128, WetRoom), at + "blob_wet.dds");
}

}  // namespace blob
