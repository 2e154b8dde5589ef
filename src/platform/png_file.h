#pragma once
// The PNG pictures the show saves (screenshots and captured frames). Each carries the text
// chunk Software = "Pulsar", so that a later run can tell its own pictures, which it may
// replace, from a user's files, which it never touches.
#include <cstdint>
#include <string>

namespace platform {

// Writes width × height RGBA pixels, rows top first, as a PNG with the show's mark.
bool WriteShowPng(const std::string& path, int width, int height, const uint8_t* rgba);

// True when path is a PNG with the show's mark; false for anything else, missing or unreadable.
bool IsShowPng(const std::string& path);

}  // namespace platform
