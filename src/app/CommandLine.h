#pragma once
// The show's command-line options: what the launcher would ask, plus what development,
// testing and capture need (headless runs, a fixed-step clock, an early end).
#include <cstdint>
#include <optional>
#include <string>

#include "app/Timer.h"

enum class ClockKind { Steady, FixedStep };

struct ShowOptions {
  int32_t width = 0;   // 0: the desktop size in full screen, 1280 × 720 in a window
  int32_t height = 0;
  bool fullScreen = true;
  bool vsync = true;
  bool headless = false;
  // Ask for size, v-sync and full screen in the launcher dialog: the command line turns it on
  // when none of --size, --windowed, --fullscreen, --no-launcher and --headless was given.
  bool launcher = false;
  ClockKind clock = ClockKind::Steady;
  int64_t clockStepMs = 0;  // per counter reading, with ClockKind::FixedStep
  int64_t startAtMs = 0;
  int64_t endAtMs = SHOW_LENGTH_MS;
  bool debugView = false;
  bool printOverlay = false;  // the overlay's lines of every frame on stdout
  std::string screenshotPath;  // the last frame drawn, as PNG
  std::string captureDirectory;  // every frame as PNG, on a clock stepped per frame
  int32_t captureFps = 25;
  std::string dataFile;  // the archive to play; "" looks for demo.dat
  bool steppedClock = false;  // one frame of captureFps per pass without capturing (tools)
  std::string profilePath;  // per-frame pass timings; "" profiles nothing
  // Development mode: a window with keys that pause and seek; with a source directory (the
  // repository) shaders and scenes are reloaded when they change there.
  bool dev = false;
  std::string devSourceDirectory;
  std::string videoPath;    // .mp4 or .webm encoded by ffmpeg, on a clock stepped per frame
  int32_t videoCrf = -1;    // the encoder's constant quality; -1 takes the container's default
  bool quiet = false;       // no progress while recording a video
};

enum class VideoContainer { None, Mp4, WebM };

// The container a video file name asks for, by its extension (any case).
VideoContainer VideoContainerOf(const std::string& path);
// The quality a video is encoded at: the one asked for, else the container's default.
int32_t VideoCrfOf(const ShowOptions& options);
// The highest (worst) quality number the container's video codec accepts.
int32_t HighestVideoCrf(VideoContainer container);

struct CommandLineResult {
  bool ok = false;         // false: `error` says why; print it with the usage and fail
  bool helpRequested = false;
  std::string error;
  ShowOptions options;
};

CommandLineResult ParseCommandLine(int argc, const char* const* argv);
std::string UsageText(const char* programName);
