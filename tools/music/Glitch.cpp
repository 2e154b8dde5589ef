#include "Glitch.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "demo/CueSheet.h"

namespace music {

float Crush(float input, int bits) {
  const float levels = std::exp2(static_cast<float>(bits - 1));
  return std::round(std::clamp(input, -1.0f, 1.0f) * levels) / levels;
}

void ApplyGlitchWindows(StereoBuffer& music) {
  const std::size_t stutterSlice = SampleAt(static_cast<double>(cue::kBeat) / 8.0);  // a 32nd note
  for (const cue::GlitchWindow& window : cue::kGlitchWindows) {
    const std::size_t start = SampleAt(static_cast<double>(window.start));
    const std::size_t end = std::min(music.Frames(), SampleAt(static_cast<double>(window.end)));
    if (start >= end) continue;
    // The picture's band strength: cos p − 0.5 falls from 0.5 to about 0.04 over the window.
    const double span = static_cast<double>(end - start);
    const std::vector<float> sourceLeft(music.left.begin() + start, music.left.begin() + end);
    const std::vector<float> sourceRight(music.right.begin() + start, music.right.begin() + end);
    const int hold = window.stepAndBand == 0 ? 6 : std::clamp(window.stepAndBand * 2, 2, 32);
    const int bits = window.amplitude >= 15.0f ? 5 : 7;
    float heldLeft = 0.0f, heldRight = 0.0f;
    for (std::size_t i = start; i < end; ++i) {
      const std::size_t offset = i - start;
      const double p = static_cast<double>(offset) / span;
      const float wet = static_cast<float>(std::clamp((std::cos(p) - 0.5) / 0.5, 0.0, 1.0));
      float left = music.left[i], right = music.right[i];
      if (window.stepAndBand == 0) {
        // The cell: the window's first 32nd repeats, a stuck record.
        const std::size_t repeat = std::min(offset % stutterSlice, sourceLeft.size() - 1);
        const float fade = std::min(1.0f, static_cast<float>(stutterSlice - repeat) / 64.0f);
        left = sourceLeft[repeat] * fade;
        right = sourceRight[repeat] * fade;
      }
      if (offset % static_cast<std::size_t>(hold) == 0) {
        heldLeft = Crush(left, bits);
        heldRight = Crush(right, bits);
      }
      float crushedLeft = heldLeft, crushedRight = heldRight;
      if (window.stepAndBand == 1 && window.amplitude >= 15.0f) {
        // The face: a 32nd-note gate chops the crushed signal.
        const bool open = (offset / stutterSlice) % 2 == 0;
        crushedLeft *= open ? 1.0f : 0.0f;
        crushedRight *= open ? 1.0f : 0.0f;
      }
      music.left[i] = music.left[i] * (1.0f - wet) + crushedLeft * wet;
      music.right[i] = music.right[i] * (1.0f - wet) + crushedRight * wet;
    }
  }
}

}  // namespace music
