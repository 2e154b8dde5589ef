#pragma once
// Animation for generated scenes: track keys, tracks sampled from a function, cameras that fly
// along splines, and morph keys baked from a function or a simulation.
//
// Timing: frames are 40 ms (25 a second). Hermite keys have zero tangents, so an object comes to
// rest at every Hermite key: use them for poses that settle. For steady motion sample the path
// densely with linear keys (SampledTrack does).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "C4eWriter.h"
#include "Spline.h"
#include "VecMath.h"

namespace kit {

c4e::TrackKey Key(int32_t frame, Vec3 position, Vec3 rotation = {}, int32_t interpolation = c4e::kHermite);

struct Pose {
  Vec3 position;
  Vec3 rotation;
  Vec3 scale{1.0f, 1.0f, 1.0f};
};

// A track with keys at first, first + step, … and always at last, each pose(frame) with the
// given interpolation.
c4e::Track SampledTrack(int first, int last, int step, int32_t interpolation, const std::function<Pose(int frame)>& pose);

// The Euler rotation whose matrix turns (0, 1, 0) into up (unit length): what a camera needs for
// a rolled horizon in a scene whose camera up follows the camera's rotation.
Vec3 RotationForUp(Vec3 up);

// A camera that flies along path while looking at a target dummy that moves along lookAt. Both
// are sampled every keyEvery frames from firstFrame to lastFrame with linear keys; progress maps
// the frame's share of the flight (0..1) to the share of the path covered (arc length), for
// easing. bankPerTurn rolls the camera into the turns: radians of roll per radian per unit of
// length the path turns sideways (only seen where the scene's camera up follows rotation).
struct CameraFlight {
  std::string name;
  uint64_t cameraId = 0;
  uint64_t targetId = 0;
  int firstFrame = 0;
  int lastFrame = 0;
  int keyEvery = 5;
  float bankPerTurn = 0.0f;
  std::function<float(float share)> progress = [](float share) { return share; };
};
struct CameraRig {
  c4e::Camera camera;
  c4e::PolyObject target;  // a dummy
};
CameraRig CameraOnSpline(const CameraFlight& flight, const Spline& path, const Spline& lookAt);

// Frames 0, step, 2 × step, … and last (always included).
std::vector<int> KeyFrames(int last, int step);

// Morph keys at the given frames (ascending, starting at 0), each holding shape(frame) of every
// vertex; shape gets the rest positions and fills out (already sized like rest).
using ShapeFunction = std::function<void(int frame, const std::vector<Vec3>& rest, std::vector<Vec3>& out)>;
std::vector<c4e::MorphKey> MorphFromFunction(const std::vector<Vec3>& rest, const std::vector<int>& frames,
                                             int32_t interpolation, const ShapeFunction& shape);
// Morph keys from a simulation: advanceTo(frame) is called once per key frame in ascending order
// and returns every vertex's position at that frame (it steps its state forward in between).
std::vector<c4e::MorphKey> MorphFromSimulation(const std::vector<int>& frames, int32_t interpolation,
                                               const std::function<std::vector<Vec3>(int frame)>& advanceTo);

}  // namespace kit
