#include <gtest/gtest.h>

#include "FratzeScene.h"
#include "GeneratedSceneProbe.h"
#include "QualleScene.h"
#include "SceneClock.h"
#include "ZelleScene.h"

namespace {

// The clock the scenes are composed against is the one the show's scene update runs: the real
// update with the cue sheet's speed events, frame by frame at 25 frames a second, reads the same
// scene time at every frame of the window. (The art brief's table rounds 40 ms × 0.65 to 26 ms;
// the update truncates the single-precision product to 25 ms, so the jellyfish reach frame 499.)
TEST(SceneClockTest, MatchesTheSceneUpdateWithTheShowsSpeedEvents) {
  struct Case {
    int index;
    c4e::Scene description;
    cue::Millis start, end;
    int64_t furthestFrame;
  };
  const Case cases[] = {{1, zelle::ZelleScene(), 69000, 91000, 288},
                        {2, qualle::QualleScene(), 91000, 113150, 499},
                        {3, fratze::FratzeScene(), 113150, 135150, 540}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description.name);
    const auto scene = scene_probe::ReadBack(c.description);
    ASSERT_TRUE(scene);
    for (const cue::SpeedCue& cueEvent : cue::kSpeedEvents)
      if (cueEvent.sceneIndex == c.index) scene->speedEvents.push_back({false, cueEvent.time, cueEvent.speed, cueEvent.jumpFrame});
    scene->Restart();
    scene->currentCamera = 0;
    int64_t furthest = 0;
    for (cue::Millis show = c.start; show < c.end; show += kit::kFrameMs) {
      scene->Update(show, kit::kFrameMs);
      ASSERT_EQ(scene->time, kit::SceneTimeAt(c.index, show)) << "at " << show;
      furthest = std::max(furthest, scene->time);
    }
    EXPECT_EQ(furthest, kit::FurthestSceneTime(c.index, c.end));
    EXPECT_EQ(furthest / kit::kFrameMs, c.furthestFrame);
    EXPECT_EQ(scene->currentCamera, 0) << "the scene looped inside its window";
  }
}

}  // namespace
