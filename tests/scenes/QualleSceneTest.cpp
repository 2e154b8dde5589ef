#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "GeneratedSceneProbe.h"
#include "JellyShapes.h"
#include "QualleScene.h"
#include "SceneChecks.h"
#include "SceneClock.h"

namespace {

constexpr int kQualle = 2;  // the show's index of the scene
constexpr cue::Millis kWindowStart = 91000, kSlower = 96750;

TEST(QualleSceneTest, PassesTheLibrarysChecksAndRollsWithALevelHorizon) {
  const c4e::Scene description = qualle::QualleScene();
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

// The widest reach of a bell's vertices from its axis, as the show's morph evaluation poses it.
float BellRadius(const Scene& scene, const std::string& name) {
  for (const auto& object : scene.polyObjects) {
    if (object->name != name) continue;
    float widest = 0.0f;
    for (const D3DXVECTOR3& p : object->currentPositions) widest = std::max(widest, std::hypot(p.x, p.z));
    return widest;
  }
  ADD_FAILURE() << "no mesh " << name;
  return 0.0f;
}

TEST(QualleSceneTest, TheBellContractsOnEveryOtherBeatWhileTheClockKeepsTheMusicsPace) {
  const auto scene = scene_probe::ReadBack(qualle::QualleScene());
  ASSERT_TRUE(scene);
  const float contraction = qualle::PulseCurve::kContract * kit::kFrameMs;
  for (cue::Millis beat = kWindowStart; beat + 2 * cue::kBeat < kSlower; beat += 2 * cue::kBeat) {
    const int64_t start = kit::SceneTimeAt(kQualle, beat) - kit::kFrameMs;
    scene_probe::Pose(*scene, start, 0);
    const float rest = BellRadius(*scene, "bell1");
    scene_probe::Pose(*scene, start + static_cast<int64_t>(contraction), 0);
    const float contracted = BellRadius(*scene, "bell1");
    EXPECT_LT(contracted, 0.8f * rest) << "beat at " << beat;
  }
}

TEST(PulseCurveTest, QuickContractionSlowRelaxationThatOvershoots) {
  const qualle::PulseCurve pulse({0.0f, 35.0f, 69.0f});
  EXPECT_EQ(pulse.Contraction(0.0f), 0.0f);
  EXPECT_EQ(pulse.Contraction(qualle::PulseCurve::kContract), 1.0f);
  EXPECT_NEAR(pulse.Contraction(qualle::PulseCurve::kContract + qualle::PulseCurve::kRelax), qualle::PulseCurve::kOvershoot, 1e-6f);
  EXPECT_NEAR(pulse.Contraction(34.99f), 0.0f, 1e-3f);
  // Faster in than out.
  EXPECT_GT(pulse.Contraction(3.5f), 0.4f);
  EXPECT_GT(pulse.Contraction(12.0f), 0.4f);
  // Hermite keys on the turning frames reproduce the curve between them.
  const std::vector<int> turns = pulse.TurningFrames(100);
  for (size_t i = 0; i + 1 < turns.size(); ++i) {
    const float a = pulse.Contraction(static_cast<float>(turns[i])), b = pulse.Contraction(static_cast<float>(turns[i + 1]));
    for (float s : {0.25f, 0.5f, 0.75f}) {
      const float frame = turns[i] + s * (turns[i + 1] - turns[i]);
      EXPECT_NEAR(pulse.Contraction(frame), a + (b - a) * (3 * s * s - 2 * s * s * s), 1e-4f) << frame;
    }
  }
}

}  // namespace

namespace {

// Tentacles hang from the bell's margin whatever the bell does: their roots follow the rim in
// and out with every contraction, and they hang below it.
TEST(JellyShapesTest, TentaclesStayRootedOnTheRimAndHangBelowIt) {
  qualle::JellyBuild jelly;
  const qualle::PulseCurve pulse({0.0f, 35.0f, 69.0f});
  for (float frame : {0.0f, 4.0f, 7.0f, 17.0f, 30.0f, 42.0f}) {
    const float contraction = pulse.Contraction(frame);
    const float rim = qualle::RimRadius(jelly, contraction);
    // The bell's own margin at that contraction (v = 0.5 is the rim row).
    const c4e::Vec3 margin = qualle::BellSurface(jelly, contraction, frame)(0.0f, 0.5f);
    EXPECT_NEAR(std::hypot(margin.x, margin.z), rim, 0.06f * rim) << frame;
    for (int t = 0; t < jelly.tentacles; ++t) {
      const std::vector<c4e::Vec3> line = qualle::TentacleLine(jelly, pulse, t, frame);
      ASSERT_EQ(line.size(), static_cast<size_t>(jelly.tentacleSegments + 1));
      EXPECT_NEAR(std::hypot(line.front().x, line.front().z), rim, 0.05f * rim) << frame << ", tentacle " << t;
      EXPECT_LT(line.back().y, -0.5f * jelly.tentacleLength) << frame << ", tentacle " << t;
    }
  }
}

}  // namespace
