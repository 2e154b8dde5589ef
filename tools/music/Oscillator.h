#pragma once
// Band-limited oscillators (polyBLEP for the edges) and a seeded noise source.
#include <cstdint>

namespace music {

enum class Waveform { Sine, Saw, Square, Triangle };

class Oscillator {
 public:
  Oscillator() = default;
  Oscillator(Waveform waveform, float phase) : m_waveform(waveform), m_phase(phase) {}

  // One sample at `frequency` Hz; advances the phase.
  float Next(float frequency);
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

float MidiToFrequency(float note);

}  // namespace music
