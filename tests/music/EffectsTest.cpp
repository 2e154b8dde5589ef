#include <gtest/gtest.h>

#include <cmath>

#include "Composition.h"
#include "Dynamics.h"
#include "Effects.h"

namespace music {
namespace {

std::size_t LoudestFrame(const std::vector<float>& channel, std::size_t from) {
  std::size_t best = from;
  for (std::size_t i = from; i < channel.size(); ++i) {
    if (std::fabs(channel[i]) > std::fabs(channel[best])) best = i;
  }
  return best;
}

TEST(PingPongDelay, EchoesRightThenLeftAtTheDelayTime) {
  StereoBuffer send(kSampleRate * 2), out(kSampleRate * 2);
  send.left[0] = send.right[0] = 1.0f;
  ApplyPingPongDelay(send, out, 0.25f, 0.5f, 20000.0f);
  const std::size_t delay = kSampleRate / 4;
  EXPECT_EQ(LoudestFrame(out.left, 0), delay);  // the first echo, on the left
  EXPECT_NEAR(out.left[delay], 1.0f, 1e-3f);
  EXPECT_EQ(out.right[delay], 0.0f);
  const std::size_t second = LoudestFrame(out.right, 0);  // then across on the right, quieter
  EXPECT_NEAR(static_cast<double>(second), static_cast<double>(2 * delay), 2.0);
  EXPECT_NEAR(out.right[second], 0.5f, 0.05f);
  EXPECT_EQ(out.left[delay - 1], 0.0f);  // nothing before the first echo
}

TEST(Reverb, TailDecaysAndDiffersBetweenTheChannels) {
  StereoBuffer send(kSampleRate * 8), out(kSampleRate * 8);
  send.left[0] = send.right[0] = 1.0f;
  ApplyReverb(send, out, 0.84f, 5000.0f, 1.0f);
  auto energy = [&](const std::vector<float>& channel, double from, double to) {
    double sum = 0.0;
    for (std::size_t i = static_cast<std::size_t>(from * kSampleRate); i < static_cast<std::size_t>(to * kSampleRate); ++i) {
      sum += static_cast<double>(channel[i]) * channel[i];
    }
    return sum;
  };
  const double early = energy(out.left, 0.0, 0.5);
  EXPECT_GT(early, 0.0);
  EXPECT_LT(energy(out.left, 1.0, 1.5), early);
  EXPECT_LT(energy(out.left, 6.0, 8.0), early * 1e-6);  // gone 60 dB down within six seconds
  std::size_t differing = 0;
  for (std::size_t i = 0; i < kSampleRate; ++i) differing += out.left[i] != out.right[i];
  EXPECT_GT(differing, static_cast<std::size_t>(kSampleRate / 2));
}

TEST(StereoBuffer, PansWithEqualPower) {
  StereoBuffer buffer(3);
  buffer.AddPanned(0, 1.0f, 0.0f);
  buffer.AddPanned(1, 1.0f, -1.0f);
  buffer.AddPanned(2, 1.0f, 0.5f);
  EXPECT_NEAR(buffer.left[0], 1.0f, 1e-5f);
  EXPECT_NEAR(buffer.right[0], 1.0f, 1e-5f);
  EXPECT_NEAR(buffer.left[1], 1.41421f, 1e-4f);
  EXPECT_NEAR(buffer.right[1], 0.0f, 1e-5f);
  EXPECT_NEAR(buffer.left[2] * buffer.left[2] + buffer.right[2] * buffer.right[2], 2.0f, 1e-4f);
  EXPECT_GT(buffer.right[2], buffer.left[2]);
  buffer.AddPanned(3, 1.0f, 0.0f);  // past the end: ignored
  EXPECT_EQ(buffer.Frames(), 3u);
}

TEST(Arrangement, LevelCurveBuildsAndReleasesWithoutJumpsInsideSections) {
  // Quieter intro than finale, the jellyfish below the magnet, the blob loudest.
  EXPECT_LT(ArrangementLevelDb(5000.0), ArrangementLevelDb(185000.0) - 5.0);
  EXPECT_LT(ArrangementLevelDb(95000.0), ArrangementLevelDb(55000.0) - 3.0);
  EXPECT_GE(ArrangementLevelDb(150000.0), ArrangementLevelDb(60000.0));
  // Within a section the level glides: no step above 0.1 dB per 10 ms except at a cut.
  const double cuts[] = {46900.0, 91000.0, 102100.0, 113150.0, 157250.0};
  for (double ms = 0.0; ms < 204200.0; ms += 10.0) {
    bool atCut = false;
    for (double cut : cuts) atCut = atCut || std::fabs(ms - cut) < 150.0;
    if (atCut) continue;
    EXPECT_LT(std::fabs(ArrangementLevelDb(ms + 10.0) - ArrangementLevelDb(ms)), 0.1) << ms;
  }
}

}  // namespace
}  // namespace music
