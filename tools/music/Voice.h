#pragma once
// What every synthesiser voice shares: time steps, per-note noise, saturation, and the
// render entry points of the drum and tonal voices.
#include <array>
#include <cmath>
#include <cstdint>

#include "AudioBuffer.h"
#include "Oscillator.h"
#include "Score.h"

namespace music::voice {

inline constexpr float kTwoPi = 6.28318531f;
inline constexpr float kDt = 1.0f / static_cast<float>(kSampleRate);

inline std::size_t Samples(double seconds) { return static_cast<std::size_t>(seconds * kSampleRate); }

// Each note gets its own noise, fixed by where it starts.
inline Noise NoiseFor(const Note& note, std::uint32_t salt) {
  const std::uint32_t start = static_cast<std::uint32_t>(SampleAt(note.timeMs));
  return Noise(start * 2654435761u ^ (static_cast<std::uint32_t>(note.voice) + 1u) * 40503u ^ salt * 97u);
}

inline float Saturate(float x) { return std::tanh(x); }

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

// Drums, hits and sweeps (Drums.cpp).
void RenderKick(const Note& note, StereoBuffer& out, std::size_t start);
void RenderSnare(const Note& note, StereoBuffer& out, std::size_t start);
void RenderClap(const Note& note, StereoBuffer& out, std::size_t start);
void RenderHat(const Note& note, StereoBuffer& out, std::size_t start, bool open);
void RenderCrash(const Note& note, StereoBuffer& out, std::size_t start);
void RenderTom(const Note& note, StereoBuffer& out, std::size_t start);
void RenderImpact(const Note& note, StereoBuffer& out, std::size_t start);
void RenderTick(const Note& note, StereoBuffer& out, std::size_t start);
void RenderSweep(const Note& note, StereoBuffer& out, std::size_t start);

// Pitched voices (Synths.cpp).
void RenderBass(const Note& note, StereoBuffer& out, std::size_t start);
void RenderPad(const Note& note, StereoBuffer& out, std::size_t start);
void RenderPluck(const Note& note, StereoBuffer& out, std::size_t start);
void RenderLead(const Note& note, StereoBuffer& out, std::size_t start);
void RenderStab(const Note& note, StereoBuffer& out, std::size_t start);
void RenderBell(const Note& note, StereoBuffer& out, std::size_t start);

}  // namespace music::voice
