// The audio layer underneath the Sound: streams, formats, positions and failures.
#include "platform/audio.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <random>
#include <thread>
#include <vector>

#include "Mp3TestFile.h"
#include "platform/audio_stream.h"
#include "platform/clock.h"
#include "support/TempDirectory.h"

namespace {

constexpr uint32_t kBlockBytes = 512 * sizeof(float);

class AudioLayerTest : public ::testing::Test {
 protected:
  AudioLayerTest() : m_directory(true) { setenv("SDL_AUDIODRIVER", "dummy", 0); }
  ~AudioLayerTest() override { platform::BASS_Free(); }
  TempDirectory m_directory;
};

TEST_F(AudioLayerTest, InitialisesOnceAndFreesOnce) {
  EXPECT_EQ(platform::BASS_StreamCreateFile(false, "music.mp3", 0, 0, BASS_UNICODE), 0u) << "before Init";
  EXPECT_FALSE(platform::BASS_Init(0, 44100, 0, nullptr, nullptr));
  ASSERT_TRUE(platform::BASS_Init(-1, 44100, 0, nullptr, nullptr));
  EXPECT_FALSE(platform::BASS_Init(-1, 44100, 0, nullptr, nullptr));
  EXPECT_TRUE(platform::BASS_Free());
  EXPECT_FALSE(platform::BASS_Free());
  ASSERT_TRUE(platform::BASS_Init(-1, 44100, 0, nullptr, nullptr));
}

TEST_F(AudioLayerTest, RejectsWhatIsNoMp3) {
  ASSERT_TRUE(platform::BASS_Init(-1, 44100, 0, nullptr, nullptr));
  EXPECT_EQ(platform::BASS_StreamCreateFile(false, "missing.mp3", 0, 0, BASS_UNICODE), 0u);
  std::FILE* text = std::fopen("text.mp3", "wb");
  for (int i = 0; i < 2000; ++i) std::fputs("not an mp3 frame ", text);
  std::fclose(text);
  EXPECT_EQ(platform::BASS_StreamCreateFile(false, "text.mp3", 0, 0, BASS_UNICODE), 0u);
  EXPECT_EQ(platform::BASS_StreamCreateFile(false, nullptr, 0, 0, BASS_UNICODE), 0u);

  float block[512] = {};
  EXPECT_EQ(platform::BASS_ChannelGetData(0, block, BASS_DATA_FLOAT | kBlockBytes), -1);
  EXPECT_EQ(platform::ChannelPlayedFrames(0), -1);
  EXPECT_FALSE(platform::BASS_ChannelPlay(12345, false));
}

TEST_F(AudioLayerTest, MonoAtAnotherRatePlaysAsStereoAtTheOutputRate) {
  WriteMp3("mono.mp3", 2.0, 22050, [](double t) { return static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * 441.0 * t)); });
  ASSERT_TRUE(platform::BASS_Init(-1, 44100, 0, nullptr, nullptr));
  const HSTREAM stream = platform::BASS_StreamCreateFile(false, "mono.mp3", 0, 0, BASS_UNICODE);
  ASSERT_NE(stream, 0u);
  float block[512] = {};
  EXPECT_EQ(platform::BASS_ChannelGetData(stream, block, BASS_DATA_FLOAT | kBlockBytes), -1) << "not playing yet";
  EXPECT_EQ(platform::BASS_ChannelGetData(stream, block, kBlockBytes), -1) << "integer samples are not offered";

  ASSERT_TRUE(platform::BASS_ChannelPlay(stream, false));
  for (int i = 0; i < 1000 && platform::ChannelPlayedFrames(stream) < 22050; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(platform::BASS_ChannelGetData(stream, block, BASS_DATA_FLOAT | kBlockBytes), static_cast<int32_t>(kBlockBytes));
  float largest = 0.0f;
  int signChanges = 0;
  for (int i = 0; i < 512; i += 2) {
    EXPECT_EQ(block[i], block[i + 1]);
    largest = std::max(largest, block[i]);
    if (i > 0 && (block[i] >= 0.0f) != (block[i - 2] >= 0.0f)) ++signChanges;
  }
  EXPECT_NEAR(largest, 0.5f, 0.05f);
  EXPECT_GE(signChanges, 4);  // 441 Hz still: 2.56 periods in 256 frames
  EXPECT_LE(signChanges, 6);

  const float load = platform::BASS_GetCPU();
  EXPECT_GE(load, 0.0f);
  EXPECT_LT(load, 100.0f);
}

