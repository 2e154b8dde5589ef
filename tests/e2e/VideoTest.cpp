// The show recorded into videos by the real program and the real ffmpeg: what the files hold,
// that their sound lies on their pictures, that the same command gives the same frames, and
// that every failure says so, ends with status 1 and leaves nothing under the final name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "MediaProbe.h"
#include "app/OutputFiles.h"
#include "ShowProcess.h"
#include "support/FileTree.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

// The flasher's key at 5500 ms starts white, on a beat of the music: a span from 4500 ms has
// its jump exactly at frame 25, one second in.
constexpr int64_t kFlashSpanStart = 4500;
constexpr int64_t kFlashMs = 5500;

class VideoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(BinaryDirectory() / "demo.dat")) GTEST_SKIP() << "no demo.dat built";
    if (CommandOutput("command -v ffmpeg ffprobe").empty()) GTEST_SKIP() << "no ffmpeg";
    fs::create_directory(Runtime());
    fs::create_directory(Work());
  }
  fs::path Runtime() const { return m_sandbox.path() / "runtime"; }
  fs::path Work() const { return m_sandbox.path() / "work"; }

  ShowRun Run(std::vector<std::string> arguments) const {
    ShowRun run;
    run.program = BinaryDirectory() / "pulsar";
    run.arguments = {"--data", (BinaryDirectory() / "demo.dat").string()};
    run.arguments.insert(run.arguments.end(), arguments.begin(), arguments.end());
    run.workingDirectory = Work();
    run.runtimeDirectory = Runtime();
    run.errorFile = m_sandbox.path() / "stderr.txt";
    return run;
  }
  int RunToEnd(const ShowRun& run) {
    ShowProcess show;
    EXPECT_TRUE(show.Start(run));
    const int status = show.Wait();
    m_errors = show.Errors();
    return status;
  }
  // What the working directory holds: the finished files, and never a partial one.
  std::vector<std::string> WorkFiles() const { return ListTree(Work()); }

  TempDirectory m_sandbox;
  std::string m_errors;
};

// Waits until a tenth of the video is done and returns its encoder, the show's one child; 0 when
// that never happened.
pid_t EncoderAfterATenth(ShowProcess& show) {
  if (!show.WaitUntil([&] { return show.Errors().find("video: 10 %") != std::string::npos; })) return 0;
  const std::string pid = std::to_string(show.pid());
  return std::atoi(ReadWholeFile("/proc/" + pid + "/task/" + pid + "/children").c_str());
}

double Number(const std::map<std::string, std::string>& fields, const std::string& name) {
  const auto found = fields.find(name);
  return found == fields.end() ? -1.0 : std::atof(found->second.c_str());
}

