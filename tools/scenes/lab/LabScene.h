#pragma once
// The "lab" scene: a small studio that shows everything a c4e scene can carry. Tiled,
// normal-mapped floor; a brushed pedestal carrying a chrome ball that mirrors the studio's cube
// map; a glass column; a glowing neon ring; a pearl blob that breathes by morphing; three
// satellites on a spinning dummy rig; a curved backdrop; a key light that casts the shadows, a
// cyan spot and a cool fill; two cameras on tracks.
#include <cstdint>
#include <string>

#include "C4eWriter.h"

namespace lab {

// Identifiers of the objects, for tests and tools that look at particular ones.
constexpr uint64_t kFloorId = 0x1AB0000000000001ull;
constexpr uint64_t kFocusId = 0x1AB0000000000002ull;
constexpr uint64_t kPedestalId = 0x1AB0000000000003ull;
constexpr uint64_t kChromeId = 0x1AB0000000000004ull;
constexpr uint64_t kGlassId = 0x1AB0000000000005ull;
constexpr uint64_t kNeonId = 0x1AB0000000000006ull;
constexpr uint64_t kRigId = 0x1AB0000000000007ull;
constexpr uint64_t kSatelliteIds[3] = {0x1AB0000000000008ull, 0x1AB0000000000009ull, 0x1AB000000000000Aull};
constexpr uint64_t kBlobId = 0x1AB000000000000Bull;
constexpr uint64_t kBackdropId = 0x1AB000000000000Cull;

// Scene length: 250 frames, ten seconds.
constexpr int32_t kLastFrame = 250;
// The shadow planes the lab is lit for (the key light stands about 1 100 units from the centre).
constexpr float kShadowNear = 500.0f;
constexpr float kShadowFar = 2000.0f;

c4e::Scene LabScene();

// Writes "lab.c4e" and every picture it names into directory; false when a file cannot be written.
bool WriteLabContent(const std::string& directory);

}  // namespace lab
