#pragma once
// The lab scene's pictures, drawn by code: floor tiles with their normal map, brushed metal,
// the neon ring's glow, and the studio surroundings as a panorama and as a DDS cube map.
#include <cstdint>
#include <vector>

#include "Picture.h"

namespace lab {

using kit::Picture;

Picture TilesDiffuse(int size);
Picture TilesNormal(int size);
Picture BrushedMetal(int size);
Picture NeonGlow(int width, int height);
// The surroundings seen in direction (x, y, z), linear 0..1.
void StudioLight(float x, float y, float z, float rgb[3]);
Picture StudioPanorama(int width, int height);
// Six faces (+x, −x, +y, −y, +z, −z) of the studio, RGBA8, with a full mip chain.
std::vector<uint8_t> StudioCubeDds(int faceSize);

}  // namespace lab
