#include "platform/clock.h"

#include <chrono>

namespace platform {
namespace {

// 10 MHz like the desktop counter: counter × 1000 stays in range for decades of uptime.
constexpr int64_t kFrequency = 10'000'000;
constexpr int64_t kTicksPerMillisecond = kFrequency / 1000;

enum class Source { Steady, FixedStep, Manual };

struct ClockState {
  Source source = Source::Steady;
  int64_t stepTicks = 0;
  int64_t nextTicks = 0;
  int64_t manualTicks = 0;
};

ClockState& State() {
  static ClockState state;
  return state;
}

int64_t SteadyTicks() {
  using namespace std::chrono;
  return duration_cast<duration<int64_t, std::ratio<1, kFrequency>>>(steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

bool QueryPerformanceFrequency(int64_t* frequency) {
  *frequency = kFrequency;
  return true;
}

bool QueryPerformanceCounter(int64_t* counter) {
  ClockState& state = State();
  switch (state.source) {
    case Source::Steady:
      *counter = SteadyTicks();
      break;
    case Source::FixedStep:
      *counter = state.nextTicks;
      state.nextTicks += state.stepTicks;
      break;
    case Source::Manual:
      *counter = state.manualTicks;
      break;
  }
  return true;
}

uint32_t GetTickCount() {
  return static_cast<uint32_t>(SteadyTicks() / kTicksPerMillisecond);
}

void UseSteadyClock() { State().source = Source::Steady; }

void UseFixedStepClock(int64_t stepMilliseconds, int64_t startMilliseconds) {
  ClockState& state = State();
  state.source = Source::FixedStep;
  state.stepTicks = stepMilliseconds * kTicksPerMillisecond;
  state.nextTicks = startMilliseconds * kTicksPerMillisecond;
}

void UseManualClock(int64_t milliseconds) {
  State().source = Source::Manual;
  SetManualClock(milliseconds);
}

void SetManualClock(int64_t milliseconds) { State().manualTicks = milliseconds * kTicksPerMillisecond; }

int64_t ManualClockMilliseconds() { return State().manualTicks / kTicksPerMillisecond; }

}  // namespace platform
