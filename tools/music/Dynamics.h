#pragma once
// Dynamics of the master bus: a stereo-linked compressor and a look-ahead peak limiter.
#include "AudioBuffer.h"

namespace music {

struct CompressorSettings {
  float thresholdDb = -18.0f;
  float ratio = 3.0f;
  float attackSeconds = 0.01f;
  float releaseSeconds = 0.15f;
  float kneeDb = 6.0f;
};

// Glue compression: gain from a smoothed stereo peak level, soft knee, no make-up gain.
void Compress(StereoBuffer& buffer, const CompressorSettings& settings);

// Brick-wall limiter: no output sample exceeds `ceiling` in magnitude. The gain is the
// running minimum of the needed gain over the look-ahead, released gently and smoothed by a
// moving average of the same length, with the signal delayed to match; the result stays
// aligned with the input (the look-ahead delay is taken out again).
void Limit(StereoBuffer& buffer, float ceiling, float lookAheadSeconds, float releaseSeconds);

float DecibelsToGain(float decibels);
float GainToDecibels(float gain);

}  // namespace music
