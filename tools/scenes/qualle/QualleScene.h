#pragma once
// The "qualle" scene: jellyfish in dark water. A large one and two smaller ones pulse with a real
// contraction and relaxation (morph keys on the music's beats as the scene's clock meets them),
// their tentacles carrying each contraction down a moment later; four far ones pulse by their
// scale. Their rims, canals and tentacles glow for the bloom; shafts of light fall from far above.
#include <string>

#include "C4eWriter.h"

namespace qualle {

c4e::Scene QualleScene();

// Writes "qualle.c4e", every picture it names and its caption "text_qualle.png" into directory; false when a file cannot be written.
bool WriteQualleContent(const std::string& directory);

}  // namespace qualle