TEST_F(VideoTest, ThreeSecondsAt320x180HoldOneVideoAndOneAudioStreamOfThreeSeconds) {
  const int status = RunToEnd(Run({"--video", "show.mp4", "--size", "320x180", "--end-at", "3000"}));
  ASSERT_EQ(DescribeStatus(status), "exit 0") << m_errors;
  EXPECT_THAT(WorkFiles(), ElementsAre("show.mp4"));

  const auto streams = ProbeStreams(Work() / "show.mp4");
  ASSERT_EQ(streams.size(), 2u);
  const auto& video = streams[0].at("codec_type") == "video" ? streams[0] : streams[1];
  const auto& audio = streams[0].at("codec_type") == "video" ? streams[1] : streams[0];
  EXPECT_EQ(video.at("codec_type"), "video");
  EXPECT_EQ(video.at("codec_name"), "h264");
  EXPECT_EQ(video.at("pix_fmt"), "yuv420p");
  EXPECT_EQ(video.at("width"), "320");
  EXPECT_EQ(video.at("height"), "180");
  EXPECT_EQ(video.at("r_frame_rate"), "25/1");
  EXPECT_EQ(video.at("nb_frames"), "75");
  EXPECT_EQ(audio.at("codec_type"), "audio");
  EXPECT_EQ(audio.at("codec_name"), "aac");
  EXPECT_NEAR(Number(video, "duration"), 3.0, 0.04);
  EXPECT_NEAR(Number(audio, "duration"), 3.0, 0.04);
  // The index before the data, so that it plays while still downloading.
  const auto boxes = Mp4TopLevelBoxes(Work() / "show.mp4");
  const auto moov = std::find(boxes.begin(), boxes.end(), "moov");
  const auto mdat = std::find(boxes.begin(), boxes.end(), "mdat");
  ASSERT_NE(moov, boxes.end());
  ASSERT_NE(mdat, boxes.end());
  EXPECT_LT(moov, mdat);

  // Not a terminal: one line per tenth, the last at 100 %.
  int lines = 0;
  for (size_t at = m_errors.find("video: "); at != std::string::npos; at = m_errors.find("video: ", at + 1)) ++lines;
  EXPECT_EQ(lines, 10) << m_errors;
  EXPECT_THAT(m_errors, HasSubstr("video: 100 % (75 of 75 frames"));

  // A picture of the show, not a black or flat one: the opening frame flashes white and fades.
  const std::vector<double> luminance = FrameLuminance(Work() / "show.mp4");
  ASSERT_EQ(luminance.size(), 75u);
  const auto [darkest, brightest] = std::minmax_element(luminance.begin(), luminance.end());
  EXPECT_GT(*brightest - *darkest, 20.0);
}

TEST_F(VideoTest, WebmIsVp9WithOpusAndQuietSaysNothing) {
  const int status =
      RunToEnd(Run({"--video", "show.webm", "--size", "160x90", "--end-at", "1000", "--video-crf", "40", "--quiet"}));
  ASSERT_EQ(DescribeStatus(status), "exit 0") << m_errors;
  EXPECT_THAT(m_errors, ::testing::Not(HasSubstr("video:")));
  const auto streams = ProbeStreams(Work() / "show.webm");
  ASSERT_EQ(streams.size(), 2u);
  EXPECT_EQ(streams[0].at("codec_name"), "vp9");
  EXPECT_EQ(streams[1].at("codec_name"), "opus");
  EXPECT_EQ(FrameLuminance(Work() / "show.webm").size(), 25u);
}

// The sound's onset at the flash lies on the frame where the picture jumps to white, and the
// sound track is the music itself, not shifted by a sample more than the encoder's rounding.
TEST_F(VideoTest, TheSoundOnsetAtAFlashLiesOnTheFrameWhereTheLuminanceJumps) {
  const int status = RunToEnd(Run({"--video", "flash.mp4", "--size", "320x180", "--start-at",
                                   std::to_string(kFlashSpanStart), "--end-at", "7500", "--quiet"}));
  ASSERT_EQ(DescribeStatus(status), "exit 0") << m_errors;

  const std::vector<double> luminance = FrameLuminance(Work() / "flash.mp4");
  ASSERT_EQ(luminance.size(), 75u);
  size_t jump = 1;
  for (size_t i = 1; i < luminance.size(); ++i) {
    if (luminance[i] - luminance[i - 1] > luminance[jump] - luminance[jump - 1]) jump = i;
  }
  EXPECT_EQ(static_cast<int64_t>(jump), (kFlashMs - kFlashSpanStart) / 40);
  const double jumpSeconds = static_cast<double>(jump) / 25.0;

  constexpr int kRate = 44100;
  const std::vector<float> sound = DecodedSound(Work() / "flash.mp4", kRate);
  ASSERT_GE(sound.size(), static_cast<size_t>(3 * kRate));
  const double onset = StrongestOnset(sound, kRate, 0.1, 2.9);
  std::printf("flash frame %zu at %.3f s; sound onset at %.4f s: %+.1f ms\n", jump, jumpSeconds, onset,
              (onset - jumpSeconds) * 1000.0);
  EXPECT_NEAR(onset, jumpSeconds, 0.020);

  // Against the music as the archive holds it: the same samples, at the same place.
  const fs::path music = BinaryDirectory() / "stage" / "engine_data" / "music.mp3";
  if (!fs::exists(music)) return;
  const std::vector<float> original = DecodedSound(music, kRate, 8.0);
  ASSERT_GE(original.size(), static_cast<size_t>(8 * kRate));
  // Half a second around the flash, from the video and from the music at its show time.
  const auto from = static_cast<size_t>((jumpSeconds - 0.25) * kRate);
  const std::vector<float> encoded(sound.begin() + static_cast<std::ptrdiff_t>(from),
                                   sound.begin() + static_cast<std::ptrdiff_t>(from + kRate / 2));
  const size_t musicFrom = from + static_cast<size_t>(kFlashSpanStart * kRate / 1000);
  const std::vector<float> reference(original.begin() + static_cast<std::ptrdiff_t>(musicFrom),
                                     original.begin() + static_cast<std::ptrdiff_t>(musicFrom + kRate / 2));
  const int lag = BestLag(reference, encoded, kRate / 50);
  std::printf("sound track against the music: %+d samples (%+.2f ms)\n", lag, lag * 1000.0 / kRate);
  EXPECT_LE(std::abs(lag), kRate / 1000) << "more than 1 ms off the music";
}

