#include "Filter.h"

#include <algorithm>
#include <cmath>

#include "AudioBuffer.h"

namespace music {

void StateVariableFilter::Set(float cutoffHz, float q) {
  const float nyquistSafe = 0.49f * static_cast<float>(kSampleRate);
  const float cutoff = std::clamp(cutoffHz, 10.0f, nyquistSafe);
  m_g = std::tan(3.14159265f * cutoff / static_cast<float>(kSampleRate));
  m_k = 1.0f / std::max(q, 0.05f);
  m_a1 = 1.0f / (1.0f + m_g * (m_g + m_k));
  m_a2 = m_g * m_a1;
  m_a3 = m_g * m_a2;
}

void OnePole::Set(float cutoffHz) {
  m_coefficient = 1.0f - std::exp(-6.28318531f * cutoffHz / static_cast<float>(kSampleRate));
}

}  // namespace music
