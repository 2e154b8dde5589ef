#include <gtest/gtest.h>

#include <cmath>

#include "Dynamics.h"
#include "Loudness.h"
#include "Oscillator.h"

namespace music {
namespace {

StereoBuffer Sine(float frequency, float amplitude, bool bothChannels, double seconds) {
  StereoBuffer buffer(static_cast<std::size_t>(seconds * kSampleRate));
  Oscillator sine(Waveform::Sine, 0.0f);
  for (std::size_t i = 0; i < buffer.Frames(); ++i) {
    const float value = amplitude * sine.Next(frequency);
    buffer.left[i] = value;
    buffer.right[i] = bothChannels ? value : 0.0f;
  }
  return buffer;
}

// The reference points of BS.1770: a full-scale 997 Hz sine in one channel reads -3.01 LUFS.
TEST(Loudness, MatchesTheStandardsReferenceTones) {
  EXPECT_NEAR(IntegratedLoudness(Sine(997.0f, 1.0f, false, 5.0)), -3.01, 0.1);
  EXPECT_NEAR(IntegratedLoudness(Sine(997.0f, 1.0f, true, 5.0)), 0.0, 0.1);
  EXPECT_NEAR(IntegratedLoudness(Sine(997.0f, DecibelsToGain(-20.0f), true, 5.0)), -20.0, 0.1);
}

TEST(Loudness, WeightsLowFrequenciesDownAndGatesSilence) {
  // The K-weighting's high-pass: 20 Hz counts far less than 1 kHz.
  EXPECT_LT(IntegratedLoudness(Sine(20.0f, 1.0f, true, 5.0)), -10.0);
  EXPECT_LE(IntegratedLoudness(StereoBuffer(kSampleRate * 3)), -70.0);
  // Silence around a tone is gated away: the tone's loudness stands (ungated it would read
  // -25.2; the blocks straddling the tone's edges still count and pull it down a little).
  StereoBuffer gapped(kSampleRate * 10);
  const StereoBuffer tone = Sine(997.0f, DecibelsToGain(-20.0f), true, 3.0);
  for (std::size_t i = 0; i < tone.Frames(); ++i) {
    gapped.left[i + kSampleRate] = tone.left[i];
    gapped.right[i + kSampleRate] = tone.right[i];
  }
  EXPECT_NEAR(IntegratedLoudness(gapped), -20.0, 0.6);
}

}  // namespace
}  // namespace music
