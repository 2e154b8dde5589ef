#pragma once
// The sound of the picture's glitch windows: stutter, bit-crush and gating of the music for
// the length of each window, strongest at its start and fading as the picture's bands do.
#include "AudioBuffer.h"

namespace music {

void ApplyGlitchWindows(StereoBuffer& music);

// Bit-crush one sample: hold every `hold`-th value and quantise to `bits` bits.
float Crush(float input, int bits);

}  // namespace music
