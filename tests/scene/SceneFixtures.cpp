#include "SceneFixtures.h"

#include "scene/SceneAssembly.h"
#include "scene/SceneFileReader.h"

namespace scene_test {

c4e::PolyObject Pyramid(uint64_t id, const std::string& materialName) {
  c4e::PolyObject mesh;
  mesh.name = "pyramid";
  mesh.id = id;
  mesh.materialName = materialName;
  mesh.vertices = {{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}, {0, 2, 0}};
  mesh.polygons = {{0, 1, 2}, {0, 2, 3}, {0, 4, 1}, {1, 4, 2}, {2, 4, 3}, {3, 4, 0}};
  for (const auto& polygon : mesh.polygons) {
    std::array<float, 6> uv{};
    for (int corner = 0; corner < 3; ++corner) {
      const c4e::Vec3& p = mesh.vertices[polygon[corner]];
      uv[corner * 2] = (p.x + 1) * 0.5f;
      uv[corner * 2 + 1] = (p.z + 1) * 0.5f + p.y * 0.25f;
    }
    mesh.uvs.push_back(uv);
  }
  return mesh;
}

c4e::PolyObject Triangles(uint64_t id, const std::string& materialName, int count) {
  c4e::PolyObject mesh;
  mesh.name = "triangles";
  mesh.id = id;
  mesh.materialName = materialName;
  for (int i = 0; i < count; ++i) {
    const float x = static_cast<float>(i);
    mesh.vertices.push_back({x, 0, 0});
    mesh.vertices.push_back({x + 1, 0, 0});
    mesh.vertices.push_back({x, 1, 0});
    mesh.polygons.push_back({3 * i, 3 * i + 1, 3 * i + 2});
    mesh.uvs.push_back({0, 0, 1, 0, 0, 1});
  }
  return mesh;
}

c4e::Material PlainMaterial(const std::string& name) {
  c4e::Material material;
  material.name = name;
  material.hasDiffuse = true;
  material.diffuseColor = {0.25f, 0.5f, 0.75f};
  material.diffuseValue = 1.0f;
  return material;
}

c4e::Camera CameraLookingAt(uint64_t targetId) {
  c4e::Camera camera;
  camera.name = "camera";
  camera.id = kCameraId;
  camera.targetId = targetId;
  camera.position = {0, 2, -10};
  return camera;
}

c4e::Light LightPointingAt(uint64_t targetId) {
  c4e::Light light;
  light.name = "light";
  light.id = kLightId;
  light.targetId = targetId;
  light.objectList = {kMeshId};
  light.position = {0, 10, 0};
  return light;
}

c4e::Track TwoKeyTrack(int32_t interpolation, int32_t lastFrame, c4e::Vec3 from, c4e::Vec3 to) {
  c4e::Track track;
  track.hasTrack = true;
  c4e::TrackKey first;
  first.interpolation = interpolation;
  first.position = from;
  c4e::TrackKey last;
  last.frame = lastFrame;
  last.interpolation = interpolation;
  last.position = to;
  track.keys = {first, last};
  return track;
}

c4e::Scene CompleteScene() {
  c4e::Scene scene;
  scene.name = "complete";
  scene.objectCount = 6;
  scene.materials.push_back(PlainMaterial("stone"));

  c4e::PolyObject dummy;
  dummy.name = "pivot";
  dummy.isDummy = true;
  dummy.id = kDummyId;
  dummy.position = {0, 1, 0};
  dummy.track = TwoKeyTrack(c4e::kLinear, 25, {0, 1, 0}, {0, 3, 0});
  scene.polyObjects.push_back(dummy);

  c4e::PolyObject mesh = Pyramid(kMeshId, "stone");
  mesh.parentId = kDummyId;
  mesh.smoothNormals = false;
  scene.polyObjects.push_back(mesh);

  c4e::PolyObject morph = Pyramid(kMorphId, "stone");
  morph.hasMorph = true;
  for (int k = 0; k < 3; ++k) {
    c4e::MorphKey key;
    key.frame = k * 50;
    key.positions = morph.vertices;
    key.positions[4].y = 2.0f + static_cast<float>(k);
    morph.morphKeys.push_back(key);
  }
  scene.polyObjects.push_back(morph);

  c4e::Camera camera = CameraLookingAt(kDummyId);
  camera.track = TwoKeyTrack(c4e::kHermite, 75, {0, 2, -10}, {5, 2, -10});
  scene.cameras.push_back(camera);
  scene.environment.ambientColor = {0.1f, 0.2f, 0.3f};
  scene.environment.environmentValue = 0.5f;
  scene.lights.push_back(LightPointingAt(kMeshId));
  return scene;
}

ReadResult ReadScene(const std::vector<uint8_t>& bytes) {
  ReadResult result;
  result.scene = std::make_unique<Scene>(RenderContext{});
  SceneFileReader reader(bytes.data(), bytes.size());
  result.message = reader.Read(result.scene.get());
  if (!result.message) AssembleScene(result.scene.get(), nullptr, nullptr);
  return result;
}

}  // namespace scene_test
