#include <gtest/gtest.h>

#include <cmath>

#include "CellDivision.h"
#include "GeneratedSceneProbe.h"
#include "SceneChecks.h"
#include "SceneClock.h"
#include "ZelleScene.h"

namespace {

constexpr int kZelle = 1;  // the show's index of the scene
constexpr cue::Millis kWindowStart = 69000, kWindowEnd = 91000, kJump = 80000;

TEST(ZelleSceneTest, PassesTheLibrarysChecks) {
  const c4e::Scene description = zelle::ZelleScene();
  for (const std::string& problem : kit::SceneProblems(description)) ADD_FAILURE() << problem;
}

TEST(ZelleSceneTest, TheShowNeverReachesTheFramesWhereTheTwoDivisionsSwap) {
  // Forward and rewound, the first division stays below the swap; after the jump the second
  // division, forward and rewound, stays at or above it.
  for (cue::Millis show = kWindowStart; show < kWindowEnd; show += kit::kFrameMs) {
    const int64_t frame = kit::SceneTimeAt(kZelle, show) / kit::kFrameMs;
    if (show < kJump) EXPECT_LT(frame, zelle::kSwapFrame) << show;
    else EXPECT_GE(frame, zelle::kSwapFrame) << show;
  }
  EXPECT_EQ(kit::FurthestSceneTime(kZelle, kJump) / kit::kFrameMs, zelle::kFirstPartEnd);
}

TEST(CellDivisionTest, ARoundCellPartsIntoTwoRoundDaughtersJoinedByAThread) {
  const zelle::Dumbbell round = zelle::FirstMembrane(0.0f);
  EXPECT_NEAR(zelle::HalfLength(round), zelle::kCellRadius, 0.5f);
  for (float z : {0.0f, 40.0f, 80.0f, 99.0f})
    EXPECT_NEAR(zelle::ProfileRadius(round, z), std::sqrt(zelle::kCellRadius * zelle::kCellRadius - z * z), 0.5f) << z;

  // Parted: a thin neck in the middle, each daughter as wide as DaughterRadius round its centre.
  const zelle::Dumbbell parted = zelle::FirstMembrane(static_cast<float>(zelle::kFirstPartEnd));
  EXPECT_LT(zelle::ProfileRadius(parted, 0.0f), 0.06f * zelle::kCellRadius);
  EXPECT_GT(zelle::ProfileRadius(parted, 0.0f), 0.0f);  // never pinched to a point: normals stay sound
  EXPECT_NEAR(zelle::ProfileRadius(parted, parted.separation), zelle::DaughterRadius(zelle::kCellRadius), 3.0f);
  EXPECT_NEAR(zelle::DaughterRadius(zelle::kCellRadius), zelle::kDaughterCellRadius, 0.5f);
  // Halfway the cell is a peanut: waisted, but not yet parted.
  const zelle::Dumbbell waisted = zelle::FirstMembrane(100.0f);
  EXPECT_LT(zelle::ProfileRadius(waisted, 0.0f), 0.9f * zelle::ProfileRadius(waisted, waisted.separation));
  EXPECT_GT(zelle::ProfileRadius(waisted, 0.0f), 0.2f * zelle::kCellRadius);

  // Every point of the surface lies on the profile (the lumps aside) and the rows run tip to tip.
  const auto surface = zelle::DumbbellSurface(parted);
  const c4e::Vec3 top = surface(0.3f, 0.0f), bottom = surface(0.7f, 1.0f);
  EXPECT_NEAR(top.x, zelle::HalfLength(parted), 0.5f);
  EXPECT_NEAR(bottom.x, -zelle::HalfLength(parted), 0.5f);
}

}  // namespace

namespace {

// Translucent layers draw from the inside out: far walls, then the nuclei, then the near walls,
// every opaque organelle before them all; the order the show's loader leaves them in.
TEST(ZelleSceneTest, TransparentLayersDrawFromTheInsideOut) {
  const auto scene = scene_probe::ReadBack(zelle::ZelleScene());
  ASSERT_TRUE(scene);
  auto layer = [](const PolyObject& mesh) {
    if (mesh.name.rfind("wall", 0) == 0) return 1;
    if (mesh.name.rfind("nucleus", 0) == 0) return 2;
    if (mesh.name.rfind("membrane", 0) == 0) return 3;
    return 0;
  };
  int previous = 0, seen = 0;
  for (const auto& object : scene->polyObjects) {
    if (object->isDummy) continue;
    const int current = layer(*object);
    EXPECT_GE(current, previous) << object->name << " draws too early";
    EXPECT_EQ(current > 0, object->material != nullptr && object->material->transparent) << object->name;
    previous = current;
    seen += current > 0;
  }
  EXPECT_EQ(seen, 9);  // three bodies (one cell, two daughters), each with far wall, nucleus and near wall
}

}  // namespace
