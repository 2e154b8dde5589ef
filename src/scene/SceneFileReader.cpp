#include "scene/SceneFileReader.h"

#include <memory>

#include "scene/C4eFormat.h"
#include "scene/C4eReader.h"
#include "scene/Scene.h"

using namespace c4e_format;

namespace {

uint32_t FrameTime(int32_t frame) { return static_cast<uint32_t>(frame) * kMillisecondsPerFrame; }

bool ReadColor(C4eReader& in, D3DXCOLOR* color, float alpha) {
  D3DXVECTOR3 rgb;
  if (!in.ReadVec3(&rgb)) return false;
  *color = D3DXCOLOR(rgb.x, rgb.y, rgb.z, alpha);
  return true;
}

bool ReadPose(C4eReader& in, SceneObject* object) {
  return in.ReadVec3(&object->position) && in.ReadVec3(&object->rotation) && in.ReadVec3(&object->scale);
}

bool ReadTrack(C4eReader& in, SceneObject* object) {
  object->track = std::make_unique<Track>();
  if (!in.ReadFlag(&object->hasTrack)) return false;
  if (!object->hasTrack) return true;
  Track& track = *object->track;
  if (!in.ReadCount(&track.keyCount, kTrackKeyBytes)) return false;
  track.keys.resize(static_cast<size_t>(track.keyCount));
  for (TrackKey& key : track.keys) {
    if (!in.ReadInt32(&key.frame) || !in.ReadInt32(&key.interpolation) || !in.ReadVec3(&key.position) ||
        !in.ReadVec3(&key.rotation) || !in.ReadVec3(&key.scale))
      return false;
    key.time = FrameTime(key.frame);
  }
  return true;
}

// A flag and, when it is set, a texture file name.
bool ReadMapBlock(C4eReader& in, int32_t tag, bool* present, std::string* fileName) {
  return in.ExpectTag(tag) && in.ReadFlag(present) && (!*present || in.ReadString(fileName));
}

bool ReadMaterial(C4eReader& in, Material* m) {
  if (!in.ExpectTag(kTagMaterial) || !in.ReadInt32(&m->number) || !in.ReadString(&m->name)) return false;

  if (!in.ExpectTag(kTagDiffuse) || !in.ReadFlag(&m->hasDiffuse)) return false;
  if (m->hasDiffuse) {
    if (!ReadColor(in, &m->diffuseColor, 0.0f) || !in.ReadFloat(&m->diffuseValue) || !in.ReadFlag(&m->hasDiffuseMap))
      return false;
    if (m->hasDiffuseMap && (!in.ReadString(&m->diffuseMap) || !in.ReadInt32(&m->diffuseMapParamA) ||
                             !in.ReadFloat(&m->diffuseMapParamB)))
      return false;
  }

  if (!in.ExpectTag(kTagSpecular) || !in.ReadFlag(&m->hasSpecular)) return false;
  if (m->hasSpecular && (!ReadColor(in, &m->specularColor, 0.0f) || !in.ReadFloat(&m->specularParamA) ||
                         !in.ReadFloat(&m->specularParamB)))
    return false;

  if (!ReadMapBlock(in, kTagNormalMap, &m->hasNormalMap, &m->normalMap)) return false;

  if (!in.ExpectTag(kTagTransparency) || !in.ReadFlag(&m->transparent)) return false;
  if (m->transparent && !in.ReadFloat(&m->transparency)) return false;

  if (!ReadMapBlock(in, kTagLuminanceMap, &m->hasLuminanceMap, &m->luminanceMap)) return false;
  if (!ReadMapBlock(in, kTagEnvironmentMap, &m->hasEnvironmentMap, &m->environmentMap)) return false;
  if (!ReadMapBlock(in, kTagReflectionMap, &m->hasReflectionMap, &m->reflectionMap)) return false;
  if (m->hasReflectionMap) m->reflectionMap = ReflectionTextureName(m->reflectionMap);
  return true;
}

bool ReadMorphBlock(C4eReader& in, PolyObject* object) {
  if (!in.ReadFlag(&object->hasMorph)) return false;
  if (!object->hasMorph) return true;
  int32_t keyCount;
  if (!in.ReadCount(&keyCount, kMinimumMorphKeyBytes)) return false;
  object->morphKeys.reserve(static_cast<size_t>(keyCount));
  for (int32_t k = 0; k < keyCount; ++k) {
    auto key = std::make_unique<MorphKey>();
    if (!in.ReadInt32(&key->frame) || !in.ReadInt32(&key->interpolation) ||
        !in.ReadCount(&key->vertexCount, kVec3Bytes))
      return false;
    key->time = FrameTime(key->frame);
    key->positions.resize(static_cast<size_t>(key->vertexCount));
    for (D3DXVECTOR3& p : key->positions)
      if (!in.ReadVec3(&p)) return false;
    key->normals.assign(key->positions.size(), D3DXVECTOR3());
    object->morphKeys.push_back(std::move(key));
  }
  return true;
}

bool ReadMeshData(C4eReader& in, PolyObject* object) {
  if (!in.ReadFlag(&object->smoothNormals)) return false;
  if (!in.ReadCount(&object->vertexCount, kVec3Bytes)) return false;
  object->vertices.resize(static_cast<size_t>(object->vertexCount));
  for (VertexRecord& vertex : object->vertices)
    if (!in.ReadVec3(&vertex.position)) return false;

  if (!in.ReadCount(&object->polygonCount, kPolygonBytes)) return false;
  object->polygons.resize(static_cast<size_t>(object->polygonCount));
  for (PolygonRecord& polygon : object->polygons) {
    for (int32_t& index : polygon.indices) {
      if (!in.ReadInt32(&index)) return false;
      if (index < 0 || index >= object->vertexCount) return false;
    }
  }
  object->uvs.resize(static_cast<size_t>(object->polygonCount));
  for (UvRecord& uv : object->uvs)
    for (D3DXVECTOR2& corner : uv.corners)
      if (!in.ReadFloat(&corner.x) || !in.ReadFloat(&corner.y)) return false;

  // Every morph key animates every vertex of the mesh.
  for (const auto& key : object->morphKeys)
    if (key->vertexCount != object->vertexCount) return false;
  return true;
}

bool ReadPolyObject(C4eReader& in, PolyObject* object) {
  if (!in.ExpectTag(kTagPolyObject) || !in.ReadInt32(&object->number) || !in.ReadString(&object->name) ||
      !in.ReadFlag(&object->isDummy) || !in.ReadId64(&object->id) || !in.ReadId64(&object->parentId) ||
      !in.ReadString(&object->materialName))
    return false;
  if (object->materialName != "none" && (!in.ReadFloat(&object->uvScale[0]) || !in.ReadFloat(&object->uvScale[1])))
    return false;
  if (!ReadPose(in, object) || !ReadTrack(in, object)) return false;
  if (object->isDummy) return true;
  return ReadMorphBlock(in, object) && ReadMeshData(in, object);
}

bool ReadCamera(C4eReader& in, const Scene& scene, Camera* camera) {
  return in.ExpectTag(kTagCamera) && in.ReadInt32(&camera->number) && in.ReadString(&camera->name) &&
         in.ReadId64(&camera->id) && in.ReadId64(&camera->targetId) && ReadPose(in, camera) &&
         ReadTrack(in, camera) && scene.FindPolyObject(camera->targetId) != nullptr;
}

bool ReadEnvironment(C4eReader& in, Environment* environment) {
  return in.ExpectTag(kTagEnvironment) && ReadColor(in, &environment->ambientColor, 1.0f) &&
         in.ReadFloat(&environment->environmentValue);
}

bool ReadLight(C4eReader& in, const Scene& scene, Light* light) {
  if (!in.ExpectTag(kTagLight) || !in.ReadInt32(&light->number) || !in.ReadString(&light->name) ||
      !in.ReadId64(&light->id) || !in.ReadId64(&light->targetId))
    return false;
  int32_t listCount;
  if (!in.ReadCount(&listCount, 8)) return false;
  light->objectList.resize(static_cast<size_t>(listCount));
  for (uint64_t& id : light->objectList)
    if (!in.ReadId64(&id)) return false;
  return in.ReadInt32(&light->type) && ReadColor(in, &light->color, 0.0f) && in.ReadFloat(&light->multiplier) &&
         in.ReadFloat(&light->shaderParamA) && in.ReadFloat(&light->shaderParamB) && ReadPose(in, light) &&
         ReadTrack(in, light) && scene.FindPolyObject(light->targetId) != nullptr;
}

// A section count: zero or less means no records. Records are appended only as they are read,
// so a count larger than the file holds ends at the first missing record, in its own section.
bool ReadSectionCount(C4eReader& in, int32_t tag, int32_t* count) {
  if (!in.ExpectTag(tag) || !in.ReadInt32(count)) return false;
  if (*count < 0) *count = 0;
  return true;
}

bool ParentsResolve(const Scene& scene) {
  for (const auto& object : scene.polyObjects)
    if (object->parentId != 0 && !scene.FindPolyObject(object->parentId)) return false;
  return true;
}

}  // namespace

