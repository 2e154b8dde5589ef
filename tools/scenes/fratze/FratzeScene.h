#pragma once
// The "fratze" scene: a sculpted face, part cracked stone and part raw flesh, with ember eyes and
// uneven teeth, in front of a stone wall. It grimaces through a sneer, a grin and a scream with a
// neutral face between them; the show's three camera shakes hit the grimaces at their peaks.
// Hard key light, a cold rim, embers from below; the camera rolls (its up vector follows it).
#include <cstdint>
#include <string>

#include "C4eWriter.h"

namespace fratze {

constexpr uint64_t kFocusId = 0xF2A7E00000000001ull;
constexpr int kLastFrame = 560;  // beyond frame 541, the furthest the show reaches: no loop
constexpr int kCuts[2] = {250, 457};
// The scene-clock frames at which the show's shakes start, and the grimace each one hits.
constexpr int kShakeFrames[3] = {301, 405, 500};

c4e::Scene FratzeScene();

// Writes "fratze.c4e", every picture it names and its caption "text_face.png" into directory; false when a file cannot be written.
bool WriteFratzeContent(const std::string& directory);

}  // namespace fratze
