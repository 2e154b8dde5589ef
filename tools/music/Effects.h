#pragma once
// Time-based effects of the mix: a ping-pong delay and a Schroeder/Moorer reverb.
#include <cstddef>
#include <vector>

#include "AudioBuffer.h"

namespace music {

// Ping-pong delay: the left input echoes on the right and back, each repeat darker.
void ApplyPingPongDelay(const StereoBuffer& send, StereoBuffer& out, float delaySeconds, float feedback,
                        float dampingHz);

// Reverb of parallel damped combs into series all-passes, per channel with spread tunings.
// Adds the wet signal of `send` into `out`.
void ApplyReverb(const StereoBuffer& send, StereoBuffer& out, float roomSize, float dampingHz, float wet);

}  // namespace music
