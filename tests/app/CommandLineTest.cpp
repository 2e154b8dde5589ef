#include <gtest/gtest.h>

#include <vector>

#include "app/CommandLine.h"

namespace {

CommandLineResult Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "pulsar");
  return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, DefaultsAreTheLaunchersChoices) {
  const CommandLineResult result = Parse({});
  ASSERT_TRUE(result.ok);
  EXPECT_TRUE(result.options.fullScreen);
  EXPECT_TRUE(result.options.vsync);
  EXPECT_FALSE(result.options.headless);
  EXPECT_EQ(result.options.clock, ClockKind::Steady);
  EXPECT_EQ(result.options.endAtMs, SHOW_LENGTH_MS);
}

TEST(CommandLine, ReadsEveryOption) {
  const CommandLineResult result =
      Parse({"--size", "640x360", "--windowed", "--no-vsync", "--clock", "fixed:40", "--end-at", "2000"});
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.options.width, 640);
  EXPECT_EQ(result.options.height, 360);
  EXPECT_FALSE(result.options.fullScreen);
  EXPECT_FALSE(result.options.vsync);
  EXPECT_EQ(result.options.clock, ClockKind::FixedStep);
  EXPECT_EQ(result.options.clockStepMs, 40);
  EXPECT_EQ(result.options.endAtMs, 2000);

  const CommandLineResult capture =
      Parse({"--capture", "frames", "--capture-fps", "50", "--screenshot", "last.png"});
  ASSERT_TRUE(capture.ok) << capture.error;
  EXPECT_EQ(capture.options.captureDirectory, "frames");
  EXPECT_EQ(capture.options.captureFps, 50);
  EXPECT_EQ(capture.options.screenshotPath, "last.png");
  EXPECT_EQ(Parse({"--profile", "frames.tsv"}).options.profilePath, "frames.tsv");
  EXPECT_TRUE(capture.options.profilePath.empty());
  const CommandLineResult overlay = Parse({"--debug-view", "--print-overlay"});
  EXPECT_TRUE(overlay.options.debugView);
  EXPECT_TRUE(overlay.options.printOverlay);
  EXPECT_FALSE(capture.options.debugView || capture.options.printOverlay);

  // Headless implies a window unless full screen is asked for, which it cannot honour.
  EXPECT_FALSE(Parse({"--headless"}).options.fullScreen);
  EXPECT_FALSE(Parse({"--headless", "--fullscreen"}).ok);
  EXPECT_TRUE(Parse({"--help"}).helpRequested);
}

TEST(CommandLine, TheLauncherAsksUnlessTheWindowWasChosenOrNothingIsShown) {
  EXPECT_TRUE(Parse({}).options.launcher);
  // Options the dialog does not ask about leave it in place.
  EXPECT_TRUE(Parse({"--no-vsync", "--clock", "fixed:40", "--end-at", "2000", "--screenshot", "a.png"}).options.launcher);
  for (const auto& args : std::vector<std::vector<const char*>>{
           {"--size", "640x360"}, {"--windowed"}, {"--fullscreen"}, {"--no-launcher"}, {"--headless"}}) {
    const CommandLineResult result = Parse(args);
    ASSERT_TRUE(result.ok) << args[0];
    EXPECT_FALSE(result.options.launcher) << args[0];
  }
  // Skipped, the show starts with the command line's defaults.
  const CommandLineResult skipped = Parse({"--no-launcher"});
  EXPECT_TRUE(skipped.options.fullScreen);
  EXPECT_EQ(skipped.options.width, 0);
}

TEST(CommandLine, DevelopmentModeIsAWindowWithAnOptionalSourceDirectory) {
  const CommandLineResult plain = Parse({"--dev"});
  ASSERT_TRUE(plain.ok);
  EXPECT_TRUE(plain.options.dev);
  EXPECT_EQ(plain.options.devSourceDirectory, "");
  EXPECT_FALSE(plain.options.fullScreen);
  EXPECT_FALSE(plain.options.launcher);

  const CommandLineResult watching = Parse({"--dev", "/src/pulsar", "--start-at", "50000"});
  ASSERT_TRUE(watching.ok);
  EXPECT_EQ(watching.options.devSourceDirectory, "/src/pulsar");
  EXPECT_EQ(watching.options.startAtMs, 50000);
  // The next option is no directory.
  EXPECT_EQ(Parse({"--dev", "--size", "640x360"}).options.devSourceDirectory, "");
  EXPECT_TRUE(Parse({"--dev", ".", "--fullscreen"}).options.fullScreen) << "a chosen full screen stays";
  EXPECT_FALSE(Parse({"--start-at", "5"}).options.dev);
}

TEST(CommandLine, AVideoIsRecordedHeadlessAtItsContainersQuality) {
  const CommandLineResult mp4 = Parse({"--video", "out/Show.MP4", "--size", "320x180", "--quiet"});
  ASSERT_TRUE(mp4.ok) << mp4.error;
  EXPECT_EQ(mp4.options.videoPath, "out/Show.MP4");
  EXPECT_EQ(VideoContainerOf(mp4.options.videoPath), VideoContainer::Mp4);
  EXPECT_TRUE(mp4.options.headless);
  EXPECT_FALSE(mp4.options.fullScreen);
  EXPECT_FALSE(mp4.options.launcher);
  EXPECT_TRUE(mp4.options.quiet);
  EXPECT_EQ(VideoCrfOf(mp4.options), 18);

  const CommandLineResult webm = Parse({"--video-crf", "63", "--video", "show.webm", "--windowed"});
  ASSERT_TRUE(webm.ok) << webm.error;
  EXPECT_EQ(VideoContainerOf(webm.options.videoPath), VideoContainer::WebM);
  EXPECT_EQ(VideoCrfOf(webm.options), 63);
  EXPECT_EQ(VideoCrfOf(Parse({"--video", "show.webm"}).options), 28);
  EXPECT_EQ(VideoContainerOf("show.mp4.txt"), VideoContainer::None);
  EXPECT_FALSE(Parse({"--video", "show.mp4"}).options.quiet);
}

TEST(CommandLine, RejectsMalformedInputWithAReason) {
  for (const auto& args : std::vector<std::vector<const char*>>{
           {"--bogus"},
           {"--size"},
           {"--size", "640"},
           {"--size", "640x"},
           {"--size", "0x0"},
           {"--size", "640x360x2"},
           {"--size", "-640x360"},
           {"--clock", "fixed:"},
           {"--clock", "fixed:0"},
           {"--clock", "wobbly"},
           {"--end-at", "-1"},
           {"--end-at", "204201"},
           {"--end-at", "12abc"},
           {"--end-at", "99999999999999999999999"},
           {"--capture-fps", "0"},
           {"--screenshot"},
           {"--profile"},
           {"--video"},
           {"--video", "show.mkv"},
           {"--video", "show"},
           {"--video", "show.mp4", "--size", "641x360"},
           {"--video", "show.mp4", "--size", "640x361"},
           {"--video", "show.mp4", "--video-crf", "52"},
           {"--video", "show.webm", "--video-crf", "64"},
           {"--video", "show.mp4", "--video-crf", "-1"},
           {"--video-crf", "20"},
           {"--video", "show.mp4", "--start-at", "5000", "--end-at", "4000"},
           {"--video", "show.mp4", "--fullscreen"},
           {"--video", "show.mp4", "--dev"},
       }) {
    const CommandLineResult result = Parse(args);
    EXPECT_FALSE(result.ok) << args[0];
    EXPECT_FALSE(result.error.empty()) << args[0];
  }
}

}  // namespace
