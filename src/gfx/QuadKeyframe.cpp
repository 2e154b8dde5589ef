#include "gfx/QuadKeyframe.h"

#include <cmath>

#include "math/interpolation.h"

namespace {

float Interpolate(int32_t mode, float h, float from, float to) {
  return mode == 0 ? LinearBlend(from, to, h) : CosineBlend(from, to, h);
}

D3DXVECTOR2 Interpolate(int32_t mode, float h, const D3DXVECTOR2& from, const D3DXVECTOR2& to) {
  return D3DXVECTOR2(Interpolate(mode, h, from.x, to.x), Interpolate(mode, h, from.y, to.y));
}

}  // namespace

bool ApplyQuadKeyframes(const std::vector<QuadKeyframe>& keyframes, int64_t now, bool dynamic,
                        QuadAnimatedValues& values) {
  for (const QuadKeyframe& key : keyframes) {
    if (!key.Covers(now)) continue;
    // Modes other than linear and cosine leave every value where it is.
    if (key.mode != 0 && key.mode != 1) return true;
    const float h = key.end == key.start ? 1.0f : SpanFraction(now, key.start, key.end);
    values.alpha = Interpolate(key.mode, h, key.alphaFrom, key.alphaTo);
    if (dynamic)
      for (int i = 0; i < 4; ++i) {
        values.corners[i] = Interpolate(key.mode, h, key.cornersFrom[i], key.cornersTo[i]);
        values.texCoords[i] = Interpolate(key.mode, h, key.texCoordsFrom[i], key.texCoordsTo[i]);
      }
    return true;
  }
  return false;
}
