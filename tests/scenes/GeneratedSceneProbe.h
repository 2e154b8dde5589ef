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

// How far the current camera's eye stays from the scene's named meshes (unnamed meshes are the
// surroundings: water, walls, shafts of light, which enclose the camera by design).
struct Clearance {
  float nearestVertex = 1e30f;  // distance to the nearest vertex
  std::string nearestMesh;
  std::string enclosingMesh;  // a mesh whose bounding box holds the eye; empty when none
};
Clearance CameraClearance(const Scene& scene);

// The largest |length − 1| of every vertex normal and every morph key's normals after loading
// (a NaN counts as infinitely wrong).
float WorstNormalError(const Scene& scene);

// The archive's staged data, as the build packs it into demo.dat.
std::filesystem::path StagedData();

}  // namespace scene_probe