TEST_F(AudioLayerTest, PositionAdvancesOnlyWhilePlaying) {
  WriteMp3("tone.mp3", 1.0, 44100, [](double) { return 0.1f; }, [](double) { return 0.1f; });
  ASSERT_TRUE(platform::BASS_Init(-1, 44100, 0, nullptr, nullptr));
  const HSTREAM stream = platform::BASS_StreamCreateFile(false, "tone.mp3", 0, 0, BASS_UNICODE);
  ASSERT_NE(stream, 0u);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(platform::ChannelPlayedFrames(stream), 0);
  ASSERT_TRUE(platform::BASS_ChannelPlay(stream, false));
  int64_t previous = 0;
  for (int i = 0; i < 5; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    const int64_t now = platform::ChannelPlayedFrames(stream);
    EXPECT_GT(now, previous);
    previous = now;
  }
}

TEST_F(AudioLayerTest, ReadingAPlayingStreamNeverWaitsForTheAudioThread) {
  WriteMp3("tone.mp3", 2.0, 44100, [](double t) { return 0.3f * std::sin(2000.0 * t); },
           [](double) { return 0.2f; });
  ASSERT_TRUE(platform::BASS_Init(-1, 44100, 0, nullptr, nullptr));
  const HSTREAM stream = platform::BASS_StreamCreateFile(false, "tone.mp3", 0, 0, BASS_UNICODE);
  ASSERT_NE(stream, 0u);
  ASSERT_TRUE(platform::BASS_ChannelPlay(stream, false));
  while (platform::ChannelPlayedFrames(stream) < 4096) std::this_thread::sleep_for(std::chrono::milliseconds(5));

  // Another thread holds the output as the audio thread does while it decodes a buffer, for
  // up to ten seconds or until the reads below are done.
  std::atomic<bool> held{false}, readsDone{false}, doneWhileHeld{false};
  std::thread holder([&] {
    SDL_LockAudioDevice(platform::OutputDevice());
    held = true;
    for (int i = 0; i < 1000 && !readsDone; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    doneWhileHeld = readsDone.load();
    SDL_UnlockAudioDevice(platform::OutputDevice());
  });
  while (!held) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::vector<float> block(512, 0.0f);
  const int32_t bytes = platform::BASS_ChannelGetData(stream, block.data(), BASS_DATA_FLOAT | kBlockBytes);
  const uint64_t position = platform::BASS_ChannelGetPosition(stream, BASS_POS_BYTE);
  const int64_t played = platform::ChannelPlayedFrames(stream);
  readsDone = true;
  holder.join();
  EXPECT_TRUE(doneWhileHeld) << "a read waited for the output lock";
  EXPECT_EQ(bytes, static_cast<int32_t>(kBlockBytes));
  EXPECT_GT(*std::max_element(block.begin(), block.end()), 0.1f) << "the block is the music being heard";
  EXPECT_GE(played, 4096);
  EXPECT_NE(position, UINT64_MAX);
  EXPECT_GT(position, 0u);
}

TEST_F(AudioLayerTest, APausedStreamHoldsItsPositionAndASeekLandsOnTheSample) {
  WriteMp3("tone.mp3", 3.0, 44100, [](double) { return 0.1f; }, [](double) { return 0.1f; });
  ASSERT_TRUE(platform::BASS_Init(-1, 44100, 0, nullptr, nullptr));
  const HSTREAM stream = platform::BASS_StreamCreateFile(false, "tone.mp3", 0, 0, BASS_UNICODE);
  ASSERT_NE(stream, 0u);
  constexpr uint64_t kFrameBytes = 2 * sizeof(float);
  EXPECT_EQ(platform::BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 0u);
  EXPECT_EQ(platform::BASS_ChannelGetPosition(stream, 1), UINT64_MAX) << "bytes only";
  EXPECT_EQ(platform::BASS_ChannelGetPosition(999, BASS_POS_BYTE), UINT64_MAX);
  EXPECT_FALSE(platform::BASS_ChannelPause(999));

  ASSERT_TRUE(platform::BASS_ChannelPlay(stream, false));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_TRUE(platform::BASS_ChannelPause(stream));
  EXPECT_FALSE(platform::BASS_ChannelPause(stream)) << "already paused";
  const uint64_t paused = platform::BASS_ChannelGetPosition(stream, BASS_POS_BYTE);
  EXPECT_GT(paused, 0u);
  const int64_t output = platform::ChannelPlayedFrames(stream);
  std::this_thread::sleep_for(std::chrono::milliseconds(120));
  EXPECT_EQ(platform::BASS_ChannelGetPosition(stream, BASS_POS_BYTE), paused);
  EXPECT_EQ(platform::ChannelPlayedFrames(stream), output) << "no output while paused";

  // To the sample, however the decoder's frames fall.
  const uint64_t target = 44100 + 577;
  ASSERT_TRUE(platform::BASS_ChannelSetPosition(stream, target * kFrameBytes, BASS_POS_BYTE));
  EXPECT_EQ(platform::BASS_ChannelGetPosition(stream, BASS_POS_BYTE), target * kFrameBytes);
  ASSERT_TRUE(platform::BASS_ChannelPlay(stream, false));
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  const uint64_t heard = platform::BASS_ChannelGetPosition(stream, BASS_POS_BYTE) / kFrameBytes;
  EXPECT_GT(heard, target) << "it goes on from there";
  EXPECT_LT(heard, target + 44100) << "and not from anywhere else";
}

// Seeks into the first MP3 frames and anywhere else, in any order, with or without decoding
// between them: the stream is where it was put and then decodes what a fresh decode has there.
TEST_F(AudioLayerTest, SeeksNearTheStartDecodeWhatAFreshDecodeHasThere) {
  WriteMp3("ramp.mp3", 1.0, 44100, [](double t) { return static_cast<float>(0.8 * t - 0.4); },
           [](double t) { return static_cast<float>(0.4 - 0.6 * t); });
  platform::AudioStream fresh;
  ASSERT_TRUE(fresh.Open("ramp.mp3", 44100));
  std::vector<float> music(44100 * 2, 0.0f);
  fresh.Render(music.data(), 44100);

  platform::AudioStream stream;
  ASSERT_TRUE(stream.Open("ramp.mp3", 44100));
  const uint64_t kTargets[] = {0, 1, 2, 88, 575, 576, 1104, 1105, 1151, 1152, 1153, 2000, 30000};
  std::mt19937 random(88);
  std::vector<float> out(2 * 512);
  for (int round = 0; round < 400; ++round) {
    const uint64_t target = kTargets[random() % std::size(kTargets)];
    ASSERT_TRUE(stream.Seek(target));
    ASSERT_EQ(stream.MusicFrame(), target) << "round " << round;
    ASSERT_FALSE(stream.Finished());
    if (random() % 3 == 0) continue;  // the next seek follows at once
    const uint32_t frames = 1 + random() % 512;
    std::fill(out.begin(), out.end(), 0.0f);
    stream.Render(out.data(), frames);
    for (uint32_t i = 0; i < frames * 2; ++i)
      ASSERT_EQ(out[i], music[target * 2 + i]) << "round " << round << ", seek to " << target << ", value " << i;
    ASSERT_EQ(stream.MusicFrame(), target + frames);
  }
}

// The device this process opened (SDL numbers them from 2), 0 when none is open.
SDL_AudioDeviceID OpenDevice() {
  for (SDL_AudioDeviceID id = 1; id < 32; ++id)
    if (SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED) return id;
  return 0;
}

// Development mode seeks while the audio thread may have been starved (the show replays
// frames meanwhile): what the output missed before the seek is no reason to run the new place
// ahead, and right after the seek the position is the new place, not that less the old
// frames still on their way.
TEST_F(AudioLayerTest, AfterAStalledOutputASeekPlaysOnInRealTimeFromWhereItWasPut) {
  WriteMp3("tone.mp3", 4.0, 44100, [](double) { return 0.1f; }, [](double) { return 0.1f; });
  ASSERT_TRUE(platform::BASS_Init(-1, 44100, 0, nullptr, nullptr));
  const HSTREAM stream = platform::BASS_StreamCreateFile(false, "tone.mp3", 0, 0, BASS_UNICODE);
  ASSERT_NE(stream, 0u);
  constexpr uint64_t kFrameBytes = 2 * sizeof(float);
  ASSERT_TRUE(platform::BASS_ChannelPlay(stream, false));
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  const SDL_AudioDeviceID device = OpenDevice();
  ASSERT_NE(device, 0u);

  for (const uint64_t target : {44100u, 88u, 0u}) {
    // The audio thread waits for half a second while the seek happens.
    SDL_LockAudioDevice(device);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(platform::BASS_ChannelSetPosition(stream, target * kFrameBytes, BASS_POS_BYTE));
    EXPECT_EQ(platform::BASS_ChannelGetPosition(stream, BASS_POS_BYTE), target * kFrameBytes) << "at once where put";
    const auto seeked = std::chrono::steady_clock::now();
    SDL_UnlockAudioDevice(device);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    const uint64_t heard = platform::BASS_ChannelGetPosition(stream, BASS_POS_BYTE) / kFrameBytes;
    const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - seeked);
    EXPECT_GE(heard, target);
    // Never further on than the time since the seek, plus the two buffers the device holds.
    EXPECT_LE(heard, target + static_cast<uint64_t>(since.count()) * 441 / 10 + 2 * 1024) << "seek to " << target;
  }
}

