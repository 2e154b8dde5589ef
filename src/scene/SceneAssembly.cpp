#include "scene/SceneAssembly.h"

#include <algorithm>
#include <vector>

#include "scene/MeshBuffers.h"
#include "scene/MeshBuilder.h"
#include "scene/Scene.h"

void ResolveMaterials(Scene* scene) {
  for (const auto& object : scene->polyObjects) {
    object->material = nullptr;
    for (const auto& material : scene->materials) {
      if (material->name == object->materialName) {
        object->material = material.get();
        break;
      }
    }
    if (!object->material && !object->isDummy) {
      if (!scene->defaultMaterial) scene->defaultMaterial = std::make_unique<Material>(Material::MakeDefault());
      object->material = scene->defaultMaterial.get();
    }
  }
}

void SortPolyObjects(Scene* scene) {
  // Each polyobject gets a draw group: opaque meshes 0, transparent meshes 1. A dummy takes the
  // group of the earliest-drawn mesh after it in the file, so it keeps its place before every
  // mesh that follows it (its children see this frame's matrix). Sorting on that key alone is a
  // strict weak ordering, which the stable sort needs to keep each group in file order.
  auto& objects = scene->polyObjects;
  std::vector<int> group(objects.size(), 1);
  int earliestAfter = 1;
  for (size_t i = objects.size(); i-- > 0;) {
    const PolyObject& object = *objects[i];
    if (object.isDummy) {
      group[i] = earliestAfter;
    } else {
      group[i] = object.material && object.material->transparent ? 1 : 0;
      earliestAfter = std::min(earliestAfter, group[i]);
    }
  }
  std::vector<size_t> order(objects.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&group](size_t a, size_t b) { return group[a] < group[b]; });
  std::vector<std::unique_ptr<PolyObject>> sorted;
  sorted.reserve(objects.size());
  for (size_t i : order) sorted.push_back(std::move(objects[i]));
  objects = std::move(sorted);
}

void ComputeEndTime(Scene* scene) {
  int64_t endTime = 0;
  auto raise = [&endTime](int64_t t) { endTime = std::max(endTime, t); };
  for (const auto& object : scene->polyObjects) {
    if (object->hasTrack && !object->track->keys.empty()) raise(object->track->LastKeyTime());
    if (!object->morphKeys.empty()) raise(object->morphKeys.back()->time);
  }
  for (const auto& camera : scene->cameras)
    if (camera->hasTrack && !camera->track->keys.empty()) raise(camera->track->LastKeyTime());
  for (const auto& light : scene->lights)
    if (light->hasTrack && !light->track->keys.empty()) raise(light->track->LastKeyTime());
  scene->endTime = endTime;
}

void AssembleScene(Scene* scene, ID3D11Device* device, ID3D11DeviceContext* deviceContext) {
  AssembleSceneData(scene);
  UploadSceneMeshes(scene, device, deviceContext);
}

void AssembleSceneData(Scene* scene) {
  ResolveMaterials(scene);
  SortPolyObjects(scene);
  scene->meshCount = 0;
  for (const auto& object : scene->polyObjects) {
    if (object->isDummy) continue;
    ++scene->meshCount;
    scene->vertexTotal += object->vertexCount;
    scene->polygonTotal += object->polygonCount;
    BuildMeshData(object.get());
  }
  ComputeEndTime(scene);
}

void UploadSceneMeshes(Scene* scene, ID3D11Device* device, ID3D11DeviceContext* deviceContext) {
  for (const auto& object : scene->polyObjects) {
    if (object->isDummy) continue;
    object->device = device;
    object->deviceContext = deviceContext;
    // A mesh whose buffers cannot be created is simply not drawn.
    if (device) CreateMeshBuffers(object.get());
  }
}
