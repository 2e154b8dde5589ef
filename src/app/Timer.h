#pragma once
// The show's only clock: milliseconds since Initialize, frames per second over one-second
// windows, the time between frames, and four oscillators effects pulse with.
#include <cstdint>

constexpr int64_t SHOW_LENGTH_MS = 204200;

class Timer {
 public:
  // The largest step FollowMusic takes: one millisecond of show time for every this many that
  // pass (1 %, unnoticeable in the picture, ample for two clocks that differ by parts per
  // million); differences within the tolerance are the output's own jitter and are left alone.
  static constexpr int64_t kFollowPeriodMs = 100;
  static constexpr int64_t kFollowToleranceMs = 4;

  bool Initialize();
  void Frame();
  // Keeps the show standing at showTime after a Frame (development mode's pause): the clock's
  // start moves on with it, so the next Frame goes on from there; no time passed this frame.
  void Hold(int64_t showTime);
  // Pulls show time gently toward the music's position as it is heard (milliseconds, read
  // right after Frame): a sound card's clock is not the processor's, and over a whole show the
  // two part by tens of milliseconds. Show time never runs backwards.
  void FollowMusic(int64_t musicMs);

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
  // Added to the counter's reading by FollowMusic, and when it last moved (counter time).
  int64_t musicCorrection = 0;
  int64_t lastFollow = 0;
  bool restarted = false;  // no Frame since Initialize

 private:
  void ComputeOscillators();
};

// One millisecond reading of the performance counter (the tick count when it is missing).
int64_t ReadMilliseconds();
