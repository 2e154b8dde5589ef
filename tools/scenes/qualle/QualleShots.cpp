#include "QualleShots.h"

#include <cmath>
#include <iterator>

#include "Animation.h"
#include "SceneParts.h"
#include "Shots.h"

namespace qualle {

namespace {

constexpr int kTrackStep = 5;

struct Shot {
  int from;
  c4e::Vec3 focusOffset;           // from the hero
  float distance[2], azimuth[2], elevation[2];  // at the shot's start and end
};

const Shot kShots[3] = {
    // Below and to the side, looking up at the hero against the light from the surface.
    {0, {0.0f, -30.0f, 0.0f}, {340.0f, 280.0f}, {-0.55f, -0.05f}, {-0.32f, -0.18f}},
    // Wide: the hero and its neighbours drifting in the dark.
    {kCuts[0], {-80.0f, -20.0f, 110.0f}, {700.0f, 620.0f}, {0.45f, 0.8f}, {0.12f, 0.02f}},
    // Close under the hero, looking up into the bell through its tentacles.
    {kCuts[1], {0.0f, 15.0f, 0.0f}, {260.0f, 215.0f}, {2.3f, 2.95f}, {-0.62f, -0.5f}},
};

const Shot& ShotAt(float frame) { return frame >= kCuts[1] ? kShots[2] : frame >= kCuts[0] ? kShots[1] : kShots[0]; }

float Progress(const Shot& shot, float frame) {
  const float end = &shot == &kShots[2] ? static_cast<float>(kLastFrame) : static_cast<float>((&shot + 1)->from);
  return (frame - shot.from) / (end - shot.from);
}

float Lerp(const float range[2], float t) { return range[0] + (range[1] - range[0]) * t; }

const std::vector<int> kCutFrames(std::begin(kCuts), std::end(kCuts));

}  // namespace

c4e::Vec3 FocusAt(const Path& hero, float frame) { return hero(frame) + ShotAt(frame).focusOffset; }

c4e::Vec3 EyeAt(const Path& hero, float frame) {
  const Shot& shot = ShotAt(frame);
  const float t = Progress(shot, frame);
  const float distance = Lerp(shot.distance, t), azimuth = Lerp(shot.azimuth, t), elevation = Lerp(shot.elevation, t);
  return FocusAt(hero, frame) + c4e::Vec3{distance * std::cos(elevation) * std::sin(azimuth), distance * std::sin(elevation),
                                          -distance * std::cos(elevation) * std::cos(azimuth)};
}

float RollAt(float frame) { return 0.14f * std::sin(frame / 47.0f) + 0.06f * std::sin(frame / 19.0f + 1.0f); }

c4e::PolyObject FocusDummy(const Path& hero) {
  c4e::PolyObject focus = kit::Dummy(kFocusId, "focus");
  focus.track = kit::CutTrack(kLastFrame, kTrackStep, kCutFrames, [&](int frame) {
    kit::Pose pose;
    pose.position = FocusAt(hero, static_cast<float>(frame));
    return pose;
  });
  focus.position = focus.track.keys.front().position;
  return focus;
}

std::vector<c4e::Camera> Cameras(const Path& hero) {
  c4e::Camera camera;
  camera.name = "drift";
  camera.id = 0x0A11E00000000700ull;
  camera.targetId = kFocusId;
  camera.track = kit::CutTrack(kLastFrame, kTrackStep, kCutFrames, [&](int frame) {
    const float f = static_cast<float>(frame);
    kit::Pose pose;
    pose.position = EyeAt(hero, f);
    pose.rotation = kit::RotationForUp(kit::RolledUp(pose.position, FocusAt(hero, f), RollAt(f)));
    return pose;
  });
  camera.position = camera.track.keys.front().position;
  camera.rotation = camera.track.keys.front().rotation;
  return {camera};
}

std::vector<c4e::Light> Lights() {
  const uint64_t id = 0x0A11E00000000800ull;
  return {
      // Daylight from the surface far above.
      kit::DirectionalLight(id, "surface", kFocusId, {150.0f, 2000.0f, 300.0f}, {0.55f, 0.8f, 1.0f}, 0.9f, 0.3f),
      // A violet glow behind the swarm that outlines the bells.
      kit::OmniLight(id + 1, "glow", kFocusId, {60.0f, 220.0f, 650.0f}, {0.65f, 0.45f, 1.0f}, 2.4f),
      // Cold fill from the deep.
      kit::OmniLight(id + 2, "deep", kFocusId, {-150.0f, -600.0f, -250.0f}, {0.1f, 0.4f, 0.45f}, 0.9f, 0.5f),
  };
}

}  // namespace qualle
