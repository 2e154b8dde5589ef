#pragma once
// The "blob" scene: one wet, iridescent metaball blob whose surface stays one mesh, a sphere
// projected onto the moving field at every morph key. Two cameras: the show's clock runs it
// almost twice at rising speed, and the loop cuts to the second camera.
#include <cstdint>
#include <string>

#include "C4eWriter.h"

namespace blob {

constexpr uint64_t kBlobId = 0xB10B000000000001ull;
constexpr uint64_t kFocusId = 0xB10B000000000002ull;
// The lights count up from here.
constexpr uint64_t kLightId = 0xB10B000000000200ull;

constexpr const char* kCaption = "Metaballs";

c4e::Scene BlobScene();

// Writes "blob.c4e", its pictures and its caption "text_blob.png" into directory; false when the
// scene fails its checks or a file cannot be written.
bool WriteBlobContent(const std::string& directory);

}  // namespace blob
