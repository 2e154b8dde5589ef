#pragma once
// Integrated loudness after ITU-R BS.1770 (K-weighting, 400 ms blocks with 75 % overlap,
// absolute gate at -70 LUFS and relative gate 10 LU below), the figure streaming services
// normalise to. The mix is set to its target with it.
#include "AudioBuffer.h"

namespace music {

// Integrated loudness in LUFS; -70 or below for silence.
double IntegratedLoudness(const StereoBuffer& buffer);

// Loudness of the 400 ms block starting at `frame` (ungated momentary loudness).
double MomentaryLoudness(const StereoBuffer& buffer, std::size_t frame);

}  // namespace music
