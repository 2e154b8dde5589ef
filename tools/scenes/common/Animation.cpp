#include "Animation.h"

#include <algorithm>
#include <cmath>

namespace kit {

c4e::TrackKey Key(int32_t frame, Vec3 position, Vec3 rotation, int32_t interpolation) {
  c4e::TrackKey key;
  key.frame = frame;
  key.interpolation = interpolation;
  key.position = position;
  key.rotation = rotation;
  return key;
}

std::vector<int> KeyFrames(int last, int step) {
  std::vector<int> frames;
  for (int frame = 0; frame < last; frame += std::max(step, 1)) frames.push_back(frame);
  frames.push_back(last);
  return frames;
}

c4e::Track SampledTrack(int first, int last, int step, int32_t interpolation, const std::function<Pose(int frame)>& pose) {
  c4e::Track track;
  track.hasTrack = true;
  for (int offset : KeyFrames(last - first, step)) {
    const Pose p = pose(first + offset);
    c4e::TrackKey key = Key(first + offset, p.position, p.rotation, interpolation);
    key.scale = p.scale;
    track.keys.push_back(key);
  }
  return track;
}

Vec3 RotationForUp(Vec3 up) {
  // The show turns (0, 1, 0) by roll −rotation.z about z, then pitch −rotation.y about x, giving
  // (−sin roll, cos roll cos pitch, cos roll sin pitch); no yaw is needed.
  up = Normalize(up);
  const float roll = std::asin(std::clamp(-up.x, -1.0f, 1.0f));
  const float pitch = std::atan2(up.z, up.y);
  return {0.0f, -pitch, -roll};
}

CameraRig CameraOnSpline(const CameraFlight& flight, const Spline& path, const Spline& lookAt) {
  CameraRig rig;
  rig.camera.name = flight.name;
  rig.camera.id = flight.cameraId;
  rig.camera.targetId = flight.targetId;
  rig.target.name = flight.name + " target";
  rig.target.id = flight.targetId;
  rig.target.isDummy = true;
  const int span = std::max(flight.lastFrame - flight.firstFrame, 1);
  auto share = [&](int frame) { return std::clamp(flight.progress(static_cast<float>(frame - flight.firstFrame) / span), 0.0f, 1.0f); };
  auto eye = [&](float s) { return path.PointAtDistance(s * path.Length()); };
  rig.camera.track = SampledTrack(flight.firstFrame, flight.lastFrame, flight.keyEvery, c4e::kLinear, [&](int frame) {
    const float s = share(frame);
    const Vec3 at = lookAt.PointAtDistance(s * lookAt.Length());
    Pose pose;
    pose.position = eye(s);
    Vec3 forward = Normalize(at - pose.position);
    Vec3 up{0.0f, 1.0f, 0.0f};
    if (flight.bankPerTurn != 0.0f) {
      // The path's direction swings towards the inside of the turn; the horizon leans that way,
      // by bankPerTurn times the turn rate (radians per unit length).
      const float distance = s * path.Length(), reach = 20.0f;
      const Vec3 before = path.Tangent(path.ParameterAt(std::max(distance - reach, 0.0f)));
      const Vec3 after = path.Tangent(path.ParameterAt(std::min(distance + reach, path.Length())));
      Vec3 inside = after - before;
      inside = inside - forward * Dot(inside, forward) - up * Dot(inside, up);
      const float rate = Length(inside) / (2.0f * reach);
      const float bank = std::min(rate * flight.bankPerTurn, 0.8f);
      if (Length(inside) > 1e-6f) up = Normalize(up * std::cos(bank) + Normalize(inside) * std::sin(bank));
    }
    pose.rotation = RotationForUp(up);
    return pose;
  });
  rig.camera.position = rig.camera.track.keys.front().position;
  rig.camera.rotation = rig.camera.track.keys.front().rotation;
  rig.target.track = SampledTrack(flight.firstFrame, flight.lastFrame, flight.keyEvery, c4e::kLinear, [&](int frame) {
    const float s = share(frame);
    Pose pose;
    pose.position = lookAt.PointAtDistance(s * lookAt.Length());
    return pose;
  });
  rig.target.position = rig.target.track.keys.front().position;
  return rig;
}

std::vector<c4e::MorphKey> MorphFromFunction(const std::vector<Vec3>& rest, const std::vector<int>& frames,
                                             int32_t interpolation, const ShapeFunction& shape) {
  std::vector<c4e::MorphKey> keys;
  for (int frame : frames) {
    c4e::MorphKey key;
    key.frame = frame;
    key.interpolation = interpolation;
    key.positions.assign(rest.size(), Vec3{});
    shape(frame, rest, key.positions);
    keys.push_back(std::move(key));
  }
  return keys;
}

std::vector<c4e::MorphKey> MorphFromSimulation(const std::vector<int>& frames, int32_t interpolation,
                                               const std::function<std::vector<Vec3>(int frame)>& advanceTo) {
  std::vector<c4e::MorphKey> keys;
  for (int frame : frames) {
    c4e::MorphKey key;
    key.frame = frame;
    key.interpolation = interpolation;
    key.positions = advanceTo(frame);
    keys.push_back(std::move(key));
  }
  return keys;
}

}  // namespace kit
