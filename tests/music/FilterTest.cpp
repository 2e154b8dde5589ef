#include <gtest/gtest.h>

#include <cmath>

#include "Dynamics.h"
#include "Filter.h"
#include "Oscillator.h"

namespace music {
namespace {

// Steady-state gain in dB of a filter step for a sine at `frequency`.
template <class Step>
float SteadyGain(float frequency, Step step) {
  Oscillator sine(Waveform::Sine, 0.0f);
  float peak = 0.0f;
  for (int i = 0; i < kSampleRate; ++i) {
    const float y = step(sine.Next(frequency));
    if (i > kSampleRate / 2) peak = std::max(peak, std::fabs(y));
  }
  return GainToDecibels(peak);
}

float GainAt(float cutoff, float q, FilterMode mode, float frequency) {
  StateVariableFilter filter;
  filter.Set(cutoff, q);
  return SteadyGain(frequency, [&](float x) { return filter.Process(x, mode); });
}

// Butterworth (q 0.7071) is 3 dB down at its cutoff and falls 12 dB per octave beyond it;
// resonance q peaks at the cutoff by q.
TEST(StateVariableFilter, ResponseAtAndAroundTheCutoff) {
  constexpr float kButterworth = 0.7071f;
  struct Case {
    float cutoff, q;
    FilterMode mode;
    float frequency, expectedDb, toleranceDb;
  };
  const Case cases[] = {
      {100.0f, kButterworth, FilterMode::LowPass, 100.0f, -3.01f, 0.15f},
      {1000.0f, kButterworth, FilterMode::LowPass, 1000.0f, -3.01f, 0.15f},
      {8000.0f, kButterworth, FilterMode::LowPass, 8000.0f, -3.01f, 0.15f},
      {100.0f, kButterworth, FilterMode::HighPass, 100.0f, -3.01f, 0.15f},
      {1000.0f, kButterworth, FilterMode::HighPass, 1000.0f, -3.01f, 0.15f},
      {8000.0f, kButterworth, FilterMode::HighPass, 8000.0f, -3.01f, 0.15f},
      {1000.0f, kButterworth, FilterMode::LowPass, 100.0f, 0.0f, 0.1f},
      {1000.0f, kButterworth, FilterMode::LowPass, 4000.0f, -24.0f, 1.0f},
      {1000.0f, kButterworth, FilterMode::HighPass, 250.0f, -24.0f, 1.0f},
      {1000.0f, kButterworth, FilterMode::HighPass, 10000.0f, 0.0f, 0.1f},
      {2000.0f, 4.0f, FilterMode::LowPass, 2000.0f, GainToDecibels(4.0f), 0.3f},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(GainAt(c.cutoff, c.q, c.mode, c.frequency), c.expectedDb, c.toleranceDb)
        << "cutoff " << c.cutoff << " q " << c.q << " mode " << static_cast<int>(c.mode) << " at " << c.frequency;
  }
  const float centre = GainAt(2000.0f, 2.0f, FilterMode::BandPass, 2000.0f);
  EXPECT_GT(centre, GainAt(2000.0f, 2.0f, FilterMode::BandPass, 1000.0f) + 6.0f);
  EXPECT_GT(centre, GainAt(2000.0f, 2.0f, FilterMode::BandPass, 4000.0f) + 6.0f);
}

TEST(StateVariableFilter, StaysStableWhileTheCutoffSweepsEverySample) {
  StateVariableFilter filter;
  Noise noise(7);
  float peak = 0.0f;
  for (int i = 0; i < kSampleRate; ++i) {
    filter.Set(20.0f + 20000.0f * std::fabs(std::sin(static_cast<float>(i) * 0.01f)), 8.0f);
    const float y = filter.Process(noise.Next(), FilterMode::LowPass);
    ASSERT_TRUE(std::isfinite(y));
    peak = std::max(peak, std::fabs(y));
  }
  EXPECT_LT(peak, 50.0f);
}

TEST(OnePole, LowPassIsThreeDecibelsDownNearItsCutoff) {
  OnePole filter;
  filter.Set(500.0f);
  EXPECT_NEAR(SteadyGain(500.0f, [&](float x) { return filter.LowPass(x); }), -3.0f, 0.3f);
}

}  // namespace
}  // namespace music
