#pragma once
// The zelle scene's pictures, drawn by code: the membrane's mottled skin and its relief, the
// chromatin of the nucleus, the folded inner membranes of the mitochondria, the glow of fibres and
// nucleoli, and the bright surroundings the membrane's rim reflects.
#include <string>

namespace zelle {

// Writes every picture the scene names into directory; false when a file cannot be written.
bool WriteZelleTextures(const std::string& directory);

}  // namespace zelle
