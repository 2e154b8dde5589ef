// Drum synthesis: every drum, hit and noise sweep is built from oscillators, noise and filters.
#include <algorithm>
#include <cmath>

#include "Filter.h"
#include "Voice.h"

namespace music::voice {

void RenderKick(const Note& note, StereoBuffer& out, std::size_t start) {
  const float tune = std::exp2(note.pitch / 12.0f);
  const float decay = 0.28f + 0.25f * note.color;
  const std::size_t length = Samples(decay * 4.0f);
  Noise noise = NoiseFor(note, 1);
  OnePole clickFilter;
  clickFilter.Set(3000.0f);
  float phase = 0.0f;
  for (std::size_t i = 0; i < length; ++i) {
    const float t = static_cast<float>(i) * kDt;
    const float frequency = tune * (45.0f + 110.0f * std::exp(-t / 0.035f));
    phase += frequency * kDt;
    const float body = std::sin(kTwoPi * phase) * std::exp(-t / decay);
    const float click = clickFilter.HighPass(noise.Next()) * std::exp(-t / 0.004f) * 0.5f;
    const float attack = std::min(1.0f, t / 0.0008f);
    const float value = Saturate(1.6f * (body + click) * attack) * note.velocity;
    out.AddPanned(start + i, value, note.pan);
  }
}

void RenderSnare(const Note& note, StereoBuffer& out, std::size_t start) {
  const std::size_t length = Samples(0.45);
  Noise noise = NoiseFor(note, 2);
  StateVariableFilter band;
  band.Set(2200.0f * std::exp2(note.pitch / 12.0f), 0.6f);
  float phase = 0.0f;
  for (std::size_t i = 0; i < length; ++i) {
    const float t = static_cast<float>(i) * kDt;
    phase += (180.0f + 60.0f * std::exp(-t / 0.01f)) * kDt;
    const float tone = std::sin(kTwoPi * phase) * std::exp(-t / 0.05f) * 0.6f;
    const float rattle = band.Process(noise.Next(), FilterMode::BandPass) * std::exp(-t / (0.09f + 0.08f * note.color));
    out.AddPanned(start + i, Saturate(1.4f * (tone + 1.3f * rattle)) * note.velocity, note.pan);
  }
}

void RenderClap(const Note& note, StereoBuffer& out, std::size_t start) {
  const std::size_t length = Samples(0.5);
  Noise noise = NoiseFor(note, 3);
  StateVariableFilter band;
  band.Set(1300.0f, 1.2f);
  for (std::size_t i = 0; i < length; ++i) {
    const float t = static_cast<float>(i) * kDt;
    // Three quick claps, then the room.
    float envelope = std::exp(-t / 0.12f) * 0.7f;
    for (float offset : {0.0f, 0.011f, 0.022f}) {
      if (t >= offset) envelope += std::exp(-(t - offset) / 0.006f);
    }
    const float value = band.Process(noise.Next(), FilterMode::BandPass) * envelope * 1.8f;
    out.AddPanned(start + i, value * note.velocity, note.pan);
  }
}

void RenderHat(const Note& note, StereoBuffer& out, std::size_t start, bool open) {
  const float decay = open ? 0.22f : 0.035f + 0.02f * note.color;
  const std::size_t length = Samples(decay * 5.0f);
  Noise noise = NoiseFor(note, 4);
  Metal metal(420.0f);
  StateVariableFilter highPass;
  highPass.Set(7500.0f, 0.8f);
  for (std::size_t i = 0; i < length; ++i) {
    const float t = static_cast<float>(i) * kDt;
    const float source = 0.6f * metal.Next() + 0.5f * noise.Next();
    const float value = highPass.Process(source, FilterMode::HighPass) * std::exp(-t / decay);
    out.AddPanned(start + i, value * note.velocity, note.pan);
  }
}

void RenderCrash(const Note& note, StereoBuffer& out, std::size_t start) {
  const float decay = 0.6f + 0.6f * note.color;
  const std::size_t length = Samples(decay * 4.0f);
  Noise noiseLeft = NoiseFor(note, 5), noiseRight = NoiseFor(note, 6);
  Metal metal(330.0f);
  StateVariableFilter highLeft, highRight;
  highLeft.Set(3800.0f, 0.7f);
  highRight.Set(3800.0f, 0.7f);
  for (std::size_t i = 0; i < length; ++i) {
    const float t = static_cast<float>(i) * kDt;
    const float envelope = (std::exp(-t / decay) + 0.6f * std::exp(-t / 0.03f)) * note.velocity * 0.8f;
    const float ring = 0.4f * metal.Next();
    const float left = highLeft.Process(ring + noiseLeft.Next(), FilterMode::HighPass) * envelope;
    const float right = highRight.Process(ring + noiseRight.Next(), FilterMode::HighPass) * envelope;
    out.Add(start + i, left, right);
  }
}

void RenderTom(const Note& note, StereoBuffer& out, std::size_t start) {
  const float base = MidiToFrequency(note.pitch);
  const std::size_t length = Samples(0.9);
  Noise noise = NoiseFor(note, 7);
  float phase = 0.0f;
  for (std::size_t i = 0; i < length; ++i) {
    const float t = static_cast<float>(i) * kDt;
    phase += base * (1.0f + 0.6f * std::exp(-t / 0.03f)) * kDt;
    const float value = std::sin(kTwoPi * phase) * std::exp(-t / 0.2f) + 0.2f * noise.Next() * std::exp(-t / 0.01f);
    out.AddPanned(start + i, Saturate(1.5f * value) * note.velocity, note.pan);
  }
}

// A cinematic hit: a deep falling boom, a noise burst and a distorted crack.
void RenderImpact(const Note& note, StereoBuffer& out, std::size_t start) {
  const float decay = 0.5f + 0.9f * note.color;
  const std::size_t length = Samples(decay * 4.0f);
  Noise noise = NoiseFor(note, 8);
  StateVariableFilter lowPass;
  lowPass.Set(900.0f, 0.7f);
  float phase = 0.0f;
  for (std::size_t i = 0; i < length; ++i) {
    const float t = static_cast<float>(i) * kDt;
    phase += (38.0f + 120.0f * std::exp(-t / 0.06f)) * kDt;
    const float boom = std::sin(kTwoPi * phase) * std::exp(-t / decay);
    const float burst = lowPass.Process(noise.Next(), FilterMode::LowPass) * std::exp(-t / 0.12f);
    const float crack = noise.Next() * std::exp(-t / 0.008f) * 0.6f;
    const float attack = std::min(1.0f, t / 0.001f);
    out.AddPanned(start + i, Saturate(1.8f * (boom + burst + crack) * attack) * note.velocity, note.pan);
  }
}

// A short bright click with a high ping: light flashes.
void RenderTick(const Note& note, StereoBuffer& out, std::size_t start) {
  const std::size_t length = Samples(0.25);
  Noise noise = NoiseFor(note, 9);
  StateVariableFilter band;
  band.Set(4200.0f, 2.0f);
  const float ping = MidiToFrequency(note.pitch);
  for (std::size_t i = 0; i < length; ++i) {
    const float t = static_cast<float>(i) * kDt;
    const float value = band.Process(noise.Next(), FilterMode::BandPass) * std::exp(-t / 0.012f) * 2.0f +
                        std::sin(kTwoPi * ping * t) * std::exp(-t / 0.06f) * 0.5f;
    out.AddPanned(start + i, value * note.velocity, note.pan);
  }
}

// Filtered noise swept upwards (riser) or through a bell-shaped pass (whoosh), or a swell
// that grows until it stops dead (a reversed cymbal).
void RenderSweep(const Note& note, StereoBuffer& out, std::size_t start) {
  const std::size_t length = std::max<std::size_t>(1, SampleAt(note.lengthMs));
  Noise noiseLeft = NoiseFor(note, 10), noiseRight = NoiseFor(note, 11);
  StateVariableFilter left, right;
  Oscillator tone(Waveform::Saw, 0.0f);
  for (std::size_t i = 0; i < length; ++i) {
    const float p = static_cast<float>(i) / static_cast<float>(length);
    float cutoff = 0.0f, envelope = 0.0f, q = 1.5f;
    if (note.voice == Voice::Riser) {
      cutoff = 200.0f * std::pow(60.0f, p);
      // Rises, then drops away just before the hit it leads into, so the hit stands clear.
      envelope = p < 0.88f ? p * p : 0.7744f * (1.0f - p) / 0.12f;
      q = 3.0f;
    } else if (note.voice == Voice::Whoosh) {
      cutoff = 400.0f + 2600.0f * std::sin(3.14159265f * p);
      envelope = std::sin(3.14159265f * p);
      envelope *= envelope;
    } else {
      cutoff = 6000.0f;
      envelope = std::pow(p, 3.0f);
    }
    left.Set(cutoff, q);
    right.Set(cutoff * 1.05f, q);
    float shimmer = 0.0f;
    if (note.voice == Voice::Riser) shimmer = 0.15f * tone.Next(MidiToFrequency(note.pitch) * (1.0f + 2.0f * p));
    const FilterMode mode = note.voice == Voice::ReverseSwell ? FilterMode::HighPass : FilterMode::BandPass;
    const float l = left.Process(noiseLeft.Next() + shimmer, mode) * envelope * note.velocity;
    const float r = right.Process(noiseRight.Next() + shimmer, mode) * envelope * note.velocity;
    out.Add(start + i, l, r);
  }
}

}  // namespace music::voice
