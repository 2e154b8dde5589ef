#include "app/Timer.h"

#include <algorithm>
#include <cmath>

#include "platform/clock.h"

namespace {
// Refreshed on every reading, as the counter's frequency is process-wide.
int64_t g_counterFrequency = 0;
}  // namespace

int64_t ReadMilliseconds() {
  if (platform::QueryPerformanceFrequency(&g_counterFrequency) && g_counterFrequency != 0) {
    int64_t counter = 0;
    platform::QueryPerformanceCounter(&counter);
    return (counter * 1000) / g_counterFrequency;
  }
  return static_cast<int64_t>(static_cast<uint64_t>(platform::GetTickCount()));
}

bool Timer::Initialize() {
  const int64_t now = ReadMilliseconds();
  fpsStamp = now;
  startTime = now;
  previousTime = now;
  currentTime = now;
  musicCorrection = 0;
  lastFollow = now;
  restarted = true;
  return true;
}

void Timer::Frame() {
  ++frameCount;

  const int64_t first = ReadMilliseconds();
  // A correction toward the music that slows the show never turns it back; only Initialize
  // starts show time again.
  const int64_t shown = first - startTime + musicCorrection;
  elapsed = restarted ? shown : std::max(elapsed, shown);
  restarted = false;
  if (first >= fpsStamp + 1000) {
    fps = frameCount;
    frameCount = 0;
    fpsStamp = first;
  }

  const int64_t second = ReadMilliseconds();
  currentTime = second;
  delta = second - previousTime;
  previousTime = second;
  ComputeOscillators();
}

void Timer::Hold(int64_t showTime) {
  startTime += elapsed - showTime;
  elapsed = showTime;
  delta = 0;
  ComputeOscillators();
}

void Timer::ComputeOscillators() {
  // Float rounding at every step, as the effects were tuned with it.
  const float t = static_cast<float>(static_cast<double>(elapsed) / 1000.0);
  const float fast = t * 6.0f;
  const float slow = t * 0.6f;
  oscSinFast = std::sin(fast);
  oscSinSlow = std::sin(slow);
  oscCosFast = std::cos(fast);
  oscCosSlow = std::cos(slow);
}

void Timer::FollowMusic(int64_t musicMs) {
  const int64_t allowed = (currentTime - lastFollow) / kFollowPeriodMs;
  if (allowed <= 0) return;
  lastFollow += allowed * kFollowPeriodMs;
  const int64_t difference = musicMs - elapsed;
  if (difference > kFollowToleranceMs) {
    musicCorrection += std::min(allowed, difference - kFollowToleranceMs);
  } else if (difference < -kFollowToleranceMs) {
    musicCorrection -= std::min(allowed, -difference - kFollowToleranceMs);
  }
}
