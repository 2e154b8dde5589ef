#include "CellNoise.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace kit {

float TiledCellDistance(float x, float y, int period, uint32_t seed) {
  const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
  float nearest = 4.0f;
  for (int j = -1; j <= 1; ++j)
    for (int i = -1; i <= 1; ++i) {
      // The feature point of a cell depends only on the cell's place within the period.
      const int wx = ((cx + i) % period + period) % period, wy = ((cy + j) % period + period) % period;
      const float px = static_cast<float>(cx + i) + Random(wx, wy, seed);
      const float py = static_cast<float>(cy + j) + Random(wx, wy, seed + 0x5bd1e995U);
      nearest = std::min(nearest, std::hypot(px - x, py - y));
    }
  return nearest;
}

}  // namespace kit
