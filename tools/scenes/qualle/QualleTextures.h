#pragma once
// The jellyfish scene's pictures: the bell's density and glow (rim, canals, gonads), its relief,
// the tentacles' glowing stinging cells, the oral arms' frills, the dark water round everything
// and the shafts of light from the surface.
#include <string>

namespace qualle {

// Writes every picture the scene names into directory; false when a file cannot be written.
bool WriteQualleTextures(const std::string& directory);

}  // namespace qualle
