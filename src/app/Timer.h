#pragma once
// The show's only clock: milliseconds since Initialize, frames per second over one-second
// windows, the time between frames, and four oscillators effects pulse with.
#include <cstdint>

constexpr int64_t SHOW_LENGTH_MS = 204200;

class Timer {
 public:
  bool Initialize();
  void Frame();
  // Keeps the show standing at showTime after a Frame (development mode's pause): the clock's
  // start moves on with it, so the next Frame goes on from there; no time passed this frame.
  void Hold(int64_t showTime);

  int64_t fpsStamp = 0;
  int64_t startTime = 0;
  int32_t fps = 0;
  int32_t frameCount = 0;
  int64_t elapsed = 0;
  int64_t previousTime = 0;
  int64_t currentTime = 0;
  int64_t delta = 0;
  float oscSinFast = 0.0f;
  float oscSinSlow = 0.0f;
  float oscCosFast = 0.0f;
  float oscCosSlow = 0.0f;

 private:
  void ComputeOscillators();
};

// One millisecond reading of the performance counter (the tick count when it is missing).
int64_t ReadMilliseconds();