const char* SceneFileReader::Read(Scene* scene, MaterialHandler onMaterial, void* owner) {
  C4eReader in(m_data, m_size);

  for (int32_t magic : kMagic)
    if (!in.ExpectTag(magic)) return "file format";
  if (!in.ExpectTag(kTagSceneName) || !in.ReadString(&scene->name)) return "scene name";
  if (!in.ExpectTag(kTagObjectCount) || !in.ReadInt32(&scene->objectCount)) return "object count";
  if (!ReadSectionCount(in, kTagPolyObjectCount, &scene->polyObjectCount))
    return "polyobject count";
  if (!ReadSectionCount(in, kTagCameraCount, &scene->cameraCount)) return "camera count";
  if (!ReadSectionCount(in, kTagLightCount, &scene->lightCount)) return "light count";
  // The material shader has room for eight lights.
  if (scene->lightCount > kMaxLights) return "lights";
  if (!ReadSectionCount(in, kTagMaterialCount, &scene->materialCount))
    return "material count";

  for (int32_t i = 0; i < scene->materialCount; ++i) {
    auto material = std::make_unique<Material>();
    if (!ReadMaterial(in, material.get())) return "materials";
    if (onMaterial && !onMaterial(owner, material.get())) return "materials";
    scene->materials.push_back(std::move(material));
  }
  for (int32_t i = 0; i < scene->polyObjectCount; ++i) {
    auto object = std::make_unique<PolyObject>();
    if (!ReadPolyObject(in, object.get())) return "polyobjects";
    scene->polyObjects.push_back(std::move(object));
  }
  if (!ParentsResolve(*scene)) return "polyobjects";
  for (int32_t i = 0; i < scene->cameraCount; ++i) {
    auto camera = std::make_unique<Camera>();
    if (!ReadCamera(in, *scene, camera.get())) return "cameras";
    scene->cameras.push_back(std::move(camera));
  }
  if (!ReadEnvironment(in, scene->environment.get())) return "environment";
  for (int32_t i = 0; i < scene->lightCount; ++i) {
    auto light = std::make_unique<Light>();
    if (!ReadLight(in, *scene, light.get())) return "lights";
    scene->lights.push_back(std::move(light));
  }
  return nullptr;
}
