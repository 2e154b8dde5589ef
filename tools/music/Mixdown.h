#pragma once
// From score to master: voices rendered onto their buses, kick ducking, glitch windows,
// reverb and delay, the bus compressor, loudness set to the target, and the limiter.
#include "AudioBuffer.h"
#include "Score.h"

namespace music {

struct MasterSettings {
  double lengthMs = 204200.0;
  // The MP3's low-pass takes about 0.3 LU off the bright top; aim that much higher.
  double targetLufs = -13.7;
  float ceiling = 0.84f;  // -1.5 dBFS: headroom for the MP3's inter-sample overshoot
  double fadeStartMs = 197000.0;
  double silenceFromMs = 203500.0;
};

struct MixReport {
  double loudnessLufs = 0.0;
  float samplePeak = 0.0f;
  float limiterMaxReductionDb = 0.0f;  // the deepest the limiter had to go
  double limiterActiveShare = 0.0;     // share of the frames it turned down by more than 1 dB
};

StereoBuffer RenderShow(const Score& score, const MasterSettings& settings, MixReport& report);

}  // namespace music
