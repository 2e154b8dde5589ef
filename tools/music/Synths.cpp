// The pitched voices: bass, pad, pluck, lead, chord stab and FM bell.
#include <algorithm>
#include <cmath>

#include "Envelope.h"
#include "Filter.h"
#include "Voice.h"

namespace music::voice {

void RenderBass(const Note& note, StereoBuffer& out, std::size_t start) {
  const float frequency = MidiToFrequency(note.pitch);
  Envelope amplitude(0.004f, 0.3f, 0.8f, 0.04f);
  Envelope filterEnvelope(0.002f, 0.18f, 0.2f, 0.1f);
  Oscillator saw(Waveform::Saw, 0.0f), sub(Waveform::Sine, 0.0f);
  StateVariableFilter filter;
  const std::size_t held = SampleAt(note.lengthMs);
  const float drive = 1.0f + 4.0f * note.color;
  for (std::size_t i = 0; i < held + Samples(0.2); ++i) {
    if (i == held) {
      amplitude.Release();
      filterEnvelope.Release();
    }
    const float a = amplitude.Next();
    const float f = filterEnvelope.Next();
    if (amplitude.Finished()) break;
    if ((i & 15) == 0) filter.Set(120.0f + (300.0f + 2500.0f * f) * (0.3f + note.brightness), 1.1f);
    const float upper = filter.Process(Saturate(drive * saw.Next(frequency)) / drive * 1.4f, FilterMode::LowPass);
    const float value = (0.9f * sub.Next(frequency) + 0.55f * upper) * a * note.velocity;
    out.Add(start + i, value, value);
  }
}

void RenderPad(const Note& note, StereoBuffer& out, std::size_t start) {
  const float frequency = MidiToFrequency(note.pitch);
  Envelope amplitude(0.6f + 0.8f * note.color, 1.0f, 0.85f, 1.4f);
  constexpr std::array<float, 3> kDetune = {-0.0045f, 0.0f, 0.0052f};
  std::array<Oscillator, 3> left, right;
  for (std::size_t k = 0; k < 3; ++k) {
    left[k] = Oscillator(Waveform::Saw, 0.31f * static_cast<float>(k));
    right[k] = Oscillator(Waveform::Saw, 0.57f + 0.23f * static_cast<float>(k));
  }
  StateVariableFilter filterLeft, filterRight;
  const float cutoff = 350.0f + 3200.0f * note.brightness * note.brightness;
  filterLeft.Set(cutoff, 0.8f);
  filterRight.Set(cutoff, 0.8f);
  Oscillator wobble(Waveform::Sine, 0.0f);
  const std::size_t held = SampleAt(note.lengthMs);
  for (std::size_t i = 0; i < held + Samples(6.0); ++i) {
    if (i == held) amplitude.Release();
    const float a = amplitude.Next();
    if (amplitude.Finished()) break;
    const float drift = 1.0f + 0.002f * wobble.Next(0.3f);
    float l = 0.0f, r = 0.0f;
    for (std::size_t k = 0; k < 3; ++k) {
      l += left[k].Next(frequency * (1.0f + kDetune[k]) * drift);
      r += right[k].Next(frequency * (1.0f - kDetune[k]) * drift);
    }
    const float gain = a * note.velocity * 0.3f;
    out.Add(start + i, filterLeft.Process(l, FilterMode::LowPass) * gain, filterRight.Process(r, FilterMode::LowPass) * gain);
  }
}

void RenderPluck(const Note& note, StereoBuffer& out, std::size_t start) {
  const float frequency = MidiToFrequency(note.pitch);
  Envelope amplitude(0.002f, 0.25f + 0.5f * note.color, 0.0f, 0.1f);
  Oscillator saw(Waveform::Saw, 0.0f), square(Waveform::Square, 0.25f);
  StateVariableFilter filter;
  const std::size_t length = Samples(0.3 + 1.0 * note.color);
  for (std::size_t i = 0; i < length; ++i) {
    const float t = static_cast<float>(i) * kDt;
    const float a = amplitude.Next();
    if ((i & 7) == 0) filter.Set(250.0f + 6000.0f * note.brightness * std::exp(-t / 0.08f), 1.4f);
    const float source = 0.6f * saw.Next(frequency) + 0.4f * square.Next(frequency * 1.003f);
    out.AddPanned(start + i, filter.Process(source, FilterMode::LowPass) * a * note.velocity * 0.6f, note.pan);
  }
}

void RenderLead(const Note& note, StereoBuffer& out, std::size_t start) {
  const float frequency = MidiToFrequency(note.pitch);
  Envelope amplitude(0.012f, 0.4f, 0.7f, 0.18f);
  Oscillator a(Waveform::Saw, 0.0f), b(Waveform::Saw, 0.5f), square(Waveform::Square, 0.1f), vibrato(Waveform::Sine, 0.0f);
  StateVariableFilter filter;
  filter.Set(900.0f + 4500.0f * note.brightness, 0.9f);
  const std::size_t held = SampleAt(note.lengthMs);
  for (std::size_t i = 0; i < held + Samples(1.0); ++i) {
    if (i == held) amplitude.Release();
    const float level = amplitude.Next();
    if (amplitude.Finished()) break;
    const float t = static_cast<float>(i) * kDt;
    const float depth = std::min(1.0f, std::max(0.0f, (t - 0.25f) * 2.0f)) * 0.006f;
    const float f = frequency * (1.0f + depth * vibrato.Next(5.2f));
    const float source = 0.4f * a.Next(f * 1.004f) + 0.4f * b.Next(f * 0.996f) + 0.25f * square.Next(f * 0.5f);
    const float value = filter.Process(source, FilterMode::LowPass) * level * note.velocity * 0.55f;
    out.AddPanned(start + i, value, note.pan);
  }
}

// A chord stab on the note: minor (color 0) or major (color 1) triad with the octave.
void RenderStab(const Note& note, StereoBuffer& out, std::size_t start) {
  const float third = note.color > 0.5f ? 4.0f : 3.0f;
  const std::array<float, 4> intervals = {0.0f, third, 7.0f, 12.0f};
  std::array<Oscillator, 8> oscillators;
  for (std::size_t k = 0; k < oscillators.size(); ++k) oscillators[k] = Oscillator(Waveform::Saw, 0.17f * static_cast<float>(k));
  StateVariableFilter left, right;
  const std::size_t length = Samples(0.12 + note.lengthMs / 1000.0 + 0.6);
  Envelope amplitude(0.002f, 0.12f + static_cast<float>(note.lengthMs) / 1000.0f, 0.0f, 0.1f);
  for (std::size_t i = 0; i < length; ++i) {
    const float t = static_cast<float>(i) * kDt;
    const float level = amplitude.Next();
    if ((i & 7) == 0) {
      const float cutoff = 300.0f + 7000.0f * note.brightness * std::exp(-t / 0.1f);
      left.Set(cutoff, 1.0f);
      right.Set(cutoff * 1.02f, 1.0f);
    }
    float l = 0.0f, r = 0.0f;
    for (std::size_t k = 0; k < 4; ++k) {
      const float f = MidiToFrequency(note.pitch + intervals[k]);
      l += oscillators[2 * k].Next(f * 1.003f);
      r += oscillators[2 * k + 1].Next(f * 0.997f);
    }
    const float gain = level * note.velocity * 0.25f;
    out.Add(start + i, left.Process(l, FilterMode::LowPass) * gain, right.Process(r, FilterMode::LowPass) * gain);
  }
}

// Two-operator FM bell: glassy for the cell, soft for the jellyfish.
void RenderBell(const Note& note, StereoBuffer& out, std::size_t start) {
  const float frequency = MidiToFrequency(note.pitch);
  const float decay = 0.6f + 1.5f * note.color;
  const std::size_t length = Samples(decay * 4.0f);
  float carrier = 0.0f, modulator = 0.0f;
  for (std::size_t i = 0; i < length; ++i) {
    const float t = static_cast<float>(i) * kDt;
    const float index = (0.5f + 3.0f * note.brightness) * std::exp(-t / 0.25f);
    modulator += frequency * 3.5f * kDt;
    carrier += frequency * kDt;
    if (modulator > 1.0f) modulator -= 1.0f;
    if (carrier > 1.0f) carrier -= 1.0f;
    const float value = std::sin(kTwoPi * carrier + index * std::sin(kTwoPi * modulator));
    const float level = std::exp(-t / decay) * std::min(1.0f, t / 0.002f);
    out.AddPanned(start + i, value * level * note.velocity * 0.35f, note.pan);
  }
}

}  // namespace music::voice
