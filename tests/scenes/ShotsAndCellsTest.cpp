#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "CellNoise.h"
#include "GeneratedSceneProbe.h"
#include "SceneParts.h"
#include "Shots.h"
#include "scene/Track.h"

namespace {

using kit::Vec3;

TEST(CellNoiseTest, TilesWithItsPeriodAndReachesFromTheFeaturePointsToTheCellEdges) {
  float lowest = 1e9f, highest = 0.0f;
  for (int i = 0; i < 3000; ++i) {
    const float x = i * 0.0731f, y = i * 0.1173f;
    const float d = kit::TiledCellDistance(x, y, 6, 9);
    lowest = std::min(lowest, d), highest = std::max(highest, d);
    EXPECT_NEAR(d, kit::TiledCellDistance(x + 6.0f, y - 12.0f, 6, 9), 1e-4f);
    EXPECT_GE(d, 0.0f);
    EXPECT_LE(d, 1.5f);
  }
  EXPECT_LT(lowest, 0.05f);  // close to a feature point somewhere
  EXPECT_GT(highest, 0.5f);  // and far from every one elsewhere
  EXPECT_NE(kit::TiledCellDistance(0.3f, 0.3f, 6, 1), kit::TiledCellDistance(0.3f, 0.3f, 6, 2));
}

// Evaluates a written track with the show's own track blending.
Vec3 ShowPositionAt(const c4e::Track& written, int64_t time) {
  Track track;
  for (const c4e::TrackKey& key : written.keys) {
    TrackKey k;
    k.frame = key.frame;
    k.time = static_cast<uint32_t>(key.frame * 40);
    k.interpolation = key.interpolation;
    k.position = {key.position.x, key.position.y, key.position.z};
    k.rotation = {key.rotation.x, key.rotation.y, key.rotation.z};
    k.scale = {key.scale.x, key.scale.y, key.scale.z};
    track.keys.push_back(k);
  }
  track.keyCount = static_cast<int32_t>(track.keys.size());
  track.Evaluate(time);
  return {track.position.x, track.position.y, track.position.z};
}

TEST(ShotsTest, ACutTrackHoldsEachShotUntilItsCutAndJumpsThere) {
  // Two shots: x runs 0 → 100 until frame 50, then from 1000 on.
  const c4e::Track track = kit::CutTrack(100, 10, {50}, [](int frame) {
    kit::Pose pose;
    pose.position = {frame < 50 ? 2.0f * frame : 1000.0f + frame, 0.0f, 0.0f};
    return pose;
  });
  ASSERT_FALSE(track.keys.empty());
  EXPECT_EQ(track.keys.front().frame, 0);
  EXPECT_EQ(track.keys.back().frame, 100);
  for (size_t i = 1; i < track.keys.size(); ++i) EXPECT_LT(track.keys[i - 1].frame, track.keys[i].frame);
  EXPECT_NEAR(ShowPositionAt(track, 45 * 40).x, 90.0f, 1e-3f);
  EXPECT_NEAR(ShowPositionAt(track, 49 * 40).x, 98.0f, 1e-3f);
  // Between the held key and the cut the first shot stands still; it does not slide towards 1000.
  EXPECT_NEAR(ShowPositionAt(track, 49 * 40 + 30).x, 98.0f, 1e-3f);
  EXPECT_NEAR(ShowPositionAt(track, 50 * 40).x, 1050.0f, 1e-3f);
  EXPECT_NEAR(ShowPositionAt(track, 75 * 40).x, 1075.0f, 1e-3f);
}

TEST(ShotsTest, ARolledUpTiltsTheShowsViewByTheRollAboutTheLineOfSight) {
  // A camera looking along a slanted line, posed by the show's own update with its up vector
  // following the rotation: the view's right axis turns away from the level right by the roll.
  const Vec3 eye{-300.0f, 120.0f, -250.0f}, target{40.0f, 10.0f, 30.0f};
  for (float roll : {0.0f, 0.2f, -0.35f}) {
    const Vec3 up = kit::RolledUp(eye, target, roll);
    EXPECT_NEAR(kit::Length(up), 1.0f, 1e-5f);
    EXPECT_NEAR(kit::Dot(up, kit::Normalize(target - eye)), 0.0f, 1e-5f);

    c4e::Scene description;
    description.name = "rolled";
    description.polyObjects.push_back(kit::Dummy(1, "target", target));
    c4e::Camera camera;
    camera.name = "camera";
    camera.id = 2;
    camera.targetId = 1;
    camera.position = eye;
    camera.rotation = kit::RotationForUp(up);
    camera.track.hasTrack = true;
    camera.track.keys = {kit::Key(0, eye, camera.rotation), kit::Key(10, eye, camera.rotation)};
    description.cameras.push_back(camera);
    description.lights.push_back(kit::OmniLight(3, "light", 1, {0.0f, 500.0f, 0.0f}, {1.0f, 1.0f, 1.0f}, 1.0f));
    const auto scene = scene_probe::ReadBack(description);
    ASSERT_TRUE(scene);
    scene->cameraUpFollowsRotation = true;
    scene_probe::Pose(*scene, 80, 0);
    const D3DXMATRIX& view = scene->cameras[0]->view;
    const Vec3 right{view._11, view._21, view._31};
    const Vec3 levelRight = kit::Normalize(kit::Cross(Vec3{0.0f, 1.0f, 0.0f}, target - eye));
    EXPECT_NEAR(kit::Dot(right, levelRight), std::cos(roll), 1e-4f) << roll;
    EXPECT_NEAR(kit::Dot(right, kit::Normalize(target - eye)), 0.0f, 1e-4f) << roll;
    EXPECT_GT(view._22, 0.0f);
  }
}

}  // namespace
