#include <gtest/gtest.h>

#include <cmath>

#include "AudioBuffer.h"
#include "Envelope.h"

namespace music {
namespace {

constexpr float kRate = static_cast<float>(kSampleRate);

TEST(Envelope, AttackRisesLinearlyToOneThenDecaysToSustain) {
  Envelope envelope(0.1f, 0.2f, 0.5f, 0.3f);
  const int attack = static_cast<int>(0.1f * kRate);
  float previous = 0.0f;
  for (int i = 1; i <= attack; ++i) {
    const float value = envelope.Next();
    EXPECT_GE(value, previous);
    previous = value;
    if (i == attack / 2) {
      EXPECT_NEAR(value, 0.5f, 0.01f);
    }
  }
  EXPECT_NEAR(previous, 1.0f, 1e-3f);
  // Decay: falls without overshooting the sustain and covers 99 % of the way in its time.
  const int decay = static_cast<int>(0.2f * kRate);
  for (int i = 0; i < decay; ++i) {
    const float value = envelope.Next();
    EXPECT_LE(value, previous + 1e-6f);
    EXPECT_GE(value, 0.5f);
    previous = value;
  }
  EXPECT_NEAR(previous, 0.5f + 0.5f * 0.01f, 2e-3f);
  for (int i = 0; i < decay * 4; ++i) envelope.Next();
  EXPECT_NEAR(envelope.Value(), 0.5f, 1e-4f);
}

TEST(Envelope, ReleaseFromAnyStageFallsToSilenceAndFinishes) {
  Envelope envelope(0.05f, 0.1f, 0.8f, 0.25f);
  for (int i = 0; i < static_cast<int>(0.02f * kRate); ++i) envelope.Next();  // still attacking
  const float level = envelope.Value();
  ASSERT_GT(level, 0.3f);
  ASSERT_LT(level, 0.5f);
  envelope.Release();
  const int release = static_cast<int>(0.25f * kRate);
  for (int i = 0; i < release; ++i) envelope.Next();
  EXPECT_NEAR(envelope.Value(), level * 0.01f, level * 0.002f);
  EXPECT_FALSE(envelope.Finished());
  for (int i = 0; i < release * 2; ++i) envelope.Next();
  EXPECT_TRUE(envelope.Finished());
  EXPECT_EQ(envelope.Next(), 0.0f);
}

TEST(Envelope, ZeroTimesStillGiveAFullStep) {
  Envelope envelope(0.0f, 0.0f, 0.25f, 0.0f);
  EXPECT_EQ(envelope.Next(), 1.0f);
  EXPECT_NEAR(envelope.Next(), 0.25f + 0.75f * 0.01f, 1e-5f);
  envelope.Release();
  envelope.Next();
  envelope.Next();
  EXPECT_TRUE(envelope.Finished());
}

}  // namespace
}  // namespace music
