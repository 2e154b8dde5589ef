#include "platform/d3d11/layer_clock.h"

#include <ctime>

namespace platform::d3d11 {

namespace {

bool g_measuring = false;
int g_depth = 0;
double g_totalMs = 0.0;

}  // namespace

double ThreadCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

void MeasureLayerTime(bool on) {
  g_measuring = on;
  g_totalMs = 0.0;
}

double TakeLayerMilliseconds() {
  const double total = g_totalMs;
  g_totalMs = 0.0;
  return total;
}

LayerCallTimer::LayerCallTimer() {
  if (!g_measuring) return;
  m_counted = true;
  if (g_depth++ == 0) m_startMs = ThreadCpuMilliseconds();
}

LayerCallTimer::~LayerCallTimer() {
  if (!m_counted) return;
  --g_depth;
  if (m_startMs >= 0.0 && g_measuring) g_totalMs += ThreadCpuMilliseconds() - m_startMs;
}

}  // namespace platform::d3d11
