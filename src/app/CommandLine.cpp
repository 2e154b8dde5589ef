#include "app/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace {

bool ParseInteger(std::string_view text, int64_t minimum, int64_t maximum, int64_t* value) {
  int64_t parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size() || parsed < minimum || parsed > maximum) {
    return false;
  }
  *value = parsed;
  return true;
}

bool ParseSize(std::string_view text, ShowOptions* options) {
  const size_t x = text.find('x');
  int64_t width = 0;
  int64_t height = 0;
  if (x == std::string_view::npos || !ParseInteger(text.substr(0, x), 16, 16384, &width) ||
      !ParseInteger(text.substr(x + 1), 16, 16384, &height)) {
    return false;
  }
  options->width = static_cast<int32_t>(width);
  options->height = static_cast<int32_t>(height);
  return true;
}

bool ParseClock(std::string_view text, ShowOptions* options) {
  if (text == "steady") {
    options->clock = ClockKind::Steady;
    return true;
  }
  constexpr std::string_view fixed = "fixed:";
  int64_t step = 0;
  if (text.substr(0, fixed.size()) != fixed || !ParseInteger(text.substr(fixed.size()), 1, 60000, &step)) {
    return false;
  }
  options->clock = ClockKind::FixedStep;
  options->clockStepMs = step;
  return true;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [](char wanted, char given) { return std::tolower(static_cast<unsigned char>(given)) == wanted; });
}

// A video records the show without showing it, at a size its chroma planes can halve.
bool CheckVideoOptions(ShowOptions* options, bool windowChosen, std::string* error) {
  const VideoContainer container = VideoContainerOf(options->videoPath);
  if (options->videoPath.empty()) {
    if (options->videoCrf >= 0) *error = "--video-crf needs --video";
    return error->empty();
  }
  if (container == VideoContainer::None) {
    *error = "--video writes .mp4 (H.264) or .webm (VP9) files, got \"" + options->videoPath + "\"";
  } else if (options->videoCrf > HighestVideoCrf(container)) {
    *error = "--video-crf for a " + std::string(container == VideoContainer::Mp4 ? ".mp4" : ".webm") +
             " file expects 0 to " + std::to_string(HighestVideoCrf(container)) + ", got " +
             std::to_string(options->videoCrf);
  } else if (options->width % 2 != 0 || options->height % 2 != 0) {
    *error = "--video needs an even width and height, got " + std::to_string(options->width) + "x" +
             std::to_string(options->height);
  } else if (options->startAtMs >= options->endAtMs) {
    *error = "--video has nothing to record: --start-at " + std::to_string(options->startAtMs) +
             " is not before --end-at " + std::to_string(options->endAtMs);
  } else if (windowChosen && options->fullScreen) {
    *error = "--video cannot be combined with --fullscreen";
  } else if (options->dev) {
    *error = "--video cannot be combined with --dev";
  }
  if (!error->empty()) return false;
  options->headless = true;
  options->fullScreen = false;
  options->vsync = false;
  return true;
}

}  // namespace

VideoContainer VideoContainerOf(const std::string& path) {
  if (EndsWith(path, ".mp4")) return VideoContainer::Mp4;
  if (EndsWith(path, ".webm")) return VideoContainer::WebM;
  return VideoContainer::None;
}

int32_t HighestVideoCrf(VideoContainer container) { return container == VideoContainer::WebM ? 63 : 51; }

int32_t VideoCrfOf(const ShowOptions& options) {
  if (options.videoCrf >= 0) return options.videoCrf;
  // Gradients, glows and dark water band at the encoders' own defaults.
  return VideoContainerOf(options.videoPath) == VideoContainer::WebM ? 28 : 18;
}

