// pulsar-contact-sheet: plays the real show (from demo.dat) headless on a stepped clock (one
// frame of 1/fps per pass, as capture does) and lays the frames at every interval into one labelled PNG, so
// the whole show can be judged at a glance.
//
//   pulsar-contact-sheet [--archive demo.dat] [--size WxH] [--every MS] [--end MS]
//                        [--fps N] [--columns N] [--out FILE]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Canvas.h"
#include "app/Application.h"
#include "app/Timer.h"
#include "demo/Demo.h"
#include "gfx/D3D11Device.h"

namespace {

struct Options {
  std::string archive = PULSAR_DEFAULT_ARCHIVE;
  int width = 640;
  int height = 360;
  int64_t every = 5000;
  int64_t end = 200000;
  int fps = 25;
  int columns = 6;
  std::string out = "contact-sheet.png";
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (!value) return false;
    if (arg == "--archive") o.archive = value;
    else if (arg == "--size") {
      if (std::sscanf(value, "%dx%d", &o.width, &o.height) != 2) return false;
    } else if (arg == "--every") o.every = std::strtoll(value, nullptr, 10);
    else if (arg == "--end") o.end = std::strtoll(value, nullptr, 10);
    else if (arg == "--fps") o.fps = std::atoi(value);
    else if (arg == "--columns") o.columns = std::atoi(value);
    else if (arg == "--out") o.out = value;
    else return false;
    ++i;
  }
  // Every mark must fall on a frame of the stepped clock.
  return o.width >= 16 && o.height >= 16 && o.width <= 4096 && o.height <= 4096 && o.fps >= 1 && o.fps <= 240 &&
         o.every > 0 && o.every % (1000 / o.fps) == 0 && 1000 % o.fps == 0 && o.end >= 0 && o.end <= SHOW_LENGTH_MS &&
         o.columns >= 1;
}

struct Frame {
  int64_t time = 0;
  std::vector<uint8_t> pixels;
};

std::string Label(int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof(text), "%lld.%03lld s", static_cast<long long>(ms / 1000),
                static_cast<long long>(ms % 1000));
  return text;
}

bool WriteSheet(const Options& o, const std::vector<Frame>& frames, const std::string& out) {
  const int strip = 24, columns = o.columns;
  const int rows = static_cast<int>((frames.size() + columns - 1) / columns);
  Canvas sheet(columns * o.width, rows * (o.height + strip), {0.06f, 0.06f, 0.07f, 1.0f});
  TextPainter font;
  const bool labelled = font.Load(PULSAR_BOLD_FONT);
  for (size_t i = 0; i < frames.size(); ++i) {
    const int left = static_cast<int>(i % columns) * o.width, top = static_cast<int>(i / columns) * (o.height + strip);
    for (int y = 0; y < o.height; ++y)
      for (int x = 0; x < o.width; ++x) {
        const uint8_t* p = &frames[i].pixels[(static_cast<size_t>(y) * o.width + x) * 4];
        sheet.At(left + x, top + y) = {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, 1.0f};
      }
    if (labelled)
      font.Draw(sheet, Label(frames[i].time), static_cast<float>(left + 6), static_cast<float>(top + o.height + 4), 16.0f,
                {0.9f, 0.9f, 0.92f, 1.0f});
  }
  return sheet.WritePng(out);
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fprintf(stderr,
                 "usage: pulsar-contact-sheet [--archive demo.dat] [--size WxH] [--every MS] [--end MS] [--fps N] "
                 "[--columns N] [--out FILE]\n(MS a whole number of frames; N divides 1000)\n");
    return 2;
  }
  const std::string out = std::filesystem::absolute(o.out).string();
  ShowOptions show;
  show.width = o.width;
  show.height = o.height;
  show.fullScreen = false;
  show.vsync = false;
  show.headless = true;
  show.endAtMs = o.end;
  show.captureFps = o.fps;
  show.steppedClock = true;
  show.dataFile = o.archive;
  Application application(show);
  std::vector<Frame> frames;
  bool played = false;
  if (application.Initialize()) {
    Demo* demo = application.demo();
    Timer* timer = application.timer();
    application.RunFrames([&](int32_t fps) {
      if (!demo->Frame(fps)) return false;
      if (timer->elapsed % o.every == 0 && timer->elapsed <= o.end) {
        Frame frame{timer->elapsed, std::vector<uint8_t>(static_cast<size_t>(o.width) * o.height * 4)};
        if (!demo->m_pD3D11->GetSwapChain()->ReadPresentedPicture(frame.pixels.data())) return false;
        frames.push_back(std::move(frame));
      }
      return true;
    });
    played = true;
  }
  application.Shutdown();
  if (!played || frames.empty()) {
    std::fprintf(stderr, "pulsar-contact-sheet: the show did not start\n");
    return 1;
  }
  if (!WriteSheet(o, frames, out)) {
    std::fprintf(stderr, "pulsar-contact-sheet: could not write %s\n", out.c_str());
    return 1;
  }
  std::printf("%s: %zu frames, every %lld ms to %lld ms, at %dx%d\n", out.c_str(), frames.size(),
              static_cast<long long>(o.every), static_cast<long long>(o.end), o.width, o.height);
  return 0;
}
