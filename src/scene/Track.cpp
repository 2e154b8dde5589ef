#include "scene/Track.h"

#include "scene/KeySpan.h"

bool BlendKeyValue(int32_t interpolation, const D3DXVECTOR3& prev, const D3DXVECTOR3& next, float s,
                   D3DXVECTOR3* out) {
  static const D3DXVECTOR3 kNoTangent;
  switch (interpolation) {
    case kInterpolationHermite:
      D3DXVec3Hermite(out, &prev, &kNoTangent, &next, &kNoTangent, s);
      return true;
    case kInterpolationLinear:
      D3DXVec3Lerp(out, &prev, &next, s);
      return true;
    case kInterpolationStep:
      *out = prev;
      return true;
    default:
      return false;
  }
}

void Track::Evaluate(int64_t time) {
  KeySpan span;
  if (!FindKeySpan(keys.size(), time, [this](size_t i) { return keys[i].time; }, &span)) return;
  const TrackKey& a = keys[span.prev];
  const TrackKey& b = keys[span.next];
  const float s = span.s;
  if (span.prev == span.next) {
    scale = a.scale;
    rotation = a.rotation;
    position = a.position;
    return;
  }
  BlendKeyValue(a.interpolation, a.scale, b.scale, s, &scale);
  BlendKeyValue(a.interpolation, a.rotation, b.rotation, s, &rotation);
  BlendKeyValue(a.interpolation, a.position, b.position, s, &position);
}
