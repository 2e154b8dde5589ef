// The video recorder without the show: frame and sound spans, progress reports, failure
// accounts, and the recorder with the real ffmpeg on small synthetic frames.
#include "app/VideoRecorder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/VideoProgress.h"
#include "support/FileTree.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

TEST(VideoSpans, FramesEndBeforeTheEndTimeAndTheSoundNeverDrifts) {
  EXPECT_EQ(VideoFrameCount(0, 3000, 25), 75);
  EXPECT_EQ(VideoFrameCount(0, SHOW_LENGTH_MS, 25), 5105);
  EXPECT_EQ(VideoFrameCount(4500, 7500, 25), 75);
  // Frames at 0 and 40 ms lie before 50 ms, the one at 80 does not.
  EXPECT_EQ(VideoFrameCount(0, 50, 25), 2);
  EXPECT_EQ(VideoFrameCount(0, 40, 25), 1);
  EXPECT_EQ(VideoFrameCount(0, 41, 25), 2);
  // 30 frames a second step 33, 33, 34 ms: 1000 ms hold 30 of them.
  EXPECT_EQ(VideoFrameCount(0, 1000, 30), 30);
  EXPECT_EQ(VideoFrameCount(0, 1001, 30), 31);
  EXPECT_EQ(VideoFrameCount(100, 100, 25), 0);

  // The sound of each frame is its share of the span, to the sample, however the rate divides.
  for (const int fps : {25, 30, 7, 60, 240}) {
    SCOPED_TRACE(fps);
    const int64_t frames = 10 * fps;
    int64_t total = 0;
    for (int64_t k = 0; k < frames; ++k) {
      const int64_t span = VideoAudioFramesBefore(k + 1, fps) - VideoAudioFramesBefore(k, fps);
      EXPECT_GE(span, kVideoAudioRate / fps);
      EXPECT_LE(span, kVideoAudioRate / fps + 1);
      total += span;
    }
    EXPECT_EQ(total, 10 * kVideoAudioRate);
  }
  EXPECT_EQ(VideoAudioFramesBefore(25, 25), kVideoAudioRate);
}

// Runs the reporter over frames done one by one and returns what it printed.
std::string Report(ProgressStyle style, int64_t total, const std::vector<int64_t>& steps) {
  std::FILE* out = std::tmpfile();
  VideoProgress progress;
  progress.Create(style, total, out);
  ProgressState state;
  state.total = total;
  for (const int64_t done : steps) {
    state.done = done;
    state.showTime = done * 40;
    state.seconds = static_cast<double>(done) * 0.5;  // two frames a second
    progress.Update(state);
  }
  progress.Finish(state);
  std::string text(4096, '\0');
  std::rewind(out);
  text.resize(std::fread(text.data(), 1, text.size(), out));
  std::fclose(out);
  return text;
}

TEST(VideoProgress, LinesAtEachTenthOnceTheBarInPlaceAndQuietNothing) {
  std::vector<int64_t> oneByOne;
  for (int64_t i = 1; i <= 75; ++i) oneByOne.push_back(i);
  const std::string lines = Report(ProgressStyle::Lines, 75, oneByOne);
  std::vector<std::string> split;
  for (size_t start = 0, end; (end = lines.find('\n', start)) != std::string::npos; start = end + 1) {
    split.push_back(lines.substr(start, end - start));
  }
  ASSERT_EQ(split.size(), 10u) << lines;
  EXPECT_EQ(split[0], "video: 10 % (8 of 75 frames, show time 0:00.32, 2.0 fps, 0:34 left)");
  EXPECT_EQ(split[9], "video: 100 % (75 of 75 frames, show time 0:03.00, 2.0 fps)");

  // Several tenths at once make one line; a run that never got far makes no 100 % line.
  EXPECT_EQ(Report(ProgressStyle::Lines, 100, {5, 35, 36}),
            "video: 35 % (35 of 100 frames, show time 0:01.40, 2.0 fps, 0:33 left)\n");
  EXPECT_EQ(Report(ProgressStyle::Quiet, 75, oneByOne), "");

  // The bar redraws one line in place and ends it once.
  const std::string bar = Report(ProgressStyle::Bar, 75, {1, 38, 75});
  EXPECT_THAT(bar, HasSubstr("\r[##########----------]  38/75 frames  show 0:01.52  2.0 fps  0:19 left\x1b[K"));
  EXPECT_THAT(bar, HasSubstr("\r[####################]  75/75 frames  show 0:03.00  2.0 fps  0:00 left\x1b[K\n"));
  EXPECT_EQ(std::count(bar.begin(), bar.end(), '\n'), 1);

  EXPECT_EQ(FormatShowTime(204200), "3:24.20");
  EXPECT_EQ(FormatShowTime(3723450), "1:02:03.45");
}

TEST(VideoFailures, EachSaysWhatHappenedAndThatNothingWasSaved) {
  const std::string full = DescribeEncoderFailure(
      "show.mp4", 1 << 8, "[mp4 @ 0x1] av_interleaved_write_frame(): No space left on device\n", false);
  EXPECT_EQ(full, "The video show.mp4 could not be written: the disk is full; nothing was saved as show.mp4.");
  // A full disk is named even when ffmpeg only died of it.
  EXPECT_THAT(DescribeEncoderFailure("show.mp4", SIGKILL, "", true), HasSubstr("the disk is full"));

  const std::string killed = DescribeEncoderFailure("show.mp4", SIGKILL, "", false);
  EXPECT_THAT(killed, HasSubstr("ffmpeg ended unexpectedly (killed by signal 9 (Killed)) while encoding show.mp4"));
  const std::string failed =
      DescribeEncoderFailure("a.webm", 1 << 8, "one\ntwo\n\nUnknown encoder 'libvpx-vp9'\n", false);
  EXPECT_THAT(failed, HasSubstr("ffmpeg failed (exit status 1) while encoding a.webm; nothing was saved as a.webm."));
  EXPECT_THAT(failed, HasSubstr("\n  ffmpeg: Unknown encoder 'libvpx-vp9'"));
}

class VideoRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FfmpegProcess::FindOnPath("ffmpeg").empty()) GTEST_SKIP() << "no ffmpeg";
  }
  VideoSettings Settings(const fs::path& path) const {
    VideoSettings settings;
    settings.path = path.string();
    settings.container = VideoContainerOf(settings.path);
    settings.width = 32;
    settings.height = 18;
    settings.frameCount = 10;
    settings.music = (m_directory.path() / "no-music.mp3").string();
    return settings;
  }
  // Hands frames over, each a different grey; false once the recorder refuses one.
  static bool Feed(VideoRecorder& recorder, int frames) {
    for (int i = 0; i < frames; ++i) {
      uint8_t* pixels = recorder.NextFrame();
      if (!pixels) return false;
      std::memset(pixels, 20 * i, 32 * 18 * 4);
      recorder.SubmitFrame();
    }
    return true;
  }
  TempDirectory m_directory;
};

TEST_F(VideoRecorderTest, AFinishedVideoIsRenamedIntoPlaceWithASilentTrackWhenTheMusicIsMissing) {
  const fs::path path = m_directory.path() / "clip.mp4";
  VideoRecorder recorder;
  std::string error, warning;
  ASSERT_TRUE(recorder.Create(Settings(path), &error, &warning)) << error;
  EXPECT_THAT(warning, HasSubstr("the video's sound track is silent"));
  // Written beside the final name while it is being made.
  EXPECT_EQ(fs::path(recorder.temporaryPath()).parent_path(), m_directory.path());
  EXPECT_TRUE(fs::exists(recorder.temporaryPath()));
  EXPECT_FALSE(fs::exists(path));
  ASSERT_TRUE(Feed(recorder, 10));
  ASSERT_TRUE(recorder.Finish(&error)) << error;
  EXPECT_EQ(recorder.FramesWritten(), 10);
  EXPECT_THAT(ListTree(m_directory.path()), ElementsAre("clip.mp4"));
  EXPECT_GT(fs::file_size(path), 1000u);
  // Readable by others as any file the user makes, not private like a temporary file.
  EXPECT_NE(fs::status(path).permissions() & fs::perms::others_read, fs::perms::none);
}

TEST_F(VideoRecorderTest, AShowThatStopsShortSavesNothingAndKeepsTheOldFile) {
  const fs::path path = m_directory.path() / "clip.webm";
  WriteWholeFile(path, "the video from before");
  VideoRecorder recorder;
  std::string error, warning;
  ASSERT_TRUE(recorder.Create(Settings(path), &error, &warning)) << error;
  ASSERT_TRUE(Feed(recorder, 4));
  EXPECT_FALSE(recorder.Finish(&error));
  EXPECT_THAT(error, HasSubstr("ended before the last frame"));
  EXPECT_THAT(ListTree(m_directory.path()), ElementsAre("clip.webm"));
  EXPECT_EQ(ReadWholeFile(path), "the video from before");
}

TEST_F(VideoRecorderTest, NoEncoderNoDirectoryOrADirectoryAsTheNameFailAtOnce) {
  VideoRecorder missingDirectory;
  std::string error, warning;
  EXPECT_FALSE(missingDirectory.Create(Settings(m_directory.path() / "absent" / "clip.mp4"), &error, &warning));
  EXPECT_THAT(error, HasSubstr("No such file or directory"));

  fs::create_directory(m_directory.path() / "taken.mp4");
  VideoRecorder directory;
  EXPECT_FALSE(directory.Create(Settings(m_directory.path() / "taken.mp4"), &error, &warning));
  EXPECT_THAT(error, HasSubstr("that is a directory"));

  {
    ScopedEnvironment path("PATH", m_directory.path().c_str());
    VideoRecorder noFfmpeg;
    EXPECT_FALSE(noFfmpeg.Create(Settings(m_directory.path() / "clip.mp4"), &error, &warning));
    EXPECT_THAT(error, HasSubstr("--video needs ffmpeg"));
  }
  EXPECT_THAT(ListTree(m_directory.path()), ElementsAre("taken.mp4/"));
}

TEST_F(VideoRecorderTest, AKilledEncoderStopsTheFramesAndLeavesNothing) {
  const fs::path path = m_directory.path() / "clip.mp4";
  VideoRecorder recorder;
  std::string error, warning;
  VideoSettings settings = Settings(path);
  settings.frameCount = 100000;
  ASSERT_TRUE(recorder.Create(settings, &error, &warning)) << error;
  ASSERT_TRUE(Feed(recorder, 3));
  ASSERT_EQ(kill(recorder.encoderPid(), SIGKILL), 0);
  // The ring fills, then the recorder refuses the next frame instead of waiting forever.
  EXPECT_FALSE(Feed(recorder, 100000));
  EXPECT_FALSE(recorder.Finish(&error));
  EXPECT_THAT(error, HasSubstr("killed by signal 9"));
  EXPECT_THAT(ListTree(m_directory.path()), IsEmpty());
}

}  // namespace
