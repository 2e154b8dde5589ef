#pragma once
// Cellular noise: the distance to the nearest of a set of jittered points, one per lattice cell.
// Its hollows and ridges make cobbles, cells, stones and scales.
#include <cstdint>

namespace kit {

// Distance (in lattice cells, 0 … about 1.2) from (x, y) to the nearest feature point, on a
// lattice that repeats every period cells in x and y, so textures that use it tile.
float TiledCellDistance(float x, float y, int period, uint32_t seed);

}  // namespace kit
