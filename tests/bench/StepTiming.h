#pragma once
// Times one step of a benchmark many times and keeps the median and the best run, so a
// machine busy with other work shows in the median but not in the best.
#include <algorithm>
#include <chrono>
#include <vector>

struct Figures {
  double median = 0.0;
  double best = 0.0;
};

template <class Step>
Figures Measure(int iterations, Step step) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> milliseconds;
  for (int i = 0; i < iterations; ++i) {
    const Clock::time_point start = Clock::now();
    step();
    milliseconds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  return {milliseconds[milliseconds.size() / 2], milliseconds.front()};
}