TEST_F(VideoTest, TheSameCommandGivesTheSameFrames) {
  // Around the switch to the sound-driven glitch and its design lines: frames there depend on
  // the music's samples, the shared random sequence and its calendar seed.
  const std::vector<std::string> span = {"--size", "160x90", "--start-at", "151600", "--end-at", "152000"};
  std::vector<std::vector<std::string>> hashes;
  std::vector<std::string> videoFrames;
  for (const char* run : {"a", "b"}) {
    std::vector<std::string> arguments = span;
    arguments.insert(arguments.end(), {"--capture", std::string("frames_") + run, "--video",
                                       std::string("show_") + run + ".mp4", "--quiet"});
    ASSERT_EQ(DescribeStatus(RunToEnd(Run(arguments))), "exit 0") << m_errors;
    std::vector<std::string>& sums = hashes.emplace_back();
    for (const std::string& name : ListTree(Work() / (std::string("frames_") + run))) {
      sums.push_back(CommandOutput("sha256sum < " + Quoted(Work() / (std::string("frames_") + run) / name)));
    }
    videoFrames.push_back(
        CommandOutput("ffmpeg -v error -i " + Quoted(Work() / (std::string("show_") + run + ".mp4")) +
                      " -map 0:v -f framemd5 - | grep -v '^#'"));
  }
  ASSERT_GE(hashes[0].size(), 10u);
  EXPECT_EQ(hashes[0], hashes[1]);
  EXPECT_FALSE(videoFrames[0].empty());
  EXPECT_EQ(videoFrames[0], videoFrames[1]);
  // And they are not all one picture.
  EXPECT_NE(hashes[0].front(), hashes[0].back());
}

TEST_F(VideoTest, WithoutFfmpegItSaysSoBeforeLoadingAndEndsWithStatusOne) {
  const fs::path emptyPath = m_sandbox.path() / "no-programs";
  fs::create_directory(emptyPath);
  ScopedEnvironment path("PATH", emptyPath.c_str());
  const int status = RunToEnd(Run({"--video", "show.mp4", "--size", "160x90", "--end-at", "1000"}));
  EXPECT_EQ(DescribeStatus(status), "exit 1");
  EXPECT_THAT(m_errors, HasSubstr("--video needs ffmpeg, which is not on PATH"));
  EXPECT_THAT(WorkFiles(), IsEmpty());
  EXPECT_THAT(ListTree(Runtime()), IsEmpty());
}

