// pulsar-long-run [--data demo.dat] [--size WxH] [--end-at MS] [--series FILE] [--passes N]
// One whole show in this process, on the steady clock as a user sees it, measuring two things:
// 1. resident memory, sampled when each scene of the schedule takes over and at the end;
// 2. the music's output position against show time, every frame: per scene the smallest and
//    largest difference (music minus show, in ms); with --series, every frame's pair to FILE.
// With --passes N the show plays N times in the one process (each pass after the first starts
// again from 0 as development mode's Home does): growth that is first use shows only in pass 1.
// The music clock is only worth measuring on an output that plays in real time (a sound card,
// or a PulseAudio null sink: tests/bench/long-run.sh starts one); SDL's dummy driver paces
// itself in whole milliseconds and runs fast.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/Application.h"
#include "app/Timer.h"
#include "demo/CueSheet.h"
#include "demo/Demo.h"
#include "demo/ShowData.h"
#include "sound/Sound.h"

namespace {

constexpr double kMusicRate = 44100.0;

double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
  }
  return -1.0;
}

struct SceneSample {
  int pass = 1;
  int scene = 0;
  int64_t slotStart = 0;
  int64_t sampledAt = 0;  // show time of the first frame in the slot
  double residentMb = 0.0;
  double driftMin = 1e9;
  double driftMax = -1e9;
  int64_t frames = 0;
};

bool ParseSize(const char* text, int32_t* width, int32_t* height) {
  return std::sscanf(text, "%dx%d", width, height) == 2 && *width > 0 && *height > 0;
}

}  // namespace

int main(int argc, char** argv) {
  ShowOptions show;
  show.width = 160;
  show.height = 90;
  show.fullScreen = false;
  show.vsync = false;
  show.headless = true;
  std::string seriesPath;
  int passes = 1;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--data") == 0) {
      show.dataFile = argv[i + 1];
    } else if (std::strcmp(argv[i], "--size") == 0 && ParseSize(argv[i + 1], &show.width, &show.height)) {
    } else if (std::strcmp(argv[i], "--end-at") == 0) {
      show.endAtMs = std::atoll(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--series") == 0) {
      seriesPath = argv[i + 1];
    } else if (std::strcmp(argv[i], "--passes") == 0 && std::atoi(argv[i + 1]) > 0) {
      passes = std::atoi(argv[i + 1]);
    } else {
      std::fprintf(stderr, "usage: pulsar-long-run [--data demo.dat] [--size WxH] [--end-at MS] [--series FILE] [--passes N]\n");
      return 2;
    }
  }

  Application application(show);
  std::vector<SceneSample> samples;
  double endResidentMb = 0.0;
  bool musicPlays = false;
  std::vector<std::pair<int64_t, double>> series;  // show time, music position (ms)
  if (application.Initialize()) {
    Demo* demo = application.demo();
    Timer* timer = application.timer();
    musicPlays = demo->m_pSound && demo->m_pSound->PositionFrames() >= 0;
    for (int pass = 1; pass <= passes; ++pass) {
      if (pass > 1) application.StartShowAt(0, true);
      application.RunFrames([&](int32_t fps) {
        // The music's position right after the Timer's reading, before the frame takes its time.
        const int64_t now = timer->elapsed;
        const double musicMs =
            musicPlays ? 1000.0 * static_cast<double>(demo->m_pSound->PositionFrames()) / kMusicRate : 0.0;
        if (!demo->Frame(fps)) return false;
        const int64_t slot = show::SlotStart(now);
        if (samples.empty() || samples.back().pass != pass || samples.back().slotStart != slot) {
          samples.push_back({pass, show::ScheduledScene(now), slot, now, ResidentMegabytes()});
        }
        if (musicPlays) {
          const double drift = musicMs - static_cast<double>(now);
          samples.back().driftMin = std::min(samples.back().driftMin, drift);
          samples.back().driftMax = std::max(samples.back().driftMax, drift);
          if (!seriesPath.empty()) series.emplace_back(now, musicMs);
        }
        ++samples.back().frames;
        return true;
      });
    }
    endResidentMb = ResidentMegabytes();
  }
  application.Shutdown();
  if (samples.empty()) {
    std::fprintf(stderr, "pulsar-long-run: the show did not start\n");
    return 1;
  }

  if (!seriesPath.empty()) {
    std::ofstream out(seriesPath);
    out << "show_ms music_ms\n";
    for (const auto& [showMs, musicMs] : series) out << showMs << ' ' << musicMs << '\n';
    if (!out) std::fprintf(stderr, "pulsar-long-run: could not write %s\n", seriesPath.c_str());
  }
  const char* driver = std::getenv("SDL_AUDIODRIVER");
  std::printf("whole show at %dx%d on the steady clock, audio driver %s%s\n", show.width, show.height,
              driver ? driver : "(default)", musicPlays ? "" : " (no music output: drift not measured)");
  std::printf("%4s %6s %10s %10s %8s %9s %11s %11s\n", "pass", "scene", "slot (ms)", "at (ms)", "frames", "RSS (MB)",
              "drift min", "drift max");
  double worstDrift = 0.0;
  for (const SceneSample& s : samples) {
    std::printf("%4d %6d %10lld %10lld %8lld %9.1f", s.pass, s.scene, static_cast<long long>(s.slotStart),
                static_cast<long long>(s.sampledAt), static_cast<long long>(s.frames), s.residentMb);
    if (musicPlays) {
      std::printf(" %11.1f %11.1f", s.driftMin, s.driftMax);
      worstDrift = std::max({worstDrift, std::fabs(s.driftMin), std::fabs(s.driftMax)});
    }
    std::printf("\n");
  }
  std::printf("%4s %6s %10s %10s %8s %9.1f\n", "", "end", "", "", "", endResidentMb);
  // Growth after the first scene: the first scene's sample is taken once everything is loaded.
  const double firstMb = samples.front().residentMb;
  double highest = endResidentMb;
  for (const SceneSample& s : samples) highest = std::max(highest, s.residentMb);
  std::printf("resident memory: %.1f MB when the first scene began, highest %.1f MB (+%.1f), at the end %.1f MB (%+.1f)\n",
              firstMb, highest, highest - firstMb, endResidentMb, endResidentMb - firstMb);
  // Every later pass against its own start: what the show keeps growing by once all is in use.
  for (int pass = 2; pass <= passes; ++pass) {
    double start = -1.0, top = 0.0;
    for (const SceneSample& s : samples) {
      if (s.pass != pass) continue;
      if (start < 0.0) start = s.residentMb;
      top = std::max(top, s.residentMb);
    }
    if (start >= 0.0) std::printf("pass %d: %.1f MB at its start, highest %.1f MB (%+.1f)\n", pass, start, top, top - start);
  }
  if (musicPlays) std::printf("music against show time: largest difference %.1f ms\n", worstDrift);
  return 0;
}
