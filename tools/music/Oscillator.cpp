#include "Oscillator.h"

#include <cmath>

#include "AudioBuffer.h"

namespace music {
namespace {

// Removes the aliasing step of a discontinuity at phase 0 (t in 0…1, dt the phase step).
float PolyBlep(float t, float dt) {
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

}  // namespace

float Oscillator::Next(float frequency) {
  const float dt = frequency / static_cast<float>(kSampleRate);
  float value = 0.0f;
  switch (m_waveform) {
    case Waveform::Sine:
      value = std::sin(6.28318531f * m_phase);
      break;
    case Waveform::Saw:
      value = 2.0f * m_phase - 1.0f - PolyBlep(m_phase, dt);
      break;
    case Waveform::Square:
    case Waveform::Triangle: {
      float half = m_phase + 0.5f;
      if (half >= 1.0f) half -= 1.0f;
      value = (m_phase < 0.5f ? 1.0f : -1.0f) + PolyBlep(m_phase, dt) - PolyBlep(half, dt);
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

float MidiToFrequency(float note) { return 440.0f * std::exp2((note - 69.0f) / 12.0f); }

}  // namespace music
