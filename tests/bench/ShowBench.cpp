// pulsar-show-bench [WxH] [frames] [archive]: the real show on llvmpipe. Start-up: launch to the
// first show frame through the Application (unpacking, window, device, shaders, scenes, music).
// Then, per scheduled scene, the median and 99th-percentile time of one frame (Frame plus a
// read-back of the back buffer, which waits for the GPU), frames drawn on a 40 ms step from 2 s
// into the scene, and the read-back alone for comparison.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Timer.h"
#include "demo/CueSheet.h"
#include "demo/Demo.h"
#include "gfx/D3D11Device.h"
#include "platform/clock.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const size_t index = std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size())));
  return values[index];
}

const char* SceneName(int number) {
  static const char* const kNames[] = {"blob", "zelle", "qualle", "fratze", "magnet", "flagge",
                                       "",     "tunnel", "",      "soft",   "logo"};
  return number >= 0 && number <= 10 ? kNames[number] : "";
}

}  // namespace

int main(int argc, char** argv) {
  int width = 640, height = 360, frames = 60;
  if (argc > 1 && std::sscanf(argv[1], "%dx%d", &width, &height) != 2) return 2;
  if (argc > 2) frames = std::max(5, std::atoi(argv[2]));
  const std::string archive = argc > 3 ? argv[3] : PULSAR_DEFAULT_ARCHIVE;

  ShowOptions options;
  options.width = width;
  options.height = height;
  options.fullScreen = false;
  options.vsync = false;
  options.headless = true;
  options.steppedClock = true;
  options.dataFile = archive;
  Application application(options);
  const Clock::time_point launch = Clock::now();
  if (!application.Initialize()) {
    application.Shutdown();
    std::fprintf(stderr, "the show did not start\n");
    return 1;
  }
  Demo& demo = *application.demo();
  Timer& timer = *application.timer();
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  auto frameAt = [&](int64_t t) {
    platform::SetManualClock(t);
    timer.Frame();
    demo.Frame(timer.fps);
    demo.m_pD3D11->GetSwapChain()->ReadBackBuffer(pixels.data());
  };
  frameAt(0);
  const double startup = Milliseconds(Clock::now() - launch);

  std::vector<double> readBack;
  for (int i = 0; i < frames; ++i) {
    const Clock::time_point start = Clock::now();
    demo.m_pD3D11->GetSwapChain()->ReadBackBuffer(pixels.data());
    readBack.push_back(Milliseconds(Clock::now() - start));
  }
  std::printf("%dx%d, %d frames per scene on llvmpipe\nstart-up to the first show frame: %.0f ms\n", width, height,
              frames, startup);
  std::printf("read-back alone: median %.2f ms\n", Percentile(readBack, 0.5));
  std::printf("%-8s %10s %10s\n", "scene", "median ms", "p99 ms");
  for (const cue::SceneSlot& slot : cue::kSchedule) {
    const int64_t first = slot.start + 2000;
    for (int i = 0; i < 3; ++i) frameAt(first - 120 + 40 * i);  // settle after the jump
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
      const Clock::time_point start = Clock::now();
      frameAt(first + 40 * i);
      times.push_back(Milliseconds(Clock::now() - start));
    }
    std::printf("%-8s %10.2f %10.2f\n", SceneName(slot.sceneNumber), Percentile(times, 0.5), Percentile(times, 0.99));
  }
  application.Shutdown();
  return 0;
}
