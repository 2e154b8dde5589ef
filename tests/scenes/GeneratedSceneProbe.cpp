#include "GeneratedSceneProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gfx/RenderContext.h"
#include "math/d3dx_math.h"
#include "scene/SceneAssembly.h"
#include "scene/SceneFileReader.h"

namespace scene_probe {

std::unique_ptr<Scene> ReadBack(const c4e::Scene& description) {
  const std::vector<uint8_t> bytes = c4e::WriteScene(description);
  auto scene = std::make_unique<Scene>(RenderContext{});
  SceneFileReader reader(bytes.data(), bytes.size());
  if (const char* failure = reader.Read(scene.get())) {
    ADD_FAILURE() << description.name << ": the show's reader stops at " << failure;
    return nullptr;
  }
  AssembleScene(scene.get(), nullptr, nullptr);
  return scene;
}

void Pose(Scene& scene, int64_t time, int32_t camera) {
  scene.Restart();
  scene.currentCamera = camera;
  scene.time = 0;
  scene.Update(0, time);
}

Clearance CameraClearance(const Scene& scene) {
  Clearance clearance;
  const D3DXVECTOR3 eye = scene.cameras[static_cast<size_t>(scene.currentCamera)]->position;
  for (const auto& object : scene.polyObjects) {
    if (object->isDummy || object->name.empty()) continue;
    D3DXVECTOR3 low(1e30f, 1e30f, 1e30f), high(-1e30f, -1e30f, -1e30f);
    const size_t count = object->vertices.size();
    for (size_t v = 0; v < count; ++v) {
      const D3DXVECTOR3 local = object->hasMorph ? object->currentPositions[v] : object->vertices[v].position;
      D3DXVECTOR3 world;
      D3DXVec3TransformCoord(&world, &local, &object->world);
      low = {std::min(low.x, world.x), std::min(low.y, world.y), std::min(low.z, world.z)};
      high = {std::max(high.x, world.x), std::max(high.y, world.y), std::max(high.z, world.z)};
      const D3DXVECTOR3 offset = world - eye;
      const float distance = D3DXVec3Length(&offset);
      if (distance < clearance.nearestVertex) {
        clearance.nearestVertex = distance;
        clearance.nearestMesh = object->name;
      }
    }
    if (count > 0 && eye.x > low.x && eye.x < high.x && eye.y > low.y && eye.y < high.y && eye.z > low.z && eye.z < high.z)
      clearance.enclosingMesh = object->name;
  }
  return clearance;
}

float WorstNormalError(const Scene& scene) {
  float worst = 0.0f;
  auto check = [&](const D3DXVECTOR3& n) {
    const float error = std::fabs(D3DXVec3Length(&n) - 1.0f);
    worst = std::isnan(error) ? INFINITY : std::max(worst, error);
  };
  for (const auto& object : scene.polyObjects) {
    if (object->isDummy) continue;
    for (const VertexRecord& vertex : object->vertices) check(vertex.normal);
    for (const auto& key : object->morphKeys)
      for (const D3DXVECTOR3& normal : key->normals) check(normal);
  }
  return worst;
}

std::filesystem::path StagedData() {
  const char* binary = std::getenv("PULSAR_BINARY_DIR");
  return std::filesystem::path(binary ? binary : ".") / "stage" / "engine_data";
}

}  // namespace scene_probe
