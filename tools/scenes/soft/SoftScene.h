#pragma once
// The "soft" scene: pastel jellies dropped one after another onto a floor, squashing, bumping
// into each other and wobbling to rest. A position-based simulation runs in the generator and is
// baked into morph keys, thinned to the keys that linear blending needs. The biggest impacts land
// on the show's accents (the camera rolls at scene frames 151 and 451).
#include <cstdint>
#include <string>
#include <vector>

#include "C4eWriter.h"
#include "SoftWorld.h"

namespace soft {

constexpr int32_t kLastFrame = 610;
constexpr uint64_t kFocusId = 0x50F7000000000001ull;
// The lights count up from here.
constexpr uint64_t kLightId = 0x50F7000000000200ull;
constexpr uint64_t kFloorId = 0x50F7000000000002ull;
constexpr uint64_t kBackdropId = 0x50F7000000000003ull;
constexpr uint64_t kFirstJellyId = 0x50F7000000000010ull;
// Largest distance of a blended key from the simulated vertex, in scene units.
constexpr float kKeyTolerance = 1.0f;
constexpr int kMaxKeyGap = 25;
constexpr const char* kCaption = "Soft bodies";

struct Drop {
  ShapeKind kind;
  kit::Vec3 size;
  float rounding;
  kit::Vec3 colour;
  int landingFrame;      // the frame its lowest point reaches `landingHeight`
  float landingHeight;   // 0: the floor; more when it lands on another jelly
  float x, z;            // where it lands
  kit::Vec3 turn;   // its orientation as it falls (axis × angle)
  kit::Vec3 spin;   // radians per second
};

// The choreography: which jelly falls where and when.
const std::vector<Drop>& Drops();

// The world with every drop added, ready to step from frame 0.
SoftWorld MakeWorld();

// Every body's vertex positions at every frame 0 … kLastFrame (frame f is time f/25 s; before its
// release a body stands at its start).
struct Recording {
  std::vector<std::vector<std::vector<kit::Vec3>>> frames;  // [body][frame][vertex]
  std::vector<int> releaseFrames;
};
Recording Simulate();

// The frames to key so that linear blending stays within kKeyTolerance of the recording.
std::vector<int> ChooseKeyFrames(const std::vector<std::vector<kit::Vec3>>& frames, int firstFrame);

c4e::Scene SoftScene(const Recording& recording);
bool WriteSoftContent(const std::string& directory);

}  // namespace soft
