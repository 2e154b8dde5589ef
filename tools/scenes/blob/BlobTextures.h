#pragma once
// The blob's pictures: wet ripples (normal map), glowing veins (luminance), an iridescent film
// seen in its reflection (panorama) and the dark, wet room it mirrors (cube map).
#include <string>

namespace blob {

bool WriteBlobTextures(const std::string& directory);

}  // namespace blob
