#include "platform/crt_rand.h"

#include <ctime>

namespace platform {
namespace {
uint32_t g_state = 1;
int64_t g_fixedTime = -1;
}

void srand(uint32_t seed) { g_state = seed; }

int rand() {
  g_state = g_state * 214013u + 2531011u;
  return static_cast<int>((g_state >> 16) & 0x7FFFu);
}

int64_t time64() { return g_fixedTime >= 0 ? g_fixedTime : static_cast<int64_t>(std::time(nullptr)); }

void FixCalendarTime(int64_t seconds) { g_fixedTime = seconds; }

}  // namespace platform
