#pragma once
// The performance counter the Timer reads, with an injectable source: the steady clock for
// live runs, a fixed step per reading for tests, a manual time for capture.
#include <cstdint>

namespace platform {

bool QueryPerformanceFrequency(int64_t* frequency);
bool QueryPerformanceCounter(int64_t* counter);
uint32_t GetTickCount();

void UseSteadyClock();
// Every counter reading advances the clock by stepMilliseconds (the first reads startMilliseconds).
void UseFixedStepClock(int64_t stepMilliseconds, int64_t startMilliseconds = 0);
// Readings return the time last set with SetManualClock.
void UseManualClock(int64_t milliseconds);
void SetManualClock(int64_t milliseconds);
// The time last set with SetManualClock, for what follows the capture clock without being a
// counter reading of its own (the music decoded for capture).
int64_t ManualClockMilliseconds();

}  // namespace platform
