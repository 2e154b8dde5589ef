// The overlay pictures: the flasher's radial glow, the vignette and the SSAO noise.
#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "Images.h"

// Random unit vectors in the xy plane, stored as 0.5 + 0.5 v; rotates the SSAO kernel per pixel.
bool WriteSsaoNoise(const std::string& path) {
  Canvas c(64, 64);
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      uint32_t h = HashU32(static_cast<uint32_t>(y * c.Width() + x) + 0x55AA1234u);
      float angle = (h & 0xFFFF) / 65536.0f * 6.2831853f;
      float len = 0.6f + 0.4f * ((h >> 16) & 0xFF) / 255.0f;
      c.At(x, y) = {0.5f + 0.5f * std::cos(angle) * len, 0.5f + 0.5f * std::sin(angle) * len,
                    ((h >> 24) & 0xFF) / 255.0f, 1.0f};
    }
  return c.WritePng(path);
}

// A white flash: a hot core, a wide soft halo and faint rays, all in the alpha channel.
bool WriteRadialFlash(const std::string& path) {
  const int size = 512;
  Canvas c(size, size, {1, 1, 1, 0});
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      float dx = (x + 0.5f) / size * 2.0f - 1.0f, dy = (y + 0.5f) / size * 2.0f - 1.0f;
      float r = std::sqrt(dx * dx + dy * dy);
      float angle = std::atan2(dy, dx);
      float core = std::exp(-r * r * 18.0f);
      float halo = std::pow(std::max(0.0f, 1.0f - r), 2.2f);
      float rays = std::pow(0.5f + 0.5f * std::cos(angle * 12.0f), 8.0f) * std::max(0.0f, 1.0f - r) * 0.35f;
      float a = std::min(1.0f, core + halo * 0.75f + rays);
      float warm = std::exp(-r * 3.0f);
      c.At(x, y) = {1.0f, 0.93f + 0.07f * warm, 0.82f + 0.18f * warm, a};
    }
  return c.WritePng(path);
}

// Black darkening towards the edges and corners; the picture stays clear in the middle.
bool WriteVignette(const std::string& path) {
  const int size = 1024;
  Canvas c(size, size, {0, 0, 0, 0});
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      float dx = (x + 0.5f) / size * 2.0f - 1.0f, dy = (y + 0.5f) / size * 2.0f - 1.0f;
      // A superellipse keeps the corners darker than the edge centres, like a lens does.
      float d = std::pow(std::pow(std::fabs(dx), 2.6f) + std::pow(std::fabs(dy), 2.6f), 1.0f / 2.6f);
      float a = Smoothstep(0.55f, 1.38f, d);
      c.At(x, y) = {0.0f, 0.0f, 0.02f, std::pow(a, 1.3f) * 0.92f};
    }
  return c.WritePng(path);
}
