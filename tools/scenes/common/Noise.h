#pragma once
// Deterministic noise for generated geometry and pictures: the same arguments give the same
// value on every machine, so generated content is the same on every build.
#include <cstdint>

namespace kit {

// A lattice value in [0, 1] for integer coordinates.
float Random(int x, int y, uint32_t seed);
float Random3(int x, int y, int z, uint32_t seed);

// Value noise: smoothly interpolated lattice values, in [0, 1].
float ValueNoise(float x, float y, float z, uint32_t seed);
// Gradient noise: a random slope at every lattice point, 0 at the points themselves; roughly
// in [−1, 1] with most values within ±0.5.
float GradientNoise(float x, float y, float z, uint32_t seed);

enum class NoiseKind { Value, Gradient };
// Fractal sum of octaves, each at lacunarity times the frequency and gain times the amplitude
// of the one before, normalised by the total amplitude: value noise stays in [0, 1], gradient
// noise in about [−1, 1].
float Fbm(NoiseKind kind, float x, float y, float z, int octaves, uint32_t seed, float lacunarity = 2.0f,
          float gain = 0.5f);

// 2D noise that repeats every period lattice cells in x and y, for textures that tile.
float TiledValueNoise(float x, float y, int period, uint32_t seed);
float TiledGradientNoise(float x, float y, int period, uint32_t seed);
// Octaves at doubled frequency and period, so the sum tiles with the first octave's period.
float TiledFbm(NoiseKind kind, float x, float y, int period, int octaves, uint32_t seed, float gain = 0.5f);

}  // namespace kit
