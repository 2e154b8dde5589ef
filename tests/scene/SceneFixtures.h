#pragma once
// Small scenes for the scene tests, written with the c4e writer and read back without a GPU.
#include <cstdint>
#include <memory>
#include <vector>

#include "C4eWriter.h"
#include "scene/Scene.h"

namespace scene_test {

constexpr uint64_t kDummyId = 0x1111222233334444ull;
constexpr uint64_t kMeshId = 0x10;
constexpr uint64_t kMorphId = 0x20;
constexpr uint64_t kCameraId = 0x30;
constexpr uint64_t kLightId = 0x40;

// A closed square pyramid: 5 vertices, 6 triangles, uvs from x and z.
c4e::PolyObject Pyramid(uint64_t id, const std::string& materialName);
// A mesh of count separate triangles.
c4e::PolyObject Triangles(uint64_t id, const std::string& materialName, int count);
c4e::Material PlainMaterial(const std::string& name);
c4e::Camera CameraLookingAt(uint64_t targetId);
c4e::Light LightPointingAt(uint64_t targetId);
c4e::Track TwoKeyTrack(int32_t interpolation, int32_t lastFrame, c4e::Vec3 from, c4e::Vec3 to);

// One of everything: a material, a dummy, a static mesh parented to the dummy, a morphing
// mesh, a camera and a light, with tracks.
c4e::Scene CompleteScene();

struct ReadResult {
  std::unique_ptr<Scene> scene;
  const char* message = nullptr;  // null when the file was read
};

// Reads the bytes and, when that succeeds, assembles the scene without a device.
ReadResult ReadScene(const std::vector<uint8_t>& bytes);
inline ReadResult ReadScene(const c4e::Scene& description) { return ReadScene(c4e::WriteScene(description)); }

}  // namespace scene_test
