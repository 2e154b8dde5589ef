#pragma once
// Painting helpers of the generated pictures: tiling value noise and its fractal sum, and a cube
// map written as a DDS file from a function of the direction.
#include <cstdint>
#include <functional>
#include <vector>

namespace implicit {

// Smooth value noise in [0, 1] that repeats every `period` cells in x and y.
float Noise(float x, float y, int period, uint32_t seed);
// `octaves` of it, each twice as fine and half as strong, normalised to [0, 1].
float Fbm(float x, float y, int period, int octaves, uint32_t seed);

// Six faces (+x, −x, +y, −y, +z, −z) of faceSize², RGBA8 with a full mip chain; sky(x, y, z, rgb)
// gives the colour seen in direction (x, y, z), linear 0..1.
std::vector<uint8_t> CubeDds(int faceSize, const std::function<void(float, float, float, float*)>& sky);

}  // namespace implicit
