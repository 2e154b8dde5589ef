#include <gtest/gtest.h>

#include <cmath>

#include "Oscillator.h"

namespace music {
namespace {

// Upward zero crossings over one second: the oscillator's frequency in Hz.
int RisingCrossings(Waveform waveform, float frequency) {
  Oscillator oscillator(waveform, 0.1f);
  int crossings = 0;
  float previous = oscillator.Next(frequency);
  for (int i = 1; i < kSampleRate; ++i) {
    const float value = oscillator.Next(frequency);
    crossings += previous < 0.0f && value >= 0.0f;
    previous = value;
  }
  return crossings;
}

TEST(Oscillator, EveryWaveformRunsAtItsFrequency) {
  for (Waveform waveform : {Waveform::Sine, Waveform::Saw, Waveform::Square, Waveform::Triangle}) {
    EXPECT_NEAR(RisingCrossings(waveform, 110.0f), 110, 1) << static_cast<int>(waveform);
    EXPECT_NEAR(RisingCrossings(waveform, 1760.0f), 1760, 1) << static_cast<int>(waveform);
  }
  EXPECT_FLOAT_EQ(MidiToFrequency(69.0f), 440.0f);
  EXPECT_NEAR(MidiToFrequency(33.0f), 55.0f, 1e-3f);
}

TEST(Oscillator, BandLimitedEdgesStayWithinFullScaleAndCentred) {
  for (Waveform waveform : {Waveform::Saw, Waveform::Square, Waveform::Triangle}) {
    Oscillator oscillator(waveform, 0.0f);
    double sum = 0.0;
    float peak = 0.0f;
    for (int i = 0; i < kSampleRate; ++i) {
      const float value = oscillator.Next(3000.0f);
      sum += value;
      peak = std::max(peak, std::fabs(value));
    }
    EXPECT_LT(peak, 1.15f) << static_cast<int>(waveform);
    EXPECT_GT(peak, 0.8f) << static_cast<int>(waveform);
    EXPECT_NEAR(sum / kSampleRate, 0.0, 0.02) << static_cast<int>(waveform);
  }
}

TEST(Noise, IsRepeatableUniformAndCentred) {
  Noise a(123), b(123), c(124);
  double sum = 0.0;
  int low = 0, differs = 0;
  for (int i = 0; i < 100000; ++i) {
    const float value = a.Next();
    ASSERT_EQ(value, b.Next());
    differs += value != c.Next();
    ASSERT_GE(value, -1.0f);
    ASSERT_LT(value, 1.0f);
    sum += value;
    low += value < -0.5f;
  }
  EXPECT_NEAR(sum / 100000.0, 0.0, 0.01);
  EXPECT_NEAR(low / 100000.0, 0.25, 0.01);
  EXPECT_GT(differs, 99000);
}

}  // namespace
}  // namespace music