TEST_F(VideoTest, AnFfmpegKilledMidwayEndsWithStatusOneAndLeavesTheOldFileAlone) {
  // An earlier video of the show's under the same name survives a failed new one.
  const std::string lastWeeks = std::string("last week's video, ") + kVideoMark;
  WriteWholeFile(Work() / "show.mp4", lastWeeks);
  ShowProcess show;
  ASSERT_TRUE(show.Start(Run({"--video", "show.mp4", "--size", "160x90", "--end-at", "20000"})));
  const pid_t encoder = EncoderAfterATenth(show);
  ASSERT_GT(encoder, 0) << show.Errors();
  ASSERT_EQ(kill(encoder, SIGKILL), 0);
  const int status = show.Wait();
  EXPECT_EQ(DescribeStatus(status), "exit 1") << show.Errors();
  EXPECT_THAT(show.Errors(), HasSubstr("ffmpeg ended unexpectedly (killed by signal 9"));
  EXPECT_THAT(show.Errors(), HasSubstr("nothing was saved as show.mp4"));
  EXPECT_THAT(WorkFiles(), ElementsAre("show.mp4"));
  EXPECT_EQ(ReadWholeFile(Work() / "show.mp4"), lastWeeks);
  EXPECT_THAT(ListTree(Runtime()), IsEmpty());
}

TEST_F(VideoTest, AStopSignalEndsTheRecordingItsEncoderAndItsPartialFile) {
  ShowProcess show;
  ASSERT_TRUE(show.Start(Run({"--video", "show.mp4", "--size", "160x90", "--end-at", "20000"})));
  const pid_t encoder = EncoderAfterATenth(show);
  ASSERT_GT(encoder, 0) << show.Errors();
  show.Signal(SIGINT);
  const int status = show.Wait();
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << DescribeStatus(status) << show.Errors();
  EXPECT_THAT(WorkFiles(), IsEmpty());
  EXPECT_THAT(ListTree(Runtime()), IsEmpty());
  // The encoder went with the show; it was its child, so it is no zombie of ours either.
  EXPECT_NE(kill(encoder, 0), 0);
}

TEST_F(VideoTest, AFullDiskEndsWithStatusOneAndNoFile) {
  // A file system of 16 KiB of its own, mounted in a user and mount namespace of the run's own.
  if (std::system("unshare -Urm true 2>/dev/null") != 0) GTEST_SKIP() << "no user namespaces here";
  const fs::path small = Work() / "small";
  const fs::path listing = Work() / "left-on-the-full-disk.txt";
  fs::create_directory(small);
  ShowRun run = Run({"--video", (small / "show.mp4").string(), "--size", "320x180", "--end-at", "3000"});
  // What the run left on that file system is listed before the namespace (and the mount) goes.
  std::string command = "mount -t tmpfs -o size=16k tmpfs " + Quoted(small) + " || exit 99; " + Quoted(run.program);
  for (const std::string& argument : run.arguments) command += " " + Quoted(argument);
  command += "; status=$?; ls -A " + Quoted(small) + " > " + Quoted(listing) + "; exit $status";
  run.arguments = {"-Urm", "sh", "-c", command};
  run.program = "/usr/bin/unshare";
  const int status = RunToEnd(run);
  EXPECT_EQ(DescribeStatus(status), "exit 1") << m_errors;
  EXPECT_THAT(m_errors, HasSubstr("could not be written: the disk is full"));
  ASSERT_TRUE(fs::exists(listing));
  EXPECT_EQ(ReadWholeFile(listing), "");
  EXPECT_THAT(ListTree(Runtime()), IsEmpty());
}

TEST_F(VideoTest, MalformedVideoOptionsEndWithStatusTwoBeforeAnythingRuns) {
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"--video", "show.avi"},
           {"--video", "show.mp4", "--size", "321x180"},
           {"--video", "show.mp4", "--video-crf", "52"},
           {"--video-crf", "20"},
           {"--video", "show.mp4", "--start-at", "3000", "--end-at", "3000"},
       }) {
    EXPECT_EQ(DescribeStatus(RunToEnd(Run(arguments))), "exit 2") << arguments[1];
  }
  EXPECT_THAT(WorkFiles(), IsEmpty());
}

}  // namespace
