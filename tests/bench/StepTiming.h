#pragma once
// Times one step of a benchmark many times and keeps the median and the best run, so a
// machine busy with other work shows in the median but not in the best; beside them the
// processor time of every thread of the process (a software rasteriser's workers too) per run,
// which a busy machine disturbs least.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

struct Figures {
  double median = 0.0;
  double best = 0.0;
  double cpu = 0.0;
};

inline double ProcessCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

template <class Step>
Figures Measure(int iterations, Step step) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> milliseconds;
  const double cpuStart = ProcessCpuMilliseconds();
  for (int i = 0; i < iterations; ++i) {
    const Clock::time_point start = Clock::now();
    step();
    milliseconds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  const double cpu = (ProcessCpuMilliseconds() - cpuStart) / iterations;
  std::sort(milliseconds.begin(), milliseconds.end());
  return {milliseconds[milliseconds.size() / 2], milliseconds.front(), cpu};
}
