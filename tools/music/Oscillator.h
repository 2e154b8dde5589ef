#pragma once
// Band-limited oscillators (polyBLEP for the edges) and a seeded noise source.
#include <cmath>
#include <cstdint>

#include "AudioBuffer.h"

namespace music {

enum class Waveform { Sine, Saw, Square, Triangle };

class Oscillator {
 public:
  Oscillator() = default;
  // The triangle's integrator starts on the wave's value at `phase`, so it starts centred.
  Oscillator(Waveform waveform, float phase)
      : m_waveform(waveform), m_phase(phase), m_triangle(phase < 0.5f ? -1.0f + 4.0f * phase : 3.0f - 4.0f * phase) {}

  // One sample at `frequency` Hz; advances the phase.
  inline float Next(float frequency);
  float Phase() const { return m_phase; }

 private:
  Waveform m_waveform = Waveform::Sine;
  float m_phase = 0.0f;     // 0…1
  float m_triangle = 0.0f;  // leaky integrator state of the band-limited triangle
};

// xorshift32: the same seed gives the same noise on every machine.
class Noise {
 public:
  explicit Noise(std::uint32_t seed = 0x9E3779B9u) : m_state(seed ? seed : 1u) {}
  std::uint32_t NextBits() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
  }
  // Uniform in [-1, 1).
  float Next() { return static_cast<float>(NextBits() >> 8) * (2.0f / 16777216.0f) - 1.0f; }
  // Uniform in [0, 1).
  float NextUnit() { return static_cast<float>(NextBits() >> 8) * (1.0f / 16777216.0f); }

 private:
  std::uint32_t m_state;
};

namespace detail {

// Removes the aliasing step of a discontinuity at phase 0 (t in 0…1, dt the phase step).
inline float PolyBlep(float t, float dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0f;
  }
  if (t > 1.0f - dt) {
    t = (t - 1.0f) / dt;
    return t * t + t + t + 1.0f;
  }
  return 0.0f;
}

}  // namespace detail

inline float Oscillator::Next(float frequency) {
  const float dt = frequency / static_cast<float>(kSampleRate);
  float value = 0.0f;
  switch (m_waveform) {
    case Waveform::Sine:
      value = std::sin(6.28318531f * m_phase);
      break;
    case Waveform::Saw:
      value = 2.0f * m_phase - 1.0f - detail::PolyBlep(m_phase, dt);
      break;
    case Waveform::Square:
    case Waveform::Triangle: {
      float half = m_phase + 0.5f;
      if (half >= 1.0f) half -= 1.0f;
      value = (m_phase < 0.5f ? 1.0f : -1.0f) + detail::PolyBlep(m_phase, dt) - detail::PolyBlep(half, dt);
      if (m_waveform == Waveform::Triangle) {
        // Integrated square, scaled to unit amplitude and slowly leaking any offset away.
        m_triangle = 0.999f * m_triangle + 4.0f * dt * value;
        value = m_triangle;
      }
      break;
    }
  }
  m_phase += dt;
  if (m_phase >= 1.0f) m_phase -= std::floor(m_phase);
  return value;
}

float MidiToFrequency(float note);

}  // namespace music
