#pragma once
// From score to master: voices rendered onto their buses, kick ducking, glitch windows,
// reverb and delay, the bus compressor, loudness set to the target, and the limiter.
#include "AudioBuffer.h"
#include "Score.h"

namespace music {

struct MasterSettings {
  double lengthMs = 204200.0;
  double targetLufs = -14.0;
  float ceiling = 0.89f;  // about -1 dBFS, headroom for the MP3's inter-sample overshoot
  double fadeStartMs = 197000.0;
  double silenceFromMs = 203500.0;
};

struct MixReport {
  double loudnessLufs = 0.0;
  float samplePeak = 0.0f;
};

StereoBuffer RenderShow(const Score& score, const MasterSettings& settings, MixReport& report);

}  // namespace music
