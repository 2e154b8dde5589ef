#include "SceneChecks.h"

#include <algorithm>
#include <set>

namespace kit {

namespace {

template <typename Keys>
void CheckKeyOrder(const Keys& keys, const std::string& what, std::vector<std::string>& problems) {
  if (keys.empty()) return;
  if (keys.front().frame != 0) problems.push_back(what + ": the first key is not at frame 0");
  for (size_t i = 1; i < keys.size(); ++i)
    if (keys[i].frame <= keys[i - 1].frame) {
      problems.push_back(what + ": keys are not in ascending frame order");
      break;
    }
}

template <typename Keys>
int32_t LastFrame(const Keys& keys) {
  return keys.empty() ? 0 : keys.back().frame;
}

}  // namespace

SceneFigures Measure(const c4e::Scene& scene) {
  SceneFigures figures;
  for (const c4e::PolyObject& object : scene.polyObjects) {
    if (object.track.hasTrack) figures.lastFrame = std::max(figures.lastFrame, LastFrame(object.track.keys));
    if (object.isDummy) {
      ++figures.dummies;
      continue;
    }
    ++figures.meshes;
    figures.triangles += static_cast<int>(object.polygons.size());
    if (object.hasMorph && !object.morphKeys.empty()) {
      figures.morphingVertices += static_cast<int>(object.vertices.size());
      figures.lastFrame = std::max(figures.lastFrame, LastFrame(object.morphKeys));
    }
  }
  for (const c4e::Camera& camera : scene.cameras)
    if (camera.track.hasTrack) figures.lastFrame = std::max(figures.lastFrame, LastFrame(camera.track.keys));
  for (const c4e::Light& light : scene.lights)
    if (light.track.hasTrack) figures.lastFrame = std::max(figures.lastFrame, LastFrame(light.track.keys));
  figures.cameras = static_cast<int>(scene.cameras.size());
  figures.lights = static_cast<int>(scene.lights.size());
  return figures;
}

std::vector<std::string> SceneProblems(const c4e::Scene& scene, const SceneBudget& budget) {
  std::vector<std::string> problems;
  const SceneFigures figures = Measure(scene);
  if (figures.cameras == 0) problems.push_back("the scene has no camera");
  if (figures.lights == 0) problems.push_back("the scene has no light");
  if (figures.lights > budget.maxLights)
    problems.push_back(std::to_string(figures.lights) + " lights, more than " + std::to_string(budget.maxLights));
  if (figures.triangles > budget.maxTriangles)
    problems.push_back(std::to_string(figures.triangles) + " triangles, more than " + std::to_string(budget.maxTriangles));
  if (figures.morphingVertices > budget.maxMorphingVertices)
    problems.push_back(std::to_string(figures.morphingVertices) + " morphing vertices, more than " +
                       std::to_string(budget.maxMorphingVertices));

  std::set<std::string> materials;
  for (const c4e::Material& material : scene.materials) materials.insert(material.name);
  std::set<uint64_t> objects;
  for (const c4e::PolyObject& object : scene.polyObjects) objects.insert(object.id);

  for (const c4e::PolyObject& object : scene.polyObjects) {
    const std::string what = "object \"" + object.name + "\"";
    if (object.parentId != 0 && objects.count(object.parentId) == 0) problems.push_back(what + ": its parent does not exist");
    if (object.track.hasTrack) CheckKeyOrder(object.track.keys, what + "'s track", problems);
    if (object.isDummy) continue;
    if (materials.count(object.materialName) == 0)
      problems.push_back(what + ": material \"" + object.materialName + "\" does not exist");
    if (object.uvs.size() != object.polygons.size()) problems.push_back(what + ": not one uv record per triangle");
    const int32_t vertexCount = static_cast<int32_t>(object.vertices.size());
    for (const auto& polygon : object.polygons)
      if (std::any_of(polygon.begin(), polygon.end(), [&](int32_t i) { return i < 0 || i >= vertexCount; })) {
        problems.push_back(what + ": a triangle names a vertex that does not exist");
        break;
      }
    if (object.hasMorph) {
      if (object.morphKeys.size() < 2) problems.push_back(what + ": a morph needs at least two keys");
      CheckKeyOrder(object.morphKeys, what + "'s morph", problems);
      for (const c4e::MorphKey& key : object.morphKeys)
        if (static_cast<int32_t>(key.positions.size()) != vertexCount) {
          problems.push_back(what + ": the morph key at frame " + std::to_string(key.frame) + " has " +
                             std::to_string(key.positions.size()) + " vertices, the mesh " + std::to_string(vertexCount));
          break;
        }
    }
  }
  for (const c4e::Camera& camera : scene.cameras) {
    if (objects.count(camera.targetId) == 0) problems.push_back("camera \"" + camera.name + "\": its target does not exist");
    if (camera.track.hasTrack) CheckKeyOrder(camera.track.keys, "camera \"" + camera.name + "\"'s track", problems);
  }
  for (const c4e::Light& light : scene.lights) {
    if (objects.count(light.targetId) == 0) problems.push_back("light \"" + light.name + "\": its target does not exist");
    if (light.track.hasTrack) CheckKeyOrder(light.track.keys, "light \"" + light.name + "\"'s track", problems);
  }
  return problems;
}

std::vector<std::string> TextureNames(const c4e::Scene& scene) {
  std::vector<std::string> names;
  auto add = [&names](const std::string& name) {
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  };
  for (const c4e::Material& material : scene.materials) {
    if (material.hasDiffuse && material.hasDiffuseMap) add(material.diffuseMap);
    if (material.hasNormalMap) add(material.normalMap);
    if (material.hasLuminanceMap) add(material.luminanceMap);
    if (material.hasEnvironmentMap) add(material.environmentMap);
    if (material.hasReflectionMap) add(material.reflectionMap);
  }
  return names;
}

}  // namespace kit
