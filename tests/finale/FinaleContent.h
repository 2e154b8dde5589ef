#pragma once
// The three generated scenes as the build staged them for the archive, read back with the show's
// reader.
#include <filesystem>
#include <memory>
#include <string>

#include "scene/Scene.h"

// The data stage holding blob.c4e, soft.c4e, logo.c4e and their pictures; empty when they are
// not there (the build has not generated them).
const std::filesystem::path& FinaleDirectory();

// A scene file read and assembled (normals, morph-key normals) by the show's own code.
std::unique_ptr<Scene> ReadScene(const std::string& fileName);
