#pragma once
// Looks at a generated scene the way the show will: written to bytes, read back with the show's
// own reader and assembled without a device, then posed by the scene's own update.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "C4eWriter.h"
#include "scene/Scene.h"

namespace scene_probe {

// The scene as the show loads it; null (with a test failure) when the reader rejects it.
std::unique_ptr<Scene> ReadBack(const c4e::Scene& description);

// Poses the scene at a scene time (milliseconds) through one of its cameras.
void Pose(Scene& scene, int64_t time, int32_t camera);

// The archive's staged data, as the build packs it into demo.dat.
std::filesystem::path StagedData();

}  // namespace scene_probe
