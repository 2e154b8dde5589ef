#include "SeedScenes.h"

#include "C4eWriter.h"

namespace fuzz_seeds {

namespace {

c4e::Track Track(int32_t interpolation, int32_t frames) {
  c4e::Track track;
  track.hasTrack = true;
  for (int32_t i = 0; i < 3; ++i) {
    c4e::TrackKey key;
    key.frame = i * frames;
    key.interpolation = interpolation;
    key.position = {static_cast<float>(i), 1.0f, -static_cast<float>(i)};
    key.rotation = {0.5f * i, 0.25f * i, 0.0f};
    track.keys.push_back(key);
  }
  return track;
}

c4e::PolyObject Quad(uint64_t id, const std::string& material, bool morph) {
  c4e::PolyObject mesh;
  mesh.name = "quad";
  mesh.id = id;
  mesh.materialName = material;
  mesh.smoothNormals = !morph;
  mesh.vertices = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
  mesh.polygons = {{0, 1, 2}, {0, 2, 3}};
  mesh.uvs = {{0, 1, 1, 1, 1, 0}, {0, 1, 1, 0, 0, 0}};
  if (morph) {
    mesh.hasMorph = true;
    for (int32_t k = 0; k < 3; ++k) {
      c4e::MorphKey key;
      key.frame = k * 10;
      key.interpolation = 1 + k;
      key.positions = mesh.vertices;
      key.positions[2].z = static_cast<float>(k);
      mesh.morphKeys.push_back(key);
    }
  }
  return mesh;
}

c4e::Scene FullScene() {
  c4e::Scene scene;
  scene.name = "seed";
  scene.objectCount = 5;
  c4e::Material rich;
  rich.name = "rich";
  rich.hasDiffuse = true;
  rich.diffuseColor = {1, 0.5f, 0.25f};
  rich.hasDiffuseMap = true;
  rich.diffuseMap = "d.png";
  rich.hasSpecular = true;
  rich.hasNormalMap = true;
  rich.normalMap = "n.png";
  rich.transparent = true;
  rich.transparency = 0.5f;
  rich.hasLuminanceMap = true;
  rich.luminanceMap = "l.png";
  rich.hasEnvironmentMap = true;
  rich.environmentMap = "e.png";
  rich.hasReflectionMap = true;
  rich.reflectionMap = "r.png";
  scene.materials.push_back(rich);
  c4e::Material plain;
  plain.name = "plain";
  scene.materials.push_back(plain);

  c4e::PolyObject pivot;
  pivot.isDummy = true;
  pivot.id = 1;
  pivot.track = Track(2, 25);
  scene.polyObjects.push_back(pivot);
  c4e::PolyObject child = Quad(2, "rich", false);
  child.parentId = 1;
  child.track = Track(1, 10);
  scene.polyObjects.push_back(child);
  scene.polyObjects.push_back(Quad(3, "plain", true));
  scene.polyObjects.push_back(Quad(4, "none", false));

  c4e::Camera camera;
  camera.id = 10;
  camera.targetId = 1;
  camera.position = {0, 0, -5};
  camera.track = Track(3, 20);
  scene.cameras.push_back(camera);
  c4e::Camera second = camera;
  second.targetId = 2;
  scene.cameras.push_back(second);

  c4e::Light light;
  light.id = 20;
  light.targetId = 2;
  light.objectList = {2, 3};
  light.position = {0, 5, 0};
  light.track = Track(2, 30);
  scene.lights.push_back(light);
  return scene;
}

}  // namespace

std::vector<std::pair<std::string, std::vector<uint8_t>>> SeedScenes() {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> seeds;
  seeds.emplace_back("empty.c4e", c4e::WriteScene(c4e::Scene{}));
  const c4e::Scene full = FullScene();
  seeds.emplace_back("full.c4e", c4e::WriteScene(full));

  c4e::Scene morphOnly;
  morphOnly.polyObjects.push_back(Quad(7, "none", true));
  c4e::Camera camera;
  camera.targetId = 7;
  morphOnly.cameras.push_back(camera);
  seeds.emplace_back("morph.c4e", c4e::WriteScene(morphOnly));

  c4e::Scene lights = full;
  while (lights.lights.size() < 8) lights.lights.push_back(full.lights[0]);
  seeds.emplace_back("lights.c4e", c4e::WriteScene(lights));
  return seeds;
}

}  // namespace fuzz_seeds
