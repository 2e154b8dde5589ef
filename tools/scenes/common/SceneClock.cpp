#include "SceneClock.h"

#include <algorithm>
#include <vector>

namespace kit {

namespace {

// Runs the clock frame by frame from the scene's first event until `until`; calls visit(sceneTime).
template <typename Visit>
void Run(int sceneIndex, cue::Millis until, Visit&& visit) {
  std::vector<cue::SpeedCue> events;
  for (const cue::SpeedCue& event : cue::kSpeedEvents)
    if (event.sceneIndex == sceneIndex) events.push_back(event);
  if (events.empty()) return;
  std::vector<bool> fired(events.size(), false);
  int64_t time = 0;
  float speed = 1.0f;
  for (cue::Millis show = events.front().time; show < until; show += kFrameMs) {
    for (size_t i = 0; i < events.size(); ++i) {
      if (fired[i] || events[i].time > show) continue;
      fired[i] = true;
      speed = events[i].speed;
      if (events[i].jumpFrame >= 0) time = static_cast<int64_t>(events[i].jumpFrame) * kFrameMs;
    }
    time += static_cast<int64_t>(static_cast<long double>(kFrameMs) * speed);
    time = std::max<int64_t>(time, 0);
    visit(time);
  }
}

}  // namespace

int64_t SceneTimeAt(int sceneIndex, cue::Millis showTime) {
  int64_t result = 0;
  Run(sceneIndex, showTime + 1, [&](int64_t time) { result = time; });
  return result;
}

int64_t FurthestSceneTime(int sceneIndex, cue::Millis windowEnd) {
  int64_t furthest = 0;
  Run(sceneIndex, windowEnd, [&](int64_t time) { furthest = std::max(furthest, time); });
  return furthest;
}

}  // namespace kit
