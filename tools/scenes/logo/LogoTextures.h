#pragma once
// The logo's pictures: the studio the chrome mirrors (cube map), the same studio in gold for the
// gold's reflection (panorama), brushed metal and its normal map, and the dark stage floor.
#include <string>

namespace logo {

bool WriteLogoTextures(const std::string& directory);

}  // namespace logo
