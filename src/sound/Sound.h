#pragma once
// The show's music: "music.mp3" from the data directory, and once per frame the latest block of
// what is being heard (512 floats, interleaved stereo) with its largest value, which the
// effects pulse with.
#include <cstdint>

#include "platform/audio.h"

class Sound {
 public:
  static constexpr int kSampleCount = 512;
  static constexpr uint32_t kFrequency = 44100;

  // Always true: without an output device or without the file the show runs silent.
  bool Create();
  // Copies the current output into samples and recomputes peak; always true.
  bool Update();
  // Moves the music to this many milliseconds from its start (starting the show later).
  bool SetPosition(int64_t milliseconds);
  // Stops the music where it is; Resume goes on from there (development mode's pause).
  bool Pause();
  bool Resume();
  // The position of the music being heard, in frames of kFrequency; -1 without a stream.
  int64_t PositionFrames() const;

  HSTREAM stream = 0;
  float samples[kSampleCount] = {};
  float peak = 0.0f;
};

// The largest signed value, never below 0; a NaN never becomes it.
float LargestSample(const float* samples, int count);
