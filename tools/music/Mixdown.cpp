#include "Mixdown.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "Composition.h"
#include "Dynamics.h"
#include "Effects.h"
#include "Filter.h"
#include "Glitch.h"
#include "Instruments.h"
#include "Loudness.h"

namespace music {
namespace {

constexpr std::size_t kBusCount = static_cast<std::size_t>(Bus::Count);

struct BusMix {
  float gain;
  float reverbSend;
  float delaySend;
  float highPassHz;  // keeps the low end to the kick and the bass
  bool ducked;
};

// Drums, Bass, Pads, Leads, Plucks, Accents, Effects.
constexpr std::array<BusMix, kBusCount> kBusMix = {{
    {0.9f, 0.06f, 0.0f, 0.0f, false},
    {0.8f, 0.0f, 0.0f, 0.0f, true},
    {0.55f, 0.35f, 0.0f, 150.0f, true},
    {0.5f, 0.2f, 0.25f, 180.0f, true},
    {0.45f, 0.2f, 0.3f, 200.0f, true},
    {0.85f, 0.25f, 0.0f, 0.0f, false},
    {0.4f, 0.3f, 0.0f, 120.0f, false},
}};

void HighPass(StereoBuffer& buffer, float cutoffHz) {
  StateVariableFilter left, right;
  left.Set(cutoffHz, 0.7071f);
  right.Set(cutoffHz, 0.7071f);
  for (std::size_t i = 0; i < buffer.Frames(); ++i) {
    buffer.left[i] = left.Process(buffer.left[i], FilterMode::HighPass);
    buffer.right[i] = right.Process(buffer.right[i], FilterMode::HighPass);
  }
}

// Gain that dips under every kick and impact so bass and pads make room (side-chain).
std::vector<float> DuckingGain(const Score& score, std::size_t frames) {
  std::vector<float> gain(frames, 1.0f);
  const std::size_t attack = SampleAt(5.0), length = SampleAt(250.0);
  for (const Note& note : score) {
    if (note.voice != Voice::Kick && note.voice != Voice::Impact) continue;
    const float depth = 0.55f * std::min(1.0f, note.velocity);
    const std::size_t start = SampleAt(note.timeMs);
    for (std::size_t i = 0; i < attack + length && start + i < frames; ++i) {
      const float shape = i < attack ? static_cast<float>(i) / static_cast<float>(attack)
                                     : std::exp(-static_cast<float>(i - attack) / static_cast<float>(SampleAt(70.0)));
      gain[start + i] = std::min(gain[start + i], 1.0f - depth * shape);
    }
  }
  return gain;
}

float SamplePeak(const StereoBuffer& buffer) {
  float peak = 0.0f;
  for (std::size_t i = 0; i < buffer.Frames(); ++i) {
    peak = std::max({peak, std::fabs(buffer.left[i]), std::fabs(buffer.right[i])});
  }
  return peak;
}

void FadeOut(StereoBuffer& buffer, const MasterSettings& settings) {
  const std::size_t fadeStart = SampleAt(settings.fadeStartMs);
  const std::size_t silence = std::min(buffer.Frames(), SampleAt(settings.silenceFromMs));
  for (std::size_t i = fadeStart; i < buffer.Frames(); ++i) {
    float gain = 0.0f;
    if (i < silence) {
      const float p = static_cast<float>(i - fadeStart) / static_cast<float>(silence - fadeStart);
      gain = 0.5f * (1.0f + std::cos(3.14159265f * p));
    }
    buffer.left[i] *= gain;
    buffer.right[i] *= gain;
  }
}

}  // namespace

StereoBuffer RenderShow(const Score& score, const MasterSettings& settings, MixReport& report) {
  const std::size_t frames = SampleAt(settings.lengthMs);
  std::array<StereoBuffer, kBusCount> buses;
  for (StereoBuffer& bus : buses) bus = StereoBuffer(frames);
  for (const Note& note : score) RenderNote(note, buses[static_cast<std::size_t>(BusOf(note.voice))]);

  const std::vector<float> duck = DuckingGain(score, frames);
  StereoBuffer music(frames), accents(frames), reverbSend(frames), delaySend(frames);
  for (std::size_t b = 0; b < kBusCount; ++b) {
    StereoBuffer& bus = buses[b];
    const BusMix& mix = kBusMix[b];
    if (mix.highPassHz > 0.0f) HighPass(bus, mix.highPassHz);
    if (mix.ducked) {
      for (std::size_t i = 0; i < frames; ++i) {
        bus.left[i] *= duck[i];
        bus.right[i] *= duck[i];
      }
    }
    const bool isAccent = static_cast<Bus>(b) == Bus::Accents || static_cast<Bus>(b) == Bus::Effects;
    (isAccent ? accents : music).Mix(bus, mix.gain);
    if (mix.reverbSend > 0.0f) reverbSend.Mix(bus, mix.gain * mix.reverbSend);
    if (mix.delaySend > 0.0f) delaySend.Mix(bus, mix.gain * mix.delaySend);
  }
  // The glitch windows break up the groove; the accents on top stay intact.
  ApplyGlitchWindows(music);

  StereoBuffer master = std::move(music);
  master.Mix(accents, 1.0f);
  // Dotted eighth echoes on the beat of 690 ms.
  ApplyPingPongDelay(delaySend, master, 0.5175f, 0.4f, 3500.0f);
  StereoBuffer wet(frames);
  ApplyReverb(reverbSend, wet, 0.84f, 5000.0f, 1.0f);
  HighPass(wet, 200.0f);
  master.Mix(wet, 0.6f);
  HighPass(master, 25.0f);

  CompressorSettings glue;
  glue.thresholdDb = -16.0f;
  glue.ratio = 2.5f;
  glue.attackSeconds = 0.015f;
  glue.releaseSeconds = 0.2f;
  Compress(master, glue);
  for (std::size_t i = 0; i < frames; i += 64) {
    const float gain = DecibelsToGain(static_cast<float>(ArrangementLevelDb(i * 1000.0 / kSampleRate)));
    for (std::size_t k = i; k < std::min(frames, i + 64); ++k) {
      master.left[k] *= gain;
      master.right[k] *= gain;
    }
  }
  FadeOut(master, settings);

  // Set the loudness, limit, and correct once more for what the limiter took off.
  StereoBuffer limited = master;
  StereoBuffer unlimited = master;
  double gainDb = settings.targetLufs - IntegratedLoudness(master);
  for (int pass = 0; pass < 2; ++pass) {
    unlimited = master;
    unlimited.Scale(DecibelsToGain(static_cast<float>(gainDb)));
    limited = unlimited;
    Limit(limited, settings.ceiling, 0.003, 0.08);
    const double measured = IntegratedLoudness(limited);
    if (pass == 0) gainDb += settings.targetLufs - measured;
    report.loudnessLufs = measured;
  }
  report.samplePeak = SamplePeak(limited);
  std::size_t active = 0;
  float deepest = 1.0f;
  for (std::size_t i = 0; i < frames; ++i) {
    const float before = std::max(std::fabs(unlimited.left[i]), std::fabs(unlimited.right[i]));
    if (before < 1e-3f) continue;
    const float after = std::max(std::fabs(limited.left[i]), std::fabs(limited.right[i]));
    deepest = std::min(deepest, after / before);
    active += after < before * 0.891f;
  }
  report.limiterMaxReductionDb = -GainToDecibels(deepest);
  report.limiterActiveShare = static_cast<double>(active) / static_cast<double>(std::max<std::size_t>(1, frames));
  return limited;
}

}  // namespace music
