#pragma once
// Events the scene's owner attaches to a scene, keyed on the show time.
#include <cstdint>

// Changes the playback speed once, optionally jumping to a frame.
struct SpeedEvent {
  bool fired = false;
  int64_t time = 0;
  float speed = 1.0f;
  int32_t jumpFrame = -1;  // −1: no jump
};

// Rolls the camera by degrees at start, easing back to 0 at end.
struct RollEvent {
  int64_t start = 0;
  int64_t end = 0;
  float degrees = 0.0f;
};

// Shakes the camera with an amplitude that fades to 0 at end.
struct ShakeEvent {
  int64_t start = 0;
  int64_t end = 0;
  float amplitude = 0.0f;
};
