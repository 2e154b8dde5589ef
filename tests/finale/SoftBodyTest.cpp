// The jelly simulation: bodies keep their momentum in flight and in collisions with each other,
// keep their volume, never pass through the floor, land on the show's accents and come to rest;
// the baked keys stay within their tolerance of the simulation.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "FinaleContent.h"
#include "Geodesic.h"
#include "SoftScene.h"
#include "demo/CueSheet.h"

namespace {

using kit::Vec3;
using soft::Body;
using soft::ShapeKind;
using soft::SoftWorld;

Body Ball(float radius, Vec3 at, Vec3 velocity) {
  Body body;
  body.shape.kind = ShapeKind::Sphere;
  body.shape.size = {radius, radius, radius};
  c4e::PolyObject sphere;
  kit::AppendGeodesicSphere(sphere, 6);
  for (const Vec3& d : sphere.vertices) body.rest.push_back(d * radius);
  body.triangles = sphere.polygons;
  body.start = at;
  body.velocity = velocity;
  body.spin = {0.0f, 2.0f, 1.0f};
  return body;
}

Vec3 Momentum(const Body& body) {
  Vec3 sum{};
  for (const Vec3& v : body.v) sum += v;
  return sum;
}

TEST(SoftWorldTest, BodyInFlightKeepsItsMomentumUnderGravity) {
  SoftWorld world;
  world.AddBody(Ball(40.0f, {0, 2000, 0}, {150.0f, 0.0f, -80.0f}));
  world.StepFrame();  // released in the first substep
  const Vec3 before = Momentum(world.bodies()[0]);
  for (int f = 0; f < 10; ++f) world.StepFrame();
  const Vec3 after = Momentum(world.bodies()[0]);
  const float n = static_cast<float>(world.bodies()[0].v.size());
  // Only gravity changes it: 10 frames of 1/25 s.
  EXPECT_NEAR(after.x / n, before.x / n, 0.05f);
  EXPECT_NEAR(after.z / n, before.z / n, 0.05f);
  EXPECT_NEAR((after.y - before.y) / n, -world.settings().gravity * 0.4f, 0.5f);
}

TEST(SoftWorldTest, CollisionsBetweenBodiesConserveMomentumAndKeepThemApart) {
  soft::WorldSettings weightless;
  weightless.gravity = 0.0f;
  SoftWorld world(weightless);
  world.AddBody(Ball(40.0f, {-120, 500, 0}, {400.0f, 0.0f, 0.0f}));
  world.AddBody(Ball(40.0f, {120, 510, 0}, {-250.0f, 0.0f, 0.0f}));
  world.StepFrame();
  const Vec3 total = Momentum(world.bodies()[0]) + Momentum(world.bodies()[1]);
  float closest = 1e9f;
  for (int f = 0; f < 30; ++f) {
    world.StepFrame();
    closest = std::fmin(closest, kit::Length(world.bodies()[0].centre - world.bodies()[1].centre));
  }
  const Vec3 now = Momentum(world.bodies()[0]) + Momentum(world.bodies()[1]);
  const float n = static_cast<float>(world.bodies()[0].v.size());
  EXPECT_NEAR(now.x / n, total.x / n, 1.0f);
  EXPECT_NEAR(now.y / n, total.y / n, 1.0f);
  // They met, squashed, and bounced apart instead of passing through each other.
  EXPECT_LT(closest, 80.0f);
  EXPECT_GT(closest, 50.0f);
  EXPECT_LT(world.bodies()[0].centre.x, world.bodies()[1].centre.x);
  EXPECT_LT(Momentum(world.bodies()[0]).x, 0.0f);
}

// The scene frame the show's clock shows at a show time inside the soft scene's slot.
int SoftFrameAt(cue::Millis showTime) {
  double time = 0.0, speed = 1.0;
  cue::Millis from = 0;
  for (const cue::SpeedCue& event : cue::kSpeedEvents) {
    if (event.sceneIndex != 9 || event.time > showTime) continue;
    time += (event.time - from) * speed;
    speed = event.speed;
    if (event.jumpFrame >= 0) time = event.jumpFrame * 40.0;
    from = event.time;
  }
  return static_cast<int>((time + (showTime - from) * speed) / 40.0);
}

// One simulation of the whole choreography (a few seconds of processor time) serves every check.
TEST(SoftSceneTest, TheSimulationKeepsItsPromises) {
  const soft::Recording recording = soft::Simulate();
  const SoftWorld world = soft::MakeWorld();
  for (size_t b = 0; b < recording.frames.size(); ++b) {
    SCOPED_TRACE("body " + std::to_string(b));
    const auto& frames = recording.frames[b];
    const auto& triangles = world.bodies()[b].triangles;
    const float rest = kit::EnclosedVolume(world.bodies()[b].rest, triangles);
    for (size_t f = 0; f < frames.size(); ++f) {
      // No vertex falls through the floor; the jelly keeps its volume however it squashes.
      for (const Vec3& p : frames[f]) ASSERT_GE(p.y, -0.01f) << "frame " << f;
      const float volume = kit::EnclosedVolume(frames[f], triangles);
      ASSERT_GT(volume, 0.8f * rest) << "frame " << f;
      ASSERT_LT(volume, 1.2f * rest) << "frame " << f;
    }
    // At rest by the scene's end (units per second).
    float fastest = 0.0f;
    for (size_t v = 0; v < frames.back().size(); ++v)
      fastest = std::fmax(fastest, kit::Length(frames.back()[v] - frames[frames.size() - 2][v]) * 25.0f);
    EXPECT_LT(fastest, 5.0f) << "still moving at the scene's end";
  }

  // The two rolls of the camera land on impacts: a body touches the floor first within a frame
  // of each roll's start.
  int matched = 0;
  for (const cue::RollCue& roll : cue::kRollEvents) {
    if (roll.sceneIndex != 9) continue;
    const int frame = SoftFrameAt(roll.start);
    for (size_t b = 0; b < recording.frames.size(); ++b) {
      int touch = -1;
      for (size_t f = recording.releaseFrames[b]; f < recording.frames[b].size() && touch < 0; ++f)
        for (const Vec3& p : recording.frames[b][f])
          if (p.y < 0.5f) {
            touch = static_cast<int>(f);
            break;
          }
      if (std::abs(touch - frame) <= 1) ++matched;
    }
  }
  EXPECT_EQ(matched, 2);

  // The thinned keys blend back to the simulation within their tolerance.
  const auto& frames = recording.frames[2];
  const std::vector<int> keys = soft::ChooseKeyFrames(frames, recording.releaseFrames[2]);
  ASSERT_EQ(keys.front(), recording.releaseFrames[2]);
  ASSERT_EQ(keys.back(), static_cast<int>(frames.size()) - 1);
  EXPECT_LT(keys.size(), frames.size() / 2) << "resting and falling need few keys";
  for (size_t k = 0; k + 1 < keys.size(); ++k) {
    ASSERT_LE(keys[k + 1] - keys[k], soft::kMaxKeyGap);
    for (int f = keys[k] + 1; f < keys[k + 1]; ++f) {
      const float s = static_cast<float>(f - keys[k]) / (keys[k + 1] - keys[k]);
      for (size_t v = 0; v < frames[f].size(); v += 17) {
        const Vec3 blended = frames[keys[k]][v] + (frames[keys[k + 1]][v] - frames[keys[k]][v]) * s;
        ASSERT_LE(kit::Length(blended - frames[f][v]), soft::kKeyTolerance + 1e-3f);
      }
    }
  }
}

TEST(SoftSceneTest, JelliesWaitOutOfSightUntilTheirDrop) {
  const std::unique_ptr<Scene> scene = ReadScene("soft.c4e");
  ASSERT_NE(scene, nullptr);
  int jellies = 0;
  for (const auto& object : scene->polyObjects) {
    if (object->morphKeys.empty()) continue;
    ++jellies;
    const MorphKey& first = *object->morphKeys.front();
    EXPECT_EQ(first.frame, 0);
    EXPECT_EQ(first.interpolation, c4e::kStep);
    for (const D3DXVECTOR3& p : first.positions) ASSERT_LT(p.y, -1000.0f);
    for (size_t k = 1; k < object->morphKeys.size(); ++k)
      for (const D3DXVECTOR3& p : object->morphKeys[k]->positions) ASSERT_GE(p.y, -0.01f);
  }
  EXPECT_EQ(jellies, static_cast<int>(soft::Drops().size()));
}

}  // namespace
