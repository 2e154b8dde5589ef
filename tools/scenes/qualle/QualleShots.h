#pragma once
// The jellyfish scene's one camera, cut into three drifting shots on the show's accents (the jump
// back to frame 250 and the flash at frame 366), its target and the lights.
#include <functional>
#include <vector>

#include "C4eWriter.h"

namespace qualle {

constexpr uint64_t kFocusId = 0x0A11E00000000001ull;
constexpr int kLastFrame = 515;  // beyond frame 499, the furthest the show reaches: no loop
constexpr int kCuts[2] = {250, 366};

using Path = std::function<c4e::Vec3(float frame)>;

// Where the camera looks: the hero jelly, or between it and its neighbour in the wide shot.
c4e::Vec3 FocusAt(const Path& hero, float frame);
c4e::Vec3 EyeAt(const Path& hero, float frame);
// Roll of the camera about its line of sight (radians).
float RollAt(float frame);

c4e::PolyObject FocusDummy(const Path& hero);
std::vector<c4e::Camera> Cameras(const Path& hero);
std::vector<c4e::Light> Lights();

}  // namespace qualle
