#pragma once
// The span of keys that covers a scene time, shared by tracks and morph keys.
#include <cstddef>
#include <cstdint>

#include "math/interpolation.h"

struct KeySpan {
  size_t prev = 0;
  size_t next = 0;
  float s = 0.0f;  // fraction of the span, in single precision
};

// False with fewer than two keys. Before the first key and at or after the last one both
// indices name that key and s is 0, so its values hold. timeOf(i) is the time of key i.
template <typename TimeOf>
bool FindKeySpan(size_t count, int64_t time, TimeOf timeOf, KeySpan* span) {
  if (count < 2) return false;
  const int later = FindNextKeyBy(static_cast<int>(count), time, timeOf);
  if (later == 0 || later == static_cast<int>(count)) {
    span->prev = span->next = later == 0 ? 0 : count - 1;
    span->s = 0.0f;
    return true;
  }
  span->prev = static_cast<size_t>(later - 1);
  span->next = static_cast<size_t>(later);
  span->s = SpanFraction(time, timeOf(later - 1), timeOf(later));
  return true;
}
