#pragma once
// The glitch of the show's last part: every 67 ms it turns the music's waveform into entries,
// one every second sample (the left channel), each held for four entries, and copies them into
// the post-processing program itself. Quiet samples leave their entries neutral.
#include <cstdint>

#include "fx/GlitchEntries.h"

class GlitchSound : public GlitchEntries {
 public:
  static constexpr int32_t kSampleCount = 512;

  explicit GlitchSound(const RenderContext& renderContext) : GlitchEntries(renderContext) {}
  ~GlitchSound() { Shutdown(); }
  GlitchSound(const GlitchSound&) = delete;
  GlitchSound& operator=(const GlitchSound&) = delete;

  bool Create();
  // Does nothing until `interval` ms have passed since lastUpdate (the holder's throttle).
  void Update();

  int64_t interval = 67;
  float threshold = 0.01f;  // samples closer to zero count as silence
  float gain = 25.0f;       // the blob scene moves it with the slow oscillator
  int32_t repeat = 4;       // entries per sample
  int32_t sampleStep = 2;   // every second sample: the first channel of the interleaved block
  float colour = 0.9f;      // x, y and z of entries that are not silent
  float scaledSamples[kSampleCount] = {};
};
