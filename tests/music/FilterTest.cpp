#include <gtest/gtest.h>

#include <cmath>

#include "Dynamics.h"
#include "Filter.h"
#include "Oscillator.h"

namespace music {
namespace {

// Steady-state gain in dB of the filter for a sine at `frequency`.
float GainAt(float cutoff, float q, FilterMode mode, float frequency) {
  StateVariableFilter filter;
  filter.Set(cutoff, q);
  Oscillator sine(Waveform::Sine, 0.0f);
  float peak = 0.0f;
  for (int i = 0; i < kSampleRate; ++i) {
    const float y = filter.Process(sine.Next(frequency), mode);
    if (i > kSampleRate / 2) peak = std::max(peak, std::fabs(y));
  }
  return GainToDecibels(peak);
}

TEST(StateVariableFilter, ButterworthIsThreeDecibelsDownAtItsCutoff) {
  for (float cutoff : {100.0f, 1000.0f, 8000.0f}) {
    EXPECT_NEAR(GainAt(cutoff, 0.7071f, FilterMode::LowPass, cutoff), -3.01f, 0.15f) << cutoff;
    EXPECT_NEAR(GainAt(cutoff, 0.7071f, FilterMode::HighPass, cutoff), -3.01f, 0.15f) << cutoff;
  }
}

TEST(StateVariableFilter, TwoPolesFallTwelveDecibelsPerOctave) {
  EXPECT_NEAR(GainAt(1000.0f, 0.7071f, FilterMode::LowPass, 100.0f), 0.0f, 0.1f);
  EXPECT_NEAR(GainAt(1000.0f, 0.7071f, FilterMode::LowPass, 4000.0f), -24.0f, 1.0f);
  EXPECT_NEAR(GainAt(1000.0f, 0.7071f, FilterMode::HighPass, 250.0f), -24.0f, 1.0f);
  EXPECT_NEAR(GainAt(1000.0f, 0.7071f, FilterMode::HighPass, 10000.0f), 0.0f, 0.1f);
}

TEST(StateVariableFilter, ResonancePeaksAtTheCutoffAndBandPassIsCentredThere) {
  EXPECT_NEAR(GainAt(2000.0f, 4.0f, FilterMode::LowPass, 2000.0f), GainToDecibels(4.0f), 0.3f);
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
  Oscillator sine(Waveform::Sine, 0.0f);
  float peak = 0.0f;
  for (int i = 0; i < kSampleRate; ++i) {
    const float y = filter.LowPass(sine.Next(500.0f));
    if (i > kSampleRate / 2) peak = std::max(peak, std::fabs(y));
  }
  EXPECT_NEAR(GainToDecibels(peak), -3.0f, 0.3f);
}

}  // namespace
}  // namespace music
