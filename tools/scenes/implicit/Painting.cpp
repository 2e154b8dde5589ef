#include "Painting.h"

#include <algorithm>
#include <cmath>

#include "HashU32.h"
#include "LabTextures.h"

namespace implicit {

namespace {

float Lattice(int x, int y, uint32_t seed) {
  return static_cast<float>(HashU32(static_cast<uint32_t>(x) * 73856093U ^ static_cast<uint32_t>(y) * 19349663U ^ seed) &
                            0xFFFFFF) /
         16777215.0f;
}

}  // namespace

float Noise(float x, float y, int period, uint32_t seed) {
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const float fx = x - x0, fy = y - y0;
  const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  auto at = [&](int ix, int iy) { return Lattice(((ix % period) + period) % period, ((iy % period) + period) % period, seed); };
  const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
  const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
  return top + (bottom - top) * sy;
}

float Fbm(float x, float y, int period, int octaves, uint32_t seed) {
  float sum = 0.0f, amplitude = 0.5f, norm = 0.0f;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * Noise(x, y, period, seed + 101u * o);
    norm += amplitude;
    x *= 2, y *= 2, period *= 2, amplitude *= 0.5f;
  }
  return sum / norm;
}

std::vector<uint8_t> CubeDds(int faceSize, const std::function<void(float, float, float, float*)>& sky) {
  std::vector<uint8_t> out;
  auto u32 = [&](uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  int levels = 1;
  for (int s = faceSize; s > 1; s >>= 1) ++levels;
  u32(0x20534444);
  u32(124);
  u32(0x1 | 0x2 | 0x4 | 0x8 | 0x1000 | 0x20000);
  u32(static_cast<uint32_t>(faceSize));
  u32(static_cast<uint32_t>(faceSize));
  u32(static_cast<uint32_t>(faceSize * 4));
  u32(0);
  u32(static_cast<uint32_t>(levels));
  for (int i = 0; i < 11; ++i) u32(0);
  u32(32);
  u32(0x40 | 0x1);
  u32(0);
  u32(32);
  u32(0x000000FF), u32(0x0000FF00), u32(0x00FF0000), u32(0xFF000000);
  u32(0x1000 | 0x8 | 0x400000);
  u32(0x200 | 0xFC00);
  u32(0), u32(0), u32(0);
  for (int face = 0; face < 6; ++face) {
    lab::Picture level(faceSize, faceSize);
    for (int y = 0; y < faceSize; ++y)
      for (int x = 0; x < faceSize; ++x) {
        const float a = 2.0f * (x + 0.5f) / faceSize - 1.0f, b = 2.0f * (y + 0.5f) / faceSize - 1.0f;
        float d[3];
        switch (face) {
          case 0: d[0] = 1, d[1] = -b, d[2] = -a; break;
          case 1: d[0] = -1, d[1] = -b, d[2] = a; break;
          case 2: d[0] = a, d[1] = 1, d[2] = b; break;
          case 3: d[0] = a, d[1] = -1, d[2] = -b; break;
          case 4: d[0] = a, d[1] = -b, d[2] = 1; break;
          default: d[0] = -a, d[1] = -b, d[2] = -1; break;
        }
        float* p = level.At(x, y);
        sky(d[0], d[1], d[2], p);
        p[3] = 1.0f;
      }
    for (int mip = 0; mip < levels; ++mip) {
      for (float value : level.rgba) out.push_back(static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)));
      if (level.width == 1) break;
      lab::Picture half(level.width / 2, level.height / 2);
      for (int y = 0; y < half.height; ++y)
        for (int x = 0; x < half.width; ++x)
          for (int c = 0; c < 4; ++c)
            half.At(x, y)[c] = 0.25f * (level.At(2 * x, 2 * y)[c] + level.At(2 * x + 1, 2 * y)[c] +
                                        level.At(2 * x, 2 * y + 1)[c] + level.At(2 * x + 1, 2 * y + 1)[c]);
      level = half;
    }
  }
  return out;
}

}  // namespace implicit
