#pragma once
// Filters: a state-variable filter (topology-preserving transform, so sweeping the cutoff
// per sample stays stable) and a one-pole smoother/high-pass.

namespace music {

enum class FilterMode { LowPass, HighPass, BandPass };

class StateVariableFilter {
 public:
  // q = 0.7071 gives a Butterworth response: -3 dB at the cutoff.
  void Set(float cutoffHz, float q);
  float Process(float input, FilterMode mode) {
    const float v3 = input - m_ic2;
    const float v1 = m_a1 * m_ic1 + m_a2 * v3;
    const float v2 = m_ic2 + m_a2 * m_ic1 + m_a3 * v3;
    m_ic1 = 2.0f * v1 - m_ic1;
    m_ic2 = 2.0f * v2 - m_ic2;
    switch (mode) {
      case FilterMode::LowPass:
        return v2;
      case FilterMode::BandPass:
        return v1;
      case FilterMode::HighPass:
        return input - m_k * v1 - v2;
    }
    return v2;
  }
  void Reset() { m_ic1 = m_ic2 = 0.0f; }

 private:
  float m_g = 0.0f;
  float m_k = 1.41421356f;
  float m_a1 = 0.0f, m_a2 = 0.0f, m_a3 = 0.0f;
  float m_ic1 = 0.0f, m_ic2 = 0.0f;
};

class OnePole {
 public:
  void Set(float cutoffHz);
  float LowPass(float input) {
    m_state += m_coefficient * (input - m_state);
    return m_state;
  }
  float HighPass(float input) { return input - LowPass(input); }

 private:
  float m_coefficient = 1.0f;
  float m_state = 0.0f;
};

}  // namespace music
