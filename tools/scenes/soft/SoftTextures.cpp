#include "SoftTextures.h"

#include <algorithm>
#include <cmath>

#include "LabTextures.h"
#include "Painting.h"

namespace soft {

namespace {

constexpr float kPi = 3.14159265358979f;

float Smooth(float a, float b, float x) {
  const float t = std::clamp((x - a) / (b - a), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

// A bright pastel studio: pink below, lavender and sky blue above, two big soft windows.
lab::Picture Sky(int width, int height) {
  lab::Picture picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float azimuth = ((x + 0.5f) / width - 0.5f) * 2 * kPi;
      const float up = std::cos((y + 0.5f) / height * kPi);
      const float t = Smooth(-0.3f, 0.8f, up);
      float r = 1.0f - 0.35f * t, g = 0.82f - 0.02f * t, b = 0.86f + 0.12f * t;
      auto window = [&](float centre, float halfWidth) {
        float d = std::fabs(azimuth - centre);
        d = std::min(d, 2 * kPi - d);
        return Smooth(halfWidth, halfWidth * 0.6f, d) * Smooth(0.05f, 0.2f, up) * Smooth(0.75f, 0.6f, up);
      };
      const float light = window(-0.7f, 0.35f) + window(2.3f, 0.25f);
      float* p = picture.At(x, y);
      p[0] = std::min(1.0f, r * 0.8f + light), p[1] = std::min(1.0f, g * 0.8f + light), p[2] = std::min(1.0f, b * 0.8f + light);
      p[3] = 1.0f;
    }
  return picture;
}

// Soft rubber tiles, two per picture, with a rounded groove between them.
float TileHeight(float u, float v) {
  const float cu = u * 2 - std::floor(u * 2), cv = v * 2 - std::floor(v * 2);
  const float edge = std::min(std::min(cu, 1 - cu), std::min(cv, 1 - cv));
  return Smooth(0.0f, 0.06f, edge);
}

lab::Picture FloorTiles(int size) {
  lab::Picture picture(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      const float grain = 0.93f + 0.07f * implicit::Fbm(u * 16, v * 16, 16, 4, 401);
      const float groove = 0.9f + 0.1f * TileHeight(u, v);
      float* p = picture.At(x, y);
      p[0] = grain * groove, p[1] = grain * groove * 0.98f, p[2] = grain * groove, p[3] = 1.0f;
    }
  return picture;
}

lab::Picture FloorNormal(int size) {
  lab::Picture picture(size, size);
  const float step = 1.0f / size, depth = 1.5f;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      const float du = (TileHeight(u + step, v) - TileHeight(u - step, v)) * depth;
      const float dv = (TileHeight(u, v + step) - TileHeight(u, v - step)) * depth;
      const float l = std::sqrt(du * du + dv * dv + 1.0f);
      float* p = picture.At(x, y);
      p[0] = -du / l * 0.5f + 0.5f, p[1] = -dv / l * 0.5f + 0.5f, p[2] = 1.0f / l * 0.5f + 0.5f, p[3] = 1.0f;
    }
  return picture;
}

// Along the backdrop's profile (v from the floor up): the floor's blush into lilac into sky blue.
lab::Picture Backdrop(int width, int height) {
  lab::Picture picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float v = (y + 0.5f) / height, u = (x + 0.5f) / width;
      const float a = Smooth(0.0f, 0.45f, v), b = Smooth(0.4f, 1.0f, v);
      const float cloud = 0.96f + 0.04f * implicit::Fbm(u * 8, v * 4, 8, 3, 409);
      float* p = picture.At(x, y);
      p[0] = (1.0f - 0.12f * a - 0.2f * b) * cloud;
      p[1] = (0.86f - 0.04f * a + 0.04f * b) * cloud;
      p[2] = (0.84f + 0.1f * a + 0.05f * b) * cloud;
      p[3] = 1.0f;
    }
  return picture;
}

}  // namespace

bool WriteSoftTextures(const std::string& directory) {
  const std::string at = directory + "/";
  return lab::WritePng(Sky(512, 256), at + "soft_sky.png") && lab::WritePng(FloorTiles(512), at + "soft_floor.png") &&
         lab::WritePng(FloorNormal(256), at + "soft_floor_n.png") && lab::WritePng(Backdrop(512, 128), at + "soft_backdrop.png");
}

}  // namespace soft
