#pragma once
// The face scene's pictures: the face's stone and flesh with their relief (cracks, pores, the
// inside of the mouth), the ember eyes, the teeth and the stone wall.
#include <string>

namespace fratze {

// Writes every picture the scene names into directory; false when a file cannot be written.
bool WriteFratzeTextures(const std::string& directory);

}  // namespace fratze
