#include <gtest/gtest.h>

#include <cmath>

#include "Dynamics.h"
#include "Oscillator.h"

namespace music {
namespace {

StereoBuffer LoudNoiseWithSpikes(std::size_t frames) {
  StereoBuffer buffer(frames);
  Noise noise(42);
  for (std::size_t i = 0; i < frames; ++i) {
    buffer.left[i] = 3.0f * noise.Next();
    buffer.right[i] = 1.5f * noise.Next();
  }
  // Isolated spikes, one at the very start and one at the very end.
  for (std::size_t i : {std::size_t{0}, frames / 3, frames / 2, frames - 1}) buffer.right[i] = -12.0f;
  return buffer;
}

TEST(Limiter, NoSampleEverExceedsTheCeiling) {
  for (float ceiling : {0.5f, 0.89f, 1.0f}) {
    StereoBuffer buffer = LoudNoiseWithSpikes(20000);
    Limit(buffer, ceiling, 0.003f, 0.05f);
    for (std::size_t i = 0; i < buffer.Frames(); ++i) {
      ASSERT_LE(std::fabs(buffer.left[i]), ceiling) << i;
      ASSERT_LE(std::fabs(buffer.right[i]), ceiling) << i;
    }
  }
}

TEST(Limiter, ReducesOnlyAroundAPeakAndKeepsItsPosition) {
  StereoBuffer buffer(20000);
  for (std::size_t i = 0; i < buffer.Frames(); ++i) buffer.left[i] = buffer.right[i] = 0.5f;
  buffer.left[10000] = 2.0f;
  Limit(buffer, 1.0f, 0.003f, 0.05f);
  EXPECT_FLOAT_EQ(buffer.left[10000], 1.0f);      // the peak lands exactly on the ceiling
  EXPECT_FLOAT_EQ(buffer.left[5000], 0.5f);       // well before the look-ahead: untouched, undelayed
  EXPECT_LT(buffer.left[9999], 0.5f);             // the gain ramps down ahead of the peak
  EXPECT_LT(buffer.left[10100], 0.5f);            // and recovers over the release
  EXPECT_NEAR(buffer.left[19999], 0.5f, 0.01f);
}

TEST(Compressor, ReducesLevelsAboveTheThresholdByItsRatio) {
  CompressorSettings settings;
  settings.thresholdDb = -20.0f;
  settings.ratio = 4.0f;
  settings.kneeDb = 0.0f;
  for (float inputDb : {-30.0f, -8.0f}) {
    StereoBuffer buffer(kSampleRate);
    for (std::size_t i = 0; i < buffer.Frames(); ++i) buffer.left[i] = buffer.right[i] = DecibelsToGain(inputDb);
    Compress(buffer, settings);
    const float expected = inputDb <= -20.0f ? inputDb : -20.0f + (inputDb + 20.0f) / 4.0f;
    EXPECT_NEAR(GainToDecibels(buffer.left.back()), expected, 0.1f) << inputDb;
  }
}

}  // namespace
}  // namespace music
