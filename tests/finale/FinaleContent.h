#pragma once
// The three generated scenes as the build staged them for the archive, read back with the show's
// reader; and the scene clock the show's events drive.
#include <filesystem>
#include <memory>
#include <string>

#include "scene/Scene.h"

// The data stage holding blob.c4e, soft.c4e, logo.c4e and their pictures; empty when they are
// not there (the build has not generated them).
const std::filesystem::path& FinaleDirectory();

// A scene file read and assembled (normals, morph-key normals) by the show's own code.
std::unique_ptr<Scene> ReadScene(const std::string& fileName);

// The furthest frame the scene's clock reaches inside its slot of the show, at 25 frames a
// second, with the cue sheet's speed events applied.
int FurthestFrame(int sceneNumber);

// Width and height of a PNG or DDS file; false when it is neither.
bool PictureSize(const std::filesystem::path& path, int* width, int* height);
