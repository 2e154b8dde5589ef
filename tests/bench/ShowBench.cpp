// pulsar-show-bench [WxH] [frames] [archive]: the real show on llvmpipe. Start-up: launch to the
// first show frame through the Application (unpacking, window, device, shaders, scenes, music);
// with 0 frames, nothing else.
// Then, per scheduled scene, the median and 99th-percentile time of one frame (Frame plus a
// read-back of the back buffer, which waits for the GPU), frames drawn on a 40 ms step from 2 s
// into the scene (and into the tunnel's cross-fade), and the read-back alone for comparison. Beside each scene, its floor: the
// passes of one of its frames (as the frame profiler counts them), each drawn alone as a trivial
// one-sample copy into its target, summed; and the ratio of the frame (less the read-back) to it.
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Timer.h"
#include "demo/CueSheet.h"
#include "demo/Demo.h"
#include "fx/PostEffect.h"
#include "gfx/D3D11Device.h"
#include "gfx/FrameProfiler.h"
#include "gfx/RenderTarget.h"
#include "support/TempDirectory.h"
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

// Milliseconds of one trivial copy into each target the show draws into, each finished on the
// GPU, the median of several.
class CopyFloor {
 public:
  explicit CopyFloor(Demo& demo) : m_demo(demo) {}

  double PassMs(const std::string& target) {
    const auto known = m_ms.find(target);
    if (known != m_ms.end()) return known->second;
    const double ms = Measure(target);
    m_ms.emplace(target, ms);
    return ms;
  }

 private:
  double Measure(const std::string& target) {
    // Presenting is not a pass of its own in the floor: the frame's read-back stands for it.
    if (target == "present") return 0.0;
    RenderTarget* into = nullptr;
    for (RenderTarget* candidate :
         {m_demo.m_pTexture_1, m_demo.m_pTexture_2, m_demo.m_pRTT_1_1, m_demo.m_pRTT_1_2, m_demo.m_pRTT_4_1,
          m_demo.m_pRTT_4_2, m_demo.m_pRTT_16_1, m_demo.m_pRTT_16_2, m_demo.m_pRTT_Blur, m_demo.m_pRTT_BrightPass,
          m_demo.m_pRTT_DepthMap, m_demo.m_pRTT_SSAO, m_demo.m_pRTT_SSAO_normals_depth})
      if (candidate != nullptr && target == PassName(candidate->name)) into = candidate;
    if (into == nullptr && target != "back buffer") {
      std::fprintf(stderr, "no target named %s; its pass counts nothing in the floor\n", target.c_str());
      return 0.0;
    }
    RenderTarget* source = into == m_demo.m_pRTT_1_2 ? m_demo.m_pRTT_1_1 : m_demo.m_pRTT_1_2;
    std::vector<double> times;
    for (int i = 0; i < 8; ++i) {
      glFinish();
      const Clock::time_point start = Clock::now();
      if (into != nullptr) {
        into->SetAsTarget();
      } else {
        m_demo.m_pD3D11->SetBackBufferRenderTarget();
        m_demo.m_pD3D11->ResetViewport();
      }
      m_demo.CopyTarget(source, static_cast<int32_t>(PostEffect::none));
      glFinish();
      times.push_back(Milliseconds(Clock::now() - start));
    }
    return Percentile(times, 0.5);
  }

  Demo& m_demo;
  std::map<std::string, double> m_ms;
};

}  // namespace

int main(int argc, char** argv) {
  int width = 640, height = 360, frames = 60;
  if (argc > 1 && std::sscanf(argv[1], "%dx%d", &width, &height) != 2) return 2;
  // 0 frames: the start-up alone.
  if (argc > 2) {
    const int asked = std::atoi(argv[2]);
    frames = asked == 0 ? 0 : std::max(5, asked);
  }
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
  if (frames == 0) {
    std::printf("start-up to the first show frame: %.0f ms\n", startup);
    application.Shutdown();
    return 0;
  }

  std::vector<double> readBack;
  for (int i = 0; i < frames; ++i) {
    const Clock::time_point start = Clock::now();
    demo.m_pD3D11->GetSwapChain()->ReadBackBuffer(pixels.data());
    readBack.push_back(Milliseconds(Clock::now() - start));
  }
  std::printf("%dx%d, %d frames per scene on llvmpipe\nstart-up to the first show frame: %.0f ms\n", width, height,
              frames, startup);
  const double readBackMs = Percentile(readBack, 0.5);
  std::printf("read-back alone: median %.2f ms (taken off each frame for its ratio to the floor)\n", readBackMs);
  CopyFloor floor(demo);
  TempDirectory profileDirectory(/*enter=*/false);
  std::printf("%-9s %10s %10s %8s %10s %8s\n", "scene", "median ms", "p99 ms", "passes", "floor ms", "ratio");
  // Each scene from 2 s into its slot; the tunnel a second time inside its cross-fade, where
  // both halves are drawn.
  struct Sample {
    std::string name;
    int32_t sceneNumber;
    int64_t first;
  };
  std::vector<Sample> samples;
  for (const cue::SceneSlot& slot : cue::kSchedule) {
    samples.push_back({SceneName(slot.sceneNumber), slot.sceneNumber, slot.start + 2000});
    if (slot.sceneNumber == 7) samples.push_back({"crossfade", 7, cue::kCrossFader.front().start + 2000});
  }
  for (const Sample& slot : samples) {
    const int64_t first = slot.first;
    for (int i = 0; i < 3; ++i) frameAt(first - 120 + 40 * i);  // settle after the jump
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
      const Clock::time_point start = Clock::now();
      frameAt(first + 40 * i);
      times.push_back(Milliseconds(Clock::now() - start));
    }
    // One more frame under the profiler, for the passes it draws.
    FrameProfiler profiler;
    std::vector<std::string> passes;
    if (profiler.Create((profileDirectory.path() / "frame.tsv").string())) {
      SetActiveFrameProfiler(&profiler);
      profiler.BeginFrame();
      frameAt(first + 40 * frames);
      profiler.EndFrame(first + 40 * frames, slot.sceneNumber);
      SetActiveFrameProfiler(nullptr);
      passes = profiler.PassTargets();
    }
    double floorMs = 0.0;
    for (const std::string& pass : passes) floorMs += floor.PassMs(pass);
    const double median = Percentile(times, 0.5);
    std::printf("%-9s %10.2f %10.2f %8zu %10.2f %8.2f\n", slot.name.c_str(), median, Percentile(times, 0.99),
                passes.size(), floorMs, floorMs > 0.0 ? (median - readBackMs) / floorMs : 0.0);
  }
  application.Shutdown();
  return 0;
}
