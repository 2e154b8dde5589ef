#include "Noise.h"

#include <cmath>

#include "HashU32.h"

namespace kit {

namespace {

float Fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }
float Smooth(float t) { return t * t * (3 - 2 * t); }
int Wrap(int i, int period) { return ((i % period) + period) % period; }

// One of twelve cube-edge directions, picked by the lattice point's hash.
float GradientDot(uint32_t hash, float x, float y, float z) {
  switch (hash % 12) {
    case 0: return x + y;
    case 1: return -x + y;
    case 2: return x - y;
    case 3: return -x - y;
    case 4: return x + z;
    case 5: return -x + z;
    case 6: return x - z;
    case 7: return -x - z;
    case 8: return y + z;
    case 9: return -y + z;
    case 10: return y - z;
    default: return -y - z;
  }
}

uint32_t LatticeHash(int x, int y, int z, uint32_t seed) {
  return HashU32(static_cast<uint32_t>(x) * 73856093U ^ static_cast<uint32_t>(y) * 19349663U ^
                 static_cast<uint32_t>(z) * 83492791U ^ seed);
}

template <typename Lattice>
float Trilinear(float x, float y, float z, Lattice at) {
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y)), z0 = static_cast<int>(std::floor(z));
  const float fx = x - x0, fy = y - y0, fz = z - z0;
  const float sx = Smooth(fx), sy = Smooth(fy), sz = Smooth(fz);
  auto plane = [&](int zi) {
    const float top = at(x0, y0, zi) + (at(x0 + 1, y0, zi) - at(x0, y0, zi)) * sx;
    const float bottom = at(x0, y0 + 1, zi) + (at(x0 + 1, y0 + 1, zi) - at(x0, y0 + 1, zi)) * sx;
    return top + (bottom - top) * sy;
  };
  const float near = plane(z0);
  return near + (plane(z0 + 1) - near) * sz;
}

float Gradient(float x, float y, float z, uint32_t seed, int period) {
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y)), z0 = static_cast<int>(std::floor(z));
  const float fx = x - x0, fy = y - y0, fz = z - z0;
  auto corner = [&](int dx, int dy, int dz) {
    const int ix = period > 0 ? Wrap(x0 + dx, period) : x0 + dx;
    const int iy = period > 0 ? Wrap(y0 + dy, period) : y0 + dy;
    return GradientDot(LatticeHash(ix, iy, z0 + dz, seed), fx - dx, fy - dy, fz - dz);
  };
  const float u = Fade(fx), v = Fade(fy), w = Fade(fz);
  auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
  const float z0v = lerp(lerp(corner(0, 0, 0), corner(1, 0, 0), u), lerp(corner(0, 1, 0), corner(1, 1, 0), u), v);
  const float z1v = lerp(lerp(corner(0, 0, 1), corner(1, 0, 1), u), lerp(corner(0, 1, 1), corner(1, 1, 1), u), v);
  return lerp(z0v, z1v, w);
}

}  // namespace

float Random(int x, int y, uint32_t seed) {
  const uint32_t h = HashU32(static_cast<uint32_t>(x) * 73856093U ^ static_cast<uint32_t>(y) * 19349663U ^ seed);
  return static_cast<float>(h & 0xFFFFFF) / 16777215.0f;
}

float Random3(int x, int y, int z, uint32_t seed) {
  return static_cast<float>(LatticeHash(x, y, z, seed) & 0xFFFFFF) / 16777215.0f;
}

float ValueNoise(float x, float y, float z, uint32_t seed) {
  return Trilinear(x, y, z, [seed](int ix, int iy, int iz) { return Random3(ix, iy, iz, seed); });
}

float GradientNoise(float x, float y, float z, uint32_t seed) { return Gradient(x, y, z, seed, 0); }

float Fbm(NoiseKind kind, float x, float y, float z, int octaves, uint32_t seed, float lacunarity, float gain) {
  float sum = 0.0f, amplitude = 1.0f, total = 0.0f;
  for (int i = 0; i < octaves; ++i) {
    const uint32_t octaveSeed = seed + static_cast<uint32_t>(i) * 1013u;
    sum += amplitude * (kind == NoiseKind::Value ? ValueNoise(x, y, z, octaveSeed) : GradientNoise(x, y, z, octaveSeed));
    total += amplitude;
    x *= lacunarity, y *= lacunarity, z *= lacunarity;
    amplitude *= gain;
  }
  return total > 0.0f ? sum / total : 0.0f;
}

float TiledValueNoise(float x, float y, int period, uint32_t seed) {
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const float sx = Smooth(x - x0), sy = Smooth(y - y0);
  auto at = [&](int ix, int iy) { return Random(Wrap(ix, period), Wrap(iy, period), seed); };
  const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
  const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
  return top + (bottom - top) * sy;
}

float TiledGradientNoise(float x, float y, int period, uint32_t seed) { return Gradient(x, y, 0.5f, seed, period); }

float TiledFbm(NoiseKind kind, float x, float y, int period, int octaves, uint32_t seed, float gain) {
  float sum = 0.0f, amplitude = 1.0f, total = 0.0f;
  for (int i = 0; i < octaves; ++i) {
    const uint32_t octaveSeed = seed + static_cast<uint32_t>(i) * 1013u;
    sum += amplitude * (kind == NoiseKind::Value ? TiledValueNoise(x, y, period, octaveSeed)
                                                  : TiledGradientNoise(x, y, period, octaveSeed));
    total += amplitude;
    x *= 2, y *= 2, period *= 2;
    amplitude *= gain;
  }
  return total > 0.0f ? sum / total : 0.0f;
}

}  // namespace kit
