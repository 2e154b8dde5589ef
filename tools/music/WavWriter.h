#pragma once
// 32-bit float stereo WAV, for measuring the mix before encoding.
#include <filesystem>

#include "AudioBuffer.h"

namespace music {

bool WriteFloatWav(const std::filesystem::path& path, const StereoBuffer& audio);

}  // namespace music
