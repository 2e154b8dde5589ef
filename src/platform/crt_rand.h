#pragma once
// The runtime library's 15-bit linear-congruential generator: one shared sequence for the
// whole program. glibc's rand has a different range and sequence and must not be used.
#include <cstdint>

namespace platform {

constexpr int kRandMax = 32767;

void srand(uint32_t seed);
int rand();
// Seconds since 1970, the calendar-time seed of the design lines.
int64_t time64();
// Reproducible runs (capture) see this calendar time instead of the real one; a negative
// number goes back to the real time.
void FixCalendarTime(int64_t seconds);

}  // namespace platform
