#pragma once
// Tracks cut into shots: one camera (and its target) that jumps to a new place on the frames
// where the show cuts, and the rolled up vector of a camera whose up follows its rotation.
#include <functional>
#include <vector>

#include "Animation.h"

namespace kit {

// Linear keys every step frames from 0 to last, plus a key on the frame before each cut that
// holds (step interpolation) until the cut's own key, so one shot does not slide into the next.
c4e::Track CutTrack(int last, int step, const std::vector<int>& cuts, const std::function<Pose(int frame)>& pose);

// The up vector of a camera at eye looking at target, rolled by roll radians about its line of
// sight (0: the horizon level); give it to RotationForUp for the camera's rotation.
Vec3 RolledUp(Vec3 eye, Vec3 target, float roll);

}  // namespace kit
