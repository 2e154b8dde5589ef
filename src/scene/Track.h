#pragma once
// Keyframe track of a scene object: position, rotation and scale over scene time.
#include <cstdint>
#include <vector>

#include "math/d3dx_math.h"
#include "scene/C4eFormat.h"

using c4e_format::kInterpolationHermite;
using c4e_format::kInterpolationLinear;
using c4e_format::kInterpolationStep;

struct TrackKey {
  int32_t frame = 0;
  uint32_t time = 0;  // frame × 40 ms
  int32_t interpolation = 0;
  D3DXVECTOR3 position;
  D3DXVECTOR3 rotation;
  D3DXVECTOR3 scale;
};

class Track {
 public:
  // Blends the span around time into the current values; with fewer than two keys nothing
  // changes. Before the first key and from the last key on, that key's values hold.
  void Evaluate(int64_t time);

  // Time of the last key, or 0 without keys.
  uint32_t LastKeyTime() const { return keys.empty() ? 0 : keys.back().time; }

  D3DXVECTOR3 position;
  D3DXVECTOR3 rotation;
  D3DXVECTOR3 scale;
  int32_t keyCount = 0;
  std::vector<TrackKey> keys;
};

// Blends one vector of a span with the given code; false (out untouched) for an unknown code.
bool BlendKeyValue(int32_t interpolation, const D3DXVECTOR3& prev, const D3DXVECTOR3& next, float s,
                   D3DXVECTOR3* out);
