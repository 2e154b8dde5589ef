#pragma once
// The "logo" scene: the word PULSAR in solid letters cut from a font's outlines, chrome faces on
// gold bevels and sides, standing on a bevelled plinth; the camera turns slowly round it until
// the show fades to black.
#include <cstdint>
#include <string>

#include "C4eWriter.h"
#include "Extrude.h"

namespace logo {

constexpr uint64_t kFocusId = 0x1060000000000001ull;
// The lights count up from here.
constexpr uint64_t kLightId = 0x1060000000000200ull;
constexpr uint64_t kFacesId = 0x1060000000000002ull;
constexpr uint64_t kEdgesId = 0x1060000000000003ull;
constexpr uint64_t kPlinthTopId = 0x1060000000000004ull;
constexpr uint64_t kPlinthEdgesId = 0x1060000000000005ull;
constexpr uint64_t kFloorId = 0x1060000000000006ull;

constexpr int32_t kLastFrame = 625;
constexpr const char* kWord = "PULSAR";
constexpr const char* kCaption = "A Pulsar production";

// The solids of the scene before they are split into meshes: one per letter, and the plinth.
struct LogoSolids {
  std::vector<Solid> letters;
  Solid plinth;
  float wordWidth = 0.0f;
};

// False with a reason when the font cannot be read or an outline cannot be triangulated.
bool BuildLogoSolids(const std::string& fontPath, LogoSolids* solids, std::string* error);
bool LogoScene(const std::string& fontPath, c4e::Scene* scene, std::string* error);

// Writes "logo.c4e", its pictures, the caption "text_ozylogo.png" and "text_credits.png".
bool WriteLogoContent(const std::string& fontPath, const std::string& directory, std::string* error);

}  // namespace logo