CommandLineResult ParseCommandLine(int argc, const char* const* argv) {
  CommandLineResult result;
  ShowOptions& options = result.options;
  bool windowChosen = false;
  bool sizeChosen = false;
  bool noLauncher = false;

  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    auto value = [&](std::string_view* out) {
      if (i + 1 >= argc) {
        result.error = "option " + std::string(arg) + " needs a value";
        return false;
      }
      *out = argv[++i];
      return true;
    };
    std::string_view text;

    if (arg == "-h" || arg == "--help") {
      result.helpRequested = true;
    } else if (arg == "--windowed") {
      options.fullScreen = false;
      windowChosen = true;
    } else if (arg == "--fullscreen") {
      options.fullScreen = true;
      windowChosen = true;
    } else if (arg == "--vsync") {
      options.vsync = true;
    } else if (arg == "--no-vsync") {
      options.vsync = false;
    } else if (arg == "--headless") {
      options.headless = true;
    } else if (arg == "--no-launcher") {
      noLauncher = true;
    } else if (arg == "--size") {
      if (!value(&text)) return result;
      if (!ParseSize(text, &options)) {
        result.error = "--size expects WIDTHxHEIGHT (16 to 16384 each), got \"" + std::string(text) + "\"";
        return result;
      }
      sizeChosen = true;
    } else if (arg == "--clock") {
      if (!value(&text)) return result;
      if (!ParseClock(text, &options)) {
        result.error = "--clock expects steady or fixed:MILLISECONDS (1 to 60000), got \"" + std::string(text) + "\"";
        return result;
      }
    } else if (arg == "--end-at") {
      if (!value(&text)) return result;
      if (!ParseInteger(text, 0, SHOW_LENGTH_MS, &options.endAtMs)) {
        result.error = "--end-at expects a show time in milliseconds (0 to " + std::to_string(SHOW_LENGTH_MS) +
                       "), got \"" + std::string(text) + "\"";
        return result;
      }
    } else if (arg == "--start-at") {
      if (!value(&text)) return result;
      if (!ParseInteger(text, 0, SHOW_LENGTH_MS, &options.startAtMs)) {
        result.error = "--start-at expects a show time in milliseconds (0 to " + std::to_string(SHOW_LENGTH_MS) +
                       "), got \"" + std::string(text) + "\"";
        return result;
      }
    } else if (arg == "--debug-view") {
      options.debugView = true;
    } else if (arg == "--print-overlay") {
      options.printOverlay = true;
    } else if (arg == "--screenshot") {
      if (!value(&text)) return result;
      options.screenshotPath = text;
    } else if (arg == "--capture") {
      if (!value(&text)) return result;
      options.captureDirectory = text;
    } else if (arg == "--capture-fps") {
      if (!value(&text)) return result;
      int64_t fps = 0;
      if (!ParseInteger(text, 1, 240, &fps)) {
        result.error = "--capture-fps expects 1 to 240 frames per second, got \"" + std::string(text) + "\"";
        return result;
      }
      options.captureFps = static_cast<int32_t>(fps);
    } else if (arg == "--data") {
      if (!value(&text)) return result;
      options.dataFile = text;
    } else if (arg == "--dev") {
      options.dev = true;
      // The source directory is optional: the next word is it unless it is an option.
      if (i + 1 < argc && argv[i + 1][0] != '-') options.devSourceDirectory = argv[++i];
    } else if (arg == "--profile") {
      if (!value(&text)) return result;
      options.profilePath = text;
    } else if (arg == "--video") {
      if (!value(&text)) return result;
      options.videoPath = text;
    } else if (arg == "--video-crf") {
      if (!value(&text)) return result;
      int64_t crf = 0;
      if (!ParseInteger(text, 0, 63, &crf)) {
        result.error = "--video-crf expects a quality number (0 best, 51 worst for .mp4, 63 for .webm), got \"" +
                       std::string(text) + "\"";
        return result;
      }
      options.videoCrf = static_cast<int32_t>(crf);
    } else if (arg == "--quiet") {
      options.quiet = true;
    } else {
      result.error = "unknown option \"" + std::string(arg) + "\"";
      return result;
    }
  }

  if (!CheckVideoOptions(&options, windowChosen, &result.error)) return result;
  // Nothing to switch the display of when nothing is shown; development mode works in a window.
  if ((options.headless || options.dev) && !windowChosen) options.fullScreen = false;
  if (options.headless && options.fullScreen) {
    result.error = "--headless cannot be combined with --fullscreen";
    return result;
  }
  options.launcher = !noLauncher && !options.headless && !options.dev && !sizeChosen && !windowChosen;
  result.ok = true;
  return result;
}

std::string UsageText(const char* programName) {
  std::string usage = "usage: ";
  usage += programName;
  usage += R"( [options]

Plays the show. Escape or closing the window ends it early. Without --size,
--windowed, --fullscreen or --headless a launcher dialog asks for the resolution,
v-sync and full screen first.

  --size WxH          screen size in pixels (default: the desktop size in full
                      screen, 1280x720 in a window)
  --windowed          a centred borderless window instead of full screen
  --fullscreen        switch the display to the chosen size (default)
  --vsync             present in step with the display (default)
  --no-vsync          present as fast as possible
  --no-launcher       start at once with the options given, without the dialog
  --headless          draw off-screen without a display (SDL's offscreen driver);
                      chosen automatically when no display is found
  --clock KIND        steady (default) or fixed:MS, a clock that advances MS
                      milliseconds at every reading (reproducible runs)
  --start-at MS       start the show at this show time: the music starts there
                      and the scene shown then is where a run from 0 has it
  --end-at MS         end the show at this show time (default 204200)
  --debug-view        turn on the debug overlay (preview images, statistics)
  --print-overlay     print the debug overlay's three lines of every frame to
                      stdout, whether or not the overlay is drawn
  --screenshot FILE   write the last frame drawn to FILE (PNG)
  --profile FILE      write every frame's pass timings to FILE
                      (scripts/profile-summary.py makes a per-scene table)
  --capture DIR       write every frame to DIR/frame_00000.png ...; the show
                      clock then steps exactly one frame per pass
  --capture-fps N     frames per second of show time for --capture and --video
                      (default 25)
  --video FILE        record the show (or --start-at to --end-at) headless into
                      FILE with its music: .mp4 (H.264) or .webm (VP9), made by
                      ffmpeg; the same command always gives the same frames
  --video-crf N       the video's quality, 0 best (default 18 for .mp4, 28 for
                      .webm; up to 51 and 63)
  --quiet             no progress while recording a video
  --dev [SOURCE_DIR]  development mode, in a window: Space pauses and resumes,
                      Left/Right seek 1 s (with Shift one bar, 2760 ms), Page
                      Up/Down go to the previous/next scene's start, Home to 0,
                      D toggles the debug overlay; the show holds at its end.
                      With SOURCE_DIR (the repository) a shader saved in
                      content/shaders or a scene rebuilt into build/stage is
                      taken in while the show plays
  --data FILE         play this archive instead of looking for demo.dat in the
                      working directory, beside the program, then in its
                      installed data directory
  -h, --help          show this text
)";
  return usage;
}
