#pragma once
// Writes a directory tree into a zip archive deterministically: entries sorted by name, fixed
// times and modes, so the same sources always give the same bytes.
#include <filesystem>
#include <string>

// Packs every file and directory below stageDirectory/topDirectory as entries named
// "topDirectory/...". The archive is written beside its destination and moved into place, so
// a failed run never leaves a half-written archive. Returns false with a reason in *error.
bool PackDirectory(const std::filesystem::path& archive, const std::filesystem::path& stageDirectory,
                   const std::string& topDirectory, std::string* error);
