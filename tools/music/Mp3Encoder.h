#pragma once
// MP3 encoding with libmp3lame: constant bit rate, joint stereo, and a LAME "Info" tag in
// the first frame that records the encoder delay and the end padding, so a gapless decoder
// (libmpg123, ffmpeg) returns exactly the encoded samples: the first one at time 0.
#include <cstdint>
#include <vector>

#include "AudioBuffer.h"

namespace music {

struct Mp3Settings {
  int kilobitsPerSecond = 192;
  int quality = 2;  // LAME's algorithm quality, 0 best … 9 fastest
};

bool EncodeMp3(const StereoBuffer& audio, const Mp3Settings& settings, std::vector<std::uint8_t>& mp3);

}  // namespace music