TEST_F(AudioLayerTest, StreamSkipsAheadWithoutOutputButKeepsTheRing) {
  // Silence for half a second, then a full-scale square-ish tone.
  WriteMp3("late.mp3", 1.0, 44100, [](double t) { return t < 0.5 ? 0.0f : (std::sin(2 * std::numbers::pi * 441 * t) > 0 ? 0.7f : -0.7f); },
           [](double) { return 0.0f; });
  const auto largest = [](const std::vector<float>& values) { return *std::max_element(values.begin(), values.end()); };

  platform::AudioStream stream;
  ASSERT_TRUE(stream.Open("late.mp3", 44100));
  std::vector<float> out(512, 0.0f);
  stream.Render(out.data(), 256);
  EXPECT_LT(largest(out), 0.01f);

  stream.Skip(44100 * 45 / 100 - 256);
  EXPECT_EQ(stream.FramesOutput(), 44100u * 45 / 100);
  EXPECT_EQ(stream.MusicFrame(), 44100u * 45 / 100);
  std::vector<float> ring(512);
  stream.CopyOutput(stream.FramesOutput(), ring.data(), 512);
  EXPECT_LT(largest(ring), 0.01f) << "the frames before the tone";

  stream.Skip(44100 / 10);
  std::fill(out.begin(), out.end(), 0.0f);
  stream.Render(out.data(), 256);
  EXPECT_GT(largest(out), 0.5f);
  stream.CopyOutput(stream.FramesOutput(), ring.data(), 512);
  EXPECT_EQ(ring, out);

  ASSERT_TRUE(stream.Seek(1000));
  EXPECT_EQ(stream.MusicFrame(), 1000u);
  stream.Render(out.data(), 256);
  EXPECT_EQ(stream.MusicFrame(), 1256u) << "the music moves with what is decoded, the output counter on";
  stream.Skip(2 * 44100);
  EXPECT_TRUE(stream.Finished());
  std::fill(out.begin(), out.end(), 0.0f);
  stream.Render(out.data(), 256);
  EXPECT_EQ(largest(out), 0.0f) << "silence after the end";
}

