#include "Instruments.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "Envelope.h"
#include "Filter.h"
#include "Oscillator.h"

namespace music {
namespace {

constexpr float kTwoPi = 6.28318531f;
constexpr float kDt = 1.0f / static_cast<float>(kSampleRate);

std::size_t Samples(double seconds) { return static_cast<std::size_t>(seconds * kSampleRate); }

// Each note gets its own noise, fixed by where it starts.
Noise NoiseFor(const Note& note, std::uint32_t salt) {
  const std::uint32_t start = static_cast<std::uint32_t>(SampleAt(note.timeMs));
  return Noise(start * 2654435761u ^ (static_cast<std::uint32_t>(note.voice) + 1u) * 40503u ^ salt * 97u);
}

float Saturate(float x) { return std::tanh(x); }

// Six square waves at inharmonic ratios: the metallic body of hats and cymbals.
class Metal {
 public:
  explicit Metal(float base) {
    constexpr std::array<float, 6> kRatios = {1.0f, 1.342f, 1.2312f, 1.6532f, 1.9523f, 2.1523f};
    for (std::size_t i = 0; i < kRatios.size(); ++i) {
      m_frequencies[i] = base * kRatios[i];
      m_oscillators[i] = Oscillator(Waveform::Square, 0.13f * static_cast<float>(i));
    }
  }
  float Next() {
    float sum = 0.0f;
    for (std::size_t i = 0; i < m_oscillators.size(); ++i) sum += m_oscillators[i].Next(m_frequencies[i]);
    return sum / 6.0f;
  }

 private:
  std::array<Oscillator, 6> m_oscillators;
  std::array<float, 6> m_frequencies{};
};

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

}  // namespace

Bus BusOf(Voice voice) {
  switch (voice) {
    case Voice::Kick:
    case Voice::Snare:
    case Voice::Clap:
    case Voice::HatClosed:
    case Voice::HatOpen:
    case Voice::Crash:
    case Voice::Tom:
      return Bus::Drums;
    case Voice::Impact:
    case Voice::Tick:
    case Voice::Stab:
      return Bus::Accents;
    case Voice::Riser:
    case Voice::Whoosh:
    case Voice::ReverseSwell:
      return Bus::Effects;
    case Voice::Bass:
      return Bus::Bass;
    case Voice::Pad:
      return Bus::Pads;
    case Voice::Lead:
      return Bus::Leads;
    case Voice::Pluck:
    case Voice::Bell:
      return Bus::Plucks;
  }
  return Bus::Effects;
}

void RenderNote(const Note& note, StereoBuffer& out) {
  const std::size_t start = SampleAt(note.timeMs);
  switch (note.voice) {
    case Voice::Kick: RenderKick(note, out, start); break;
    case Voice::Snare: RenderSnare(note, out, start); break;
    case Voice::Clap: RenderClap(note, out, start); break;
    case Voice::HatClosed: RenderHat(note, out, start, false); break;
    case Voice::HatOpen: RenderHat(note, out, start, true); break;
    case Voice::Crash: RenderCrash(note, out, start); break;
    case Voice::Tom: RenderTom(note, out, start); break;
    case Voice::Impact: RenderImpact(note, out, start); break;
    case Voice::Tick: RenderTick(note, out, start); break;
    case Voice::Riser:
    case Voice::Whoosh:
    case Voice::ReverseSwell: RenderSweep(note, out, start); break;
    case Voice::Bass: RenderBass(note, out, start); break;
    case Voice::Pad: RenderPad(note, out, start); break;
    case Voice::Pluck: RenderPluck(note, out, start); break;
    case Voice::Lead: RenderLead(note, out, start); break;
    case Voice::Stab: RenderStab(note, out, start); break;
    case Voice::Bell: RenderBell(note, out, start); break;
  }
}

}  // namespace music
