// The Sound against MP3 files encoded here, played through SDL's dummy output in real time.
#include "sound/Sound.h"
#include "sound/MusicLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <numbers>
#include <random>
#include <thread>

#include "Mp3TestFile.h"
#include "platform/audio.h"
#include "platform/message_box.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;

// Waits until the stream's output has reached frames; gives up after a generous while so a
// stuck output fails the expectations instead of hanging.
void WaitForOutput(HSTREAM stream, int64_t frames) {
  for (int i = 0; i < 1000 && platform::ChannelPlayedFrames(stream) < frames; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_GE(platform::ChannelPlayedFrames(stream), frames);
}

class SoundTest : public ::testing::Test {
 protected:
  SoundTest() : m_directory(true) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);  // no sound card needed; a chosen driver stays
    fs::create_directory("engine_data");
  }
  ~SoundTest() override { platform::BASS_Free(); }

  // Creates the Sound on music of the given channels, starts it, and lets half a second play.
  void PlayAndUpdate(double seconds, const std::function<float(double)>& left,
                     const std::function<float(double)>& right) {
    WriteMp3("engine_data/music.mp3", seconds, kRate, left, right);
    ASSERT_TRUE(m_sound.Create());
    ASSERT_NE(m_sound.stream, 0u);
    ASSERT_TRUE(platform::BASS_ChannelPlay(m_sound.stream, false));
    WaitForOutput(m_sound.stream, kRate / 2);
    ASSERT_TRUE(m_sound.Update());
  }

  float ChannelMaximum(int channel) const {
    float largest = -std::numeric_limits<float>::infinity();
    for (int i = channel; i < Sound::kSampleCount; i += 2) largest = std::max(largest, m_sound.samples[i]);
    return largest;
  }
  float Minimum() const { return *std::min_element(std::begin(m_sound.samples), std::end(m_sound.samples)); }

  TempDirectory m_directory;
  Sound m_sound;
};

TEST_F(SoundTest, KnownToneShowsInTheSamplesWithItsAmplitude) {
  // 441 Hz: 100 frames per period, so the 256-frame block holds 2.56 periods.
  const auto tone = [](double amplitude) {
    return [amplitude](double t) { return static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * 441.0 * t)); };
  };
  PlayAndUpdate(2.0, tone(0.5), tone(0.25));

  EXPECT_NEAR(ChannelMaximum(0), 0.5f, 0.04f);
  EXPECT_NEAR(ChannelMaximum(1), 0.25f, 0.03f);
  EXPECT_NEAR(Minimum(), -0.5f, 0.04f);
  EXPECT_EQ(m_sound.peak, ChannelMaximum(0));

  int signChanges = 0;
  for (int i = 2; i < Sound::kSampleCount; i += 2) {
    if ((m_sound.samples[i] >= 0.0f) != (m_sound.samples[i - 2] >= 0.0f)) ++signChanges;
  }
  EXPECT_GE(signChanges, 4);
  EXPECT_LE(signChanges, 6);
  for (int i = 0; i < Sound::kSampleCount; i += 2) {
    EXPECT_NEAR(m_sound.samples[i + 1], m_sound.samples[i] / 2, 0.03f) << "frame " << i / 2;
  }
}

TEST_F(SoundTest, BlocksFollowTheMusicAndFallSilentAfterItsEnd) {
  // A tone that starts after 0.3 s of silence and lasts until 0.6 s.
  const auto burst = [](double t) {
    return t >= 0.3 && t < 0.6 ? static_cast<float>(0.8 * std::sin(2.0 * std::numbers::pi * 441.0 * t)) : 0.0f;
  };
  WriteMp3("engine_data/music.mp3", 0.6, kRate, burst, burst);
  ASSERT_TRUE(m_sound.Create());
  ASSERT_TRUE(platform::BASS_ChannelPlay(m_sound.stream, false));
  WaitForOutput(m_sound.stream, kRate * 45 / 100);
  m_sound.Update();
  EXPECT_NEAR(m_sound.peak, 0.8f, 0.06f);

  WaitForOutput(m_sound.stream, kRate);
  m_sound.Update();
  EXPECT_EQ(m_sound.peak, 0.0f);
}

TEST_F(SoundTest, MissingMusicRunsSilentWithoutAMessage) {
  ASSERT_TRUE(m_sound.Create());
  EXPECT_EQ(m_sound.stream, 0u);
  EXPECT_FALSE(platform::BASS_ChannelPlay(m_sound.stream, false));
  EXPECT_TRUE(m_sound.Update());
  EXPECT_EQ(m_sound.peak, 0.0f);
  EXPECT_TRUE(std::all_of(std::begin(m_sound.samples), std::end(m_sound.samples), [](float v) { return v == 0.0f; }));
  EXPECT_TRUE(platform::TakeShownMessageBoxes().empty());
}

