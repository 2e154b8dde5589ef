#pragma once
// The tiny interpolation helpers every animated thing of the show shares: quads, the lens,
// slides, roll events and scene tracks use these and no copies of their own.
#include <cmath>
#include <cstdint>

#include "math/d3dx_math.h"

// Fraction of the span start…end reached at time t, in single precision with each time
// converted to float first. A span of zero length gives 0.
inline float SpanFraction(int64_t t, int64_t start, int64_t end) {
  const float length = static_cast<float>(end) - static_cast<float>(start);
  if (length == 0.0f) return 0.0f;
  return (static_cast<float>(t) - static_cast<float>(start)) / length;
}

// Cosine ease: (1 − cos(π·h)) / 2, 0 at h = 0, ½ at h = ½, 1 at h = 1.
inline float CosineEase(float h) { return (1.0f - std::cos(D3DX_PI * h)) * 0.5f; }

// Cosine ease between two values: (1 − k)·from + k·to with k the eased fraction of h.
inline float CosineBlend(float from, float to, float h) {
  const float k = CosineEase(h);
  return (1.0f - k) * from + k * to;
}

// from + s × (to − from).
inline float LinearBlend(float from, float to, float s) { return from + s * (to - from); }

// Index of the first key whose time is greater than t, or count when there is none: the
// span for t runs from key index − 1 to key index. timeOf(i) gives the time of key i; keys are
// sorted by ascending time.
template <typename TimeOf>
int FindNextKeyBy(int count, int64_t t, TimeOf timeOf) {
  int low = 0, high = count;
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (static_cast<int64_t>(timeOf(middle)) > t) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

template <typename Key>
int FindNextKey(const Key* keys, int count, int64_t t) {
  return FindNextKeyBy(count, t, [keys](int i) { return keys[i].time; });
}
