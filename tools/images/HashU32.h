#pragma once
// The integer hash behind the generated pictures' noise: the same input gives the same bits on
// every machine, so the generated content is the same on every build.
#include <cstdint>

inline uint32_t HashU32(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}
