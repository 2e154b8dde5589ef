#include "fx/GlitchSound.h"

#include <cmath>

#include "app/Timer.h"
#include "sound/Sound.h"

bool GlitchSound::Create() {
  interval = 67;
  threshold = 0.01f;
  gain = 25.0f;
  repeat = 4;
  sampleStep = 2;
  colour = 0.9f;
  return CreateEntries();
}

void GlitchSound::Update() {
  if (!entries) return;
  const int64_t now = m_renderContext.timer ? m_renderContext.timer->elapsed : 0;
  if (now - lastUpdate < interval) return;
  lastUpdate = now;

  const Sound* sound = m_renderContext.sound;
  for (int32_t i = 0; i < kSampleCount; ++i) {
    const float sample = sound ? sound->samples[i] : 0.0f;
    // Quiet samples are silence; so is a sample that is not a number, which would otherwise
    // carry into the picture's coordinates.
    scaledSamples[i] = !(std::fabs(sample) >= threshold) ? 0.0f : sample * gain;
  }
  const int32_t perSample = repeat > 0 ? repeat : 1;
  int32_t s = 0;
  for (int32_t i = 0; i < kEntryCount; ++i) {
    const float w = scaledSamples[s];
    const float c = w == 0.0f ? 1.0f : colour;
    SetEntry(i, c, c, c, w);
    if ((i + 1) % perSample == 0) {
      s += sampleStep;
      if (s >= kSampleCount || s < 0) s = 0;
    }
  }
  CopyIntoShader();
}
