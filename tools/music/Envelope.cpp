#include "Envelope.h"

#include <algorithm>
#include <cmath>

#include "AudioBuffer.h"

namespace music {

float SegmentCoefficient(float seconds) {
  const float samples = std::max(1.0f, seconds * static_cast<float>(kSampleRate));
  return std::exp(std::log(0.01f) / samples);
}

Envelope::Envelope(float attackSeconds, float decaySeconds, float sustain, float releaseSeconds)
    : m_attackSamples(std::max(1.0f, std::round(attackSeconds * static_cast<float>(kSampleRate)))),
      m_decayCoefficient(SegmentCoefficient(decaySeconds)),
      m_releaseCoefficient(SegmentCoefficient(releaseSeconds)),
      m_sustain(std::clamp(sustain, 0.0f, 1.0f)) {}

float Envelope::Next() {
  switch (m_stage) {
    case Stage::Attack:
      // Counted, not accumulated, so the attack ends on its exact sample.
      m_attackCount += 1.0f;
      m_value = m_attackCount / m_attackSamples;
      if (m_attackCount >= m_attackSamples) {
        m_value = 1.0f;
        m_stage = Stage::Decay;
      }
      break;
    case Stage::Decay:
      m_value = m_sustain + (m_value - m_sustain) * m_decayCoefficient;
      break;
    case Stage::Release:
      m_value *= m_releaseCoefficient;
      if (m_value < 1e-4f) {
        m_value = 0.0f;
        m_stage = Stage::Done;
      }
      break;
    case Stage::Done:
      m_value = 0.0f;
      break;
  }
  return m_value;
}

void Envelope::Release() {
  if (m_stage != Stage::Done) m_stage = Stage::Release;
}

}  // namespace music