// Capture: the music follows the stepped clock, not real time, so a frame's block is the same
// in every run, however long the frame took to draw.
TEST_F(AudioLayerTest, OfflineTheBlockIsTheMusicAtTheManualClockAndNothingElse) {
  // A rising ramp: every sample says where in the music it lies.
  WriteMp3("ramp.mp3", 2.0, 44100, [](double t) { return static_cast<float>(0.4 * t - 0.4); },
           [](double t) { return static_cast<float>(0.4 - 0.4 * t); });
  platform::AudioStream reference;
  ASSERT_TRUE(reference.Open("ramp.mp3", 44100));
  std::vector<float> music(2 * 44100 * 2, 0.0f);
  reference.Render(music.data(), 2 * 44100);

  std::vector<std::vector<float>> runs;
  for (int run = 0; run < 2; ++run) {
    platform::UseManualClock(0);
    platform::UseOfflineOutput(true);
    ASSERT_TRUE(platform::BASS_Init(-1, 44100, 0, nullptr, nullptr));
    const HSTREAM stream = platform::BASS_StreamCreateFile(false, "ramp.mp3", 0, 0, BASS_UNICODE);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(platform::BASS_ChannelPlay(stream, false));
    std::vector<float>& blocks = runs.emplace_back();
    for (const int64_t ms : {0, 40, 80, 1000, 1000, 1520}) {
      platform::SetManualClock(ms);
      // Real time passing changes nothing.
      if (run == 1) std::this_thread::sleep_for(std::chrono::milliseconds(30));
      float block[512] = {};
      ASSERT_EQ(platform::BASS_ChannelGetData(stream, block, BASS_DATA_FLOAT | kBlockBytes),
                static_cast<int32_t>(kBlockBytes));
      EXPECT_EQ(platform::ChannelPlayedFrames(stream), ms * 44100 / 1000);
      // The 256 frames that end at the clock's moment of the music.
      const int64_t end = ms * 44100 / 1000 * 2;
      for (int i = 0; i < 512; ++i) {
        const int64_t at = end - 512 + i;
        ASSERT_EQ(block[i], at < 0 ? 0.0f : music[static_cast<size_t>(at)]) << ms << " ms, value " << i;
      }
      blocks.insert(blocks.end(), block, block + 512);
    }
    platform::BASS_Free();
  }
  platform::UseOfflineOutput(false);
  platform::UseSteadyClock();
  EXPECT_EQ(runs[0], runs[1]);
}

}  // namespace
