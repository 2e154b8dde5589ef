#include "Shots.h"

#include <cmath>
#include <set>

namespace kit {

c4e::Track CutTrack(int last, int step, const std::vector<int>& cuts, const std::function<Pose(int frame)>& pose) {
  std::set<int> frames;
  for (int frame : KeyFrames(last, step)) frames.insert(frame);
  for (int cut : cuts)
    if (cut > 0 && cut <= last) frames.insert({cut - 1, cut});
  c4e::Track track;
  track.hasTrack = true;
  for (int frame : frames) {
    const Pose p = pose(frame);
    bool held = false;
    for (int cut : cuts) held = held || frame == cut - 1;
    c4e::TrackKey key = Key(frame, p.position, p.rotation, held ? c4e::kStep : c4e::kLinear);
    key.scale = p.scale;
    track.keys.push_back(key);
  }
  return track;
}

Vec3 RolledUp(Vec3 eye, Vec3 target, float roll) {
  const Vec3 ahead = Normalize(target - eye);
  // Left-handed, y up: right = up × ahead, and the level up = ahead × right.
  Vec3 right = Normalize(Cross(Vec3{0.0f, 1.0f, 0.0f}, ahead));
  if (Length(right) == 0.0f) right = {1.0f, 0.0f, 0.0f};
  const Vec3 level = Cross(ahead, right);
  return level * std::cos(roll) + right * std::sin(roll);
}

}  // namespace kit
