#pragma once
// The lab scene's pictures, drawn by code: floor tiles with their normal map, brushed metal,
// the neon ring's glow, and the studio surroundings as a panorama and as a DDS cube map.
#include <cstdint>
#include <string>
#include <vector>

namespace lab {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<float> rgba;  // rows top first, 0..1

  Picture(int w, int h) : width(w), height(h), rgba(static_cast<size_t>(w) * h * 4, 0.0f) {}
  float* At(int x, int y) { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  const float* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

Picture TilesDiffuse(int size);
Picture TilesNormal(int size);
Picture BrushedMetal(int size);
Picture NeonGlow(int width, int height);
// The surroundings seen in direction (x, y, z), linear 0..1.
void StudioLight(float x, float y, float z, float rgb[3]);
Picture StudioPanorama(int width, int height);

bool WritePng(const Picture& picture, const std::string& path);
// Six faces (+x, −x, +y, −y, +z, −z) of the studio, RGBA8, with a full mip chain.
std::vector<uint8_t> StudioCubeDds(int faceSize);
bool WriteBytes(const std::vector<uint8_t>& bytes, const std::string& path);

}  // namespace lab
