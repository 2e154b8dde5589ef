#include "SceneParts.h"

namespace kit {

c4e::Material Matte(const std::string& name, Vec3 color, float level) {
  c4e::Material material;
  material.name = name;
  material.hasDiffuse = true;
  material.diffuseColor = color;
  material.diffuseValue = level;
  return material;
}

void AddSpecular(c4e::Material& material, Vec3 color, float level, float roughness) {
  material.hasSpecular = true;
  material.specularColor = color;
  material.specularParamA = level;
  material.specularParamB = roughness;  // exponent 100 − 100 × roughness
}

void AddDiffuseMap(c4e::Material& material, const std::string& file, bool ownColours, float amount) {
  material.hasDiffuse = true;
  material.hasDiffuseMap = true;
  material.diffuseMap = file;
  material.diffuseMapParamA = ownColours ? 1 : 0;
  material.diffuseMapParamB = amount;
}

c4e::PolyObject Mesh(uint64_t id, const std::string& name, const std::string& material, Vec3 position) {
  c4e::PolyObject mesh;
  mesh.id = id;
  mesh.name = name;
  mesh.materialName = material;
  mesh.position = position;
  mesh.smoothNormals = true;
  return mesh;
}

c4e::PolyObject Dummy(uint64_t id, const std::string& name, Vec3 position) {
  c4e::PolyObject dummy;
  dummy.id = id;
  dummy.name = name;
  dummy.isDummy = true;
  dummy.position = position;
  return dummy;
}

namespace {

c4e::Light MakeLight(int32_t type, uint64_t id, const std::string& name, uint64_t targetId, Vec3 position, Vec3 color,
                     float multiplier, float wrap) {
  c4e::Light light;
  light.type = type;
  light.id = id;
  light.name = name;
  light.targetId = targetId;
  light.position = position;
  light.color = color;
  light.multiplier = multiplier;
  light.shaderParamA = wrap;
  return light;
}

}  // namespace

c4e::Light OmniLight(uint64_t id, const std::string& name, uint64_t targetId, Vec3 position, Vec3 color,
                     float multiplier, float wrap) {
  return MakeLight(0, id, name, targetId, position, color, multiplier, wrap);
}

c4e::Light DirectionalLight(uint64_t id, const std::string& name, uint64_t targetId, Vec3 position, Vec3 color,
                            float multiplier, float wrap) {
  return MakeLight(1, id, name, targetId, position, color, multiplier, wrap);
}

c4e::Light SpotLight(uint64_t id, const std::string& name, uint64_t targetId, Vec3 position, Vec3 color,
                     float multiplier, float coneDegrees, float wrap) {
  c4e::Light light = MakeLight(2, id, name, targetId, position, color, multiplier, wrap);
  light.shaderParamB = coneDegrees / 10.0f;  // the file stores a tenth; the program gets × 10
  return light;
}

void NumberEverything(c4e::Scene& scene) {
  int32_t number = 0;
  for (c4e::Material& material : scene.materials) material.number = number++;
  number = 0;
  for (c4e::PolyObject& object : scene.polyObjects) object.number = number++;
  number = 0;
  for (c4e::Camera& camera : scene.cameras) camera.number = number++;
  number = 0;
  for (c4e::Light& light : scene.lights) light.number = number++;
  scene.objectCount = static_cast<int32_t>(scene.polyObjects.size() + scene.cameras.size() + scene.lights.size());
}

}  // namespace kit
