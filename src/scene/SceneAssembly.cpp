#include "scene/SceneAssembly.h"

#include <algorithm>

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
  std::stable_sort(scene->polyObjects.begin(), scene->polyObjects.end(),
                   [](const std::unique_ptr<PolyObject>& a, const std::unique_ptr<PolyObject>& b) {
                     return !a->isDummy && !b->isDummy && !a->material->transparent && b->material->transparent;
                   });
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
  ResolveMaterials(scene);
  SortPolyObjects(scene);
  scene->meshCount = 0;
  for (const auto& object : scene->polyObjects) {
    if (object->isDummy) continue;
    ++scene->meshCount;
    scene->vertexTotal += object->vertexCount;
    scene->polygonTotal += object->polygonCount;
    object->device = device;
    object->deviceContext = deviceContext;
    BuildMeshData(object.get());
    // A mesh whose buffers cannot be created is simply not drawn.
    if (device) CreateMeshBuffers(object.get());
  }
  ComputeEndTime(scene);
}
