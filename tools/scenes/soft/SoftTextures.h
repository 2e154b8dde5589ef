#pragma once
// The soft scene's pictures: a pastel sky the jellies mirror, rubber floor tiles and their normal
// map, and the backdrop's gradient.
#include <string>

namespace soft {

bool WriteSoftTextures(const std::string& directory);

}  // namespace soft
