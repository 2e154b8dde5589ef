#pragma once
// One keyed span of a quad's animation: alpha and (for dynamic quads) corners and texture
// coordinates move from their "from" to their "to" values between start and end, both inclusive.
#include <cstdint>
#include <vector>

#include "math/d3dx_math.h"

struct QuadKeyframe {
  int32_t mode = 0;  // 0 linear, 1 cosine
  int64_t start = 0;
  int64_t end = 0;
  float alphaFrom = 0.0f;
  float alphaTo = 0.0f;
  D3DXVECTOR2 cornersFrom[4];
  D3DXVECTOR2 cornersTo[4];
  D3DXVECTOR2 texCoordsFrom[4];
  D3DXVECTOR2 texCoordsTo[4];

  bool Covers(int64_t now) const { return now >= start && now <= end; }
};

// What the keyframes animate on a quad.
struct QuadAnimatedValues {
  float alpha = 0.0f;
  D3DXVECTOR2 corners[4];
  D3DXVECTOR2 texCoords[4];
};

// Applies the first keyframe whose span holds `now` (the one added first wins an overlap);
// corners and texture coordinates only when `dynamic`. Returns false, changing nothing, when
// no keyframe covers `now`. A span of zero length counts as finished: h is 1.
bool ApplyQuadKeyframes(const std::vector<QuadKeyframe>& keyframes, int64_t now, bool dynamic,
                        QuadAnimatedValues& values);
