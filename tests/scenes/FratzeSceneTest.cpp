#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "FaceSculpt.h"
#include "FratzeScene.h"
#include "GeneratedSceneProbe.h"
#include "SceneChecks.h"
#include "SceneClock.h"

namespace {

constexpr int kFratze = 3;  // the show's index of the scene

TEST(FratzeSceneTest, PassesTheLibrarysChecksAndRollsWithALevelHorizon) {
  const c4e::Scene description = fratze::FratzeScene();
  for (const std::string& problem : kit::SceneProblems(description)) ADD_FAILURE() << problem;
  const auto scene = scene_probe::ReadBack(description);
  ASSERT_TRUE(scene);
  // The show turns the camera's up with its rotation: the roll must not tip the view over.
  scene->cameraUpFollowsRotation = true;
  for (int64_t time = 0; time < scene->endTime; time += 400) {
    scene_probe::Pose(*scene, time, 0);
    // The view's right axis is its first column: its height is the sine of the roll (or less).
    const D3DXMATRIX& view = scene->cameras[0]->view;
    EXPECT_LT(std::fabs(view._21), 0.42f) << "the horizon tilts past 25 degrees at " << time << " ms";
    EXPECT_GT(view._22, 0.0f) << "upside down at " << time << " ms";
  }
}

// How far the face has moved from its first (neutral) key, on average over its vertices, and how
// far its chin has dropped, as the show's morph evaluation poses it.
struct Grimace {
  float mean = 0.0f;
  float chinDrop = 0.0f;
};

Grimace GrimaceAt(Scene& scene, int64_t time) {
  scene_probe::Pose(scene, time, 0);
  for (const auto& object : scene.polyObjects) {
    if (object->name != "face") continue;
    const auto& neutral = object->morphKeys.front()->positions;
    Grimace grimace;
    float neutralChin = 0.0f, chin = 0.0f;
    for (size_t v = 0; v < neutral.size(); ++v) {
      const D3DXVECTOR3 d(object->currentPositions[v].x - neutral[v].x, object->currentPositions[v].y - neutral[v].y,
                          object->currentPositions[v].z - neutral[v].z);
      grimace.mean += D3DXVec3Length(&d) / static_cast<float>(neutral.size());
      // The chin: the lowest front point above the neck.
      if (neutral[v].z < -60.0f && neutral[v].y > -110.0f && neutral[v].y < neutralChin)
        neutralChin = neutral[v].y, chin = object->currentPositions[v].y;
    }
    grimace.chinDrop = neutralChin - chin;
    return grimace;
  }
  ADD_FAILURE() << "no face";
  return {};
}

TEST(FratzeSceneTest, TheThreeShakesHitTheGrimacesAtTheirPeaksWithANeutralFaceBetween) {
  const auto scene = scene_probe::ReadBack(fratze::FratzeScene());
  ASSERT_TRUE(scene);
  std::vector<Grimace> atShakes;
  float weakestPeak = 1e30f;
  for (const cue::ShakeCue& shake : cue::kShakeEvents) {
    if (shake.sceneIndex != kFratze) continue;
    // The grimace's own peak: the most the face moves within two seconds either side.
    const int64_t hit = kit::SceneTimeAt(kFratze, shake.start);
    float peak = 0.0f;
    for (int64_t time = hit - 2000; time <= hit + 2000; time += 40) peak = std::max(peak, GrimaceAt(*scene, time).mean);
    weakestPeak = std::min(weakestPeak, peak);
    // Through the whole shake the face holds (nearly) that worst.
    for (cue::Millis show = shake.start; show <= shake.end; show += 115)
      EXPECT_GT(GrimaceAt(*scene, kit::SceneTimeAt(kFratze, show)).mean, 0.85f * peak) << "shake at " << shake.start << ", " << show;
    atShakes.push_back(GrimaceAt(*scene, hit));
  }
  ASSERT_EQ(atShakes.size(), 3u);
  // Sneer and grin keep the jaw nearly shut; the scream drops it.
  EXPECT_LT(atShakes[0].chinDrop, 15.0f);
  EXPECT_LT(atShakes[1].chinDrop, 20.0f);
  EXPECT_GT(atShakes[2].chinDrop, 40.0f);
  // Between the grimaces the face comes back to rest.
  for (int frame : {250, 368, 440}) EXPECT_LT(GrimaceAt(*scene, frame * kit::kFrameMs).mean, 0.2f * weakestPeak) << frame;
}

TEST(FaceSculptTest, TheMouthOpensOnlyBetweenTheLipsAndTheSkinStaysWhole) {
  // Outside the mouth the skin above and below the lips' line is one surface, whatever the face does.
  for (const fratze::Expression& e : {fratze::Neutral(), fratze::Sneer(), fratze::Grin(), fratze::Scream()}) {
    const float outside = fratze::MouthHalfWidth(e) + 0.12f;
    for (float fx : {-outside - 0.2f, -outside, outside, outside + 0.2f}) {
      const c4e::Vec3 above = fratze::SkinPoint(e, fx, fratze::kMouthLine, true);
      const c4e::Vec3 below = fratze::SkinPoint(e, fx, fratze::kMouthLine, false);
      EXPECT_NEAR(above.x, below.x, 1e-3f);
      EXPECT_NEAR(above.y, below.y, 1e-3f);
      EXPECT_NEAR(above.z, below.z, 1e-3f);
    }
  }
  // In the middle the lips part by the jaw's drop and the parting.
  const fratze::Expression scream = fratze::Scream();
  const float gap = fratze::SkinPoint(scream, 0.0f, fratze::kMouthLine, true).y -
                    fratze::SkinPoint(scream, 0.0f, fratze::kMouthLine, false).y;
  EXPECT_NEAR(gap, -fratze::JawOffset(scream).y + 0.4f * scream.lipsApart, 1.0f);
  const fratze::Expression rest = fratze::Neutral();
  EXPECT_NEAR(fratze::SkinPoint(rest, 0.0f, fratze::kMouthLine, true).y, fratze::SkinPoint(rest, 0.0f, fratze::kMouthLine, false).y,
              1e-3f);
}

}  // namespace

namespace {

// The teeth hide behind the lips of the closed mouth, and the lower row drops with the jaw.
TEST(FratzeSceneTest, TeethHideBehindClosedLipsAndTheLowerRowRidesTheJaw) {
  const auto scene = scene_probe::ReadBack(fratze::FratzeScene());
  ASSERT_TRUE(scene);
  const PolyObject* upper = nullptr;
  const PolyObject* lower = nullptr;
  for (const auto& object : scene->polyObjects) {
    if (object->name == "teeth_upper") upper = object.get();
    if (object->name == "teeth_lower") lower = object.get();
  }
  ASSERT_TRUE(upper && lower);
  const fratze::Expression rest = fratze::Neutral();
  for (const PolyObject* row : {upper, lower})
    for (const VertexRecord& vertex : row->vertices) {
      const c4e::Vec3 lip = fratze::SkinPoint(rest, vertex.position.x / 84.0f, fratze::kMouthLine, true);
      EXPECT_GT(vertex.position.z, lip.z + 3.0f) << row->name << " pokes through the lips";
    }
  // At the scream's peak the lower row has dropped as far as the jaw.
  scene_probe::Pose(*scene, kit::SceneTimeAt(kFratze, 133840), 0);
  EXPECT_NEAR(lower->position.y, fratze::JawOffset(fratze::Scream()).y, 2.0f);
  EXPECT_LT(lower->position.y, -50.0f);
  EXPECT_EQ(upper->position.y, 0.0f);
}

}  // namespace