TEST_F(SoundTest, BlockStaysUntilPlaybackStarts) {
  WriteMp3("engine_data/music.mp3", 0.5, kRate, [](double) { return 0.5f; });
  ASSERT_TRUE(m_sound.Create());
  std::fill(std::begin(m_sound.samples), std::end(m_sound.samples), 0.25f);
  m_sound.Update();
  EXPECT_EQ(m_sound.samples[0], 0.25f);
  EXPECT_EQ(m_sound.peak, 0.25f);
}

// Replaying the frames before a late start reads the level from a decoding that is never heard:
// the same blocks a frame would have copied at those times.
TEST_F(SoundTest, LevelsOfLaterTimesComeFromADecodingThatIsNeverPlayed) {
  const auto burst = [](double t) {
    return t >= 0.3 && t < 0.6 ? static_cast<float>(0.8 * std::sin(2.0 * std::numbers::pi * 441.0 * t)) : 0.0f;
  };
  WriteMp3("engine_data/music.mp3", 1.0, kRate, burst, burst);
  ASSERT_TRUE(m_sound.Create());
  MusicLevels levels;
  ASSERT_TRUE(levels.Open(100));
  EXPECT_LT(levels.PeakAt(250), 0.05f);
  EXPECT_NEAR(levels.PeakAt(450), 0.8f, 0.06f);
  EXPECT_NEAR(levels.PeakAt(451), 0.8f, 0.06f);
  EXPECT_LT(levels.PeakAt(700), 0.05f);
  EXPECT_EQ(levels.PeakAt(5000), 0.0f) << "past the end the music is silent";

  MusicLevels late;
  ASSERT_TRUE(late.Open(440));
  EXPECT_NEAR(late.PeakAt(450), 0.8f, 0.06f);

  // The music itself is untouched: it never played and stays playable from its start.
  EXPECT_TRUE(platform::BASS_ChannelPlay(m_sound.stream, false));
  WaitForOutput(m_sound.stream, kRate * 45 / 100);
  m_sound.Update();
  EXPECT_NEAR(m_sound.peak, 0.8f, 0.06f);
}

// Development mode pauses and seeks at any moment of the output: a paused music stands where
// it was put, to the frame, whether the seek lands in the first MP3 frame or anywhere else and
// whatever the audio thread had decoded before.
TEST_F(SoundTest, PausedAfterAnySeekTheMusicStandsWhereItWasPut) {
  WriteMp3("engine_data/music.mp3", 3.0, kRate, [](double t) { return static_cast<float>(0.3 * t - 0.45); },
           [](double t) { return static_cast<float>(0.45 - 0.3 * t); });
  ASSERT_TRUE(m_sound.Create());
  ASSERT_TRUE(platform::BASS_ChannelPlay(m_sound.stream, false));
  std::mt19937 random(20261208);
  const auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const int64_t kNearStart[] = {0, 1, 2, 13, 26, 27, 40};
  for (int round = 0; round < 300; ++round) {
    const int64_t target = pick(2) == 0 ? kNearStart[pick(7)] : pick(3200);
    switch (pick(3)) {
      case 0: ASSERT_TRUE(m_sound.SetPosition(target)); break;  // a seek while playing
      case 1: std::this_thread::sleep_for(std::chrono::milliseconds(pick(60))); break;
      default: {
        m_sound.Pause();
        ASSERT_TRUE(m_sound.SetPosition(target));
        const int64_t frame = target * kRate / 1000;
        ASSERT_EQ(m_sound.PositionFrames(), frame) << "round " << round << ", paused at " << target << " ms";
        std::this_thread::sleep_for(std::chrono::milliseconds(pick(30)));
        ASSERT_EQ(m_sound.PositionFrames(), frame) << "round " << round << ", still";
        ASSERT_TRUE(m_sound.Resume());
      }
    }
  }
}

TEST(LargestSampleTest, IsTheLargestSignedValueAndIgnoresNaN) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float mixed[] = {-0.9f, 0.2f, nan, 0.1f};
  EXPECT_EQ(LargestSample(mixed, 4), 0.2f);
  const float negative[] = {-0.1f, -0.5f};
  EXPECT_EQ(LargestSample(negative, 2), 0.0f);
  const float leadingNaN[] = {nan, 0.3f};
  EXPECT_EQ(LargestSample(leadingNaN, 2), 0.3f);
}

}  // namespace
