#include "C4eWriter.h"

#include <cstring>
#include <fstream>

#include "scene/C4eFormat.h"

namespace c4e {

using namespace c4e_format;

namespace {

void WriteOptionalString(ByteWriter& out, bool present, const std::string& value) {
  out.Flag(present);
  if (present) out.String(value);
}

}  // namespace

void ByteWriter::Bytes(const void* data, size_t size) {
  const auto* begin = static_cast<const uint8_t*>(data);
  m_bytes.insert(m_bytes.end(), begin, begin + size);
}

void ByteWriter::Int32(int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  const uint8_t le[4] = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                         static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
  Bytes(le, 4);
}

void ByteWriter::Float(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  Int32(static_cast<int32_t>(bits));
}

void ByteWriter::Flag(bool value) { m_bytes.push_back(value ? 1 : 0); }

void ByteWriter::Id64(uint64_t value) {
  Int32(static_cast<int32_t>(static_cast<uint32_t>(value)));
  Int32(static_cast<int32_t>(static_cast<uint32_t>(value >> 32)));
}

void ByteWriter::Vec(const Vec3& value) {
  Float(value.x);
  Float(value.y);
  Float(value.z);
}

void ByteWriter::String(const std::string& value) {
  Int32(static_cast<int32_t>(value.size()));
  Bytes(value.data(), value.size());
  m_bytes.push_back(0);
}

void WriteMagic(ByteWriter& out) {
  for (int32_t word : kMagic) out.Int32(word);
}

void WriteTrack(ByteWriter& out, const Track& track) {
  out.Flag(track.hasTrack);
  if (!track.hasTrack) return;
  out.Int32(static_cast<int32_t>(track.keys.size()));
  for (const TrackKey& key : track.keys) {
    out.Int32(key.frame);
    out.Int32(key.interpolation);
    out.Vec(key.position);
    out.Vec(key.rotation);
    out.Vec(key.scale);
  }
}

void WriteMaterial(ByteWriter& out, const Material& material) {
  out.Int32(kTagMaterial);
  out.Int32(material.number);
  out.String(material.name);

  out.Int32(kTagDiffuse);
  out.Flag(material.hasDiffuse);
  if (material.hasDiffuse) {
    out.Vec(material.diffuseColor);
    out.Float(material.diffuseValue);
    out.Flag(material.hasDiffuseMap);
    if (material.hasDiffuseMap) {
      out.String(material.diffuseMap);
      out.Int32(material.diffuseMapParamA);
      out.Float(material.diffuseMapParamB);
    }
  }

  out.Int32(kTagSpecular);
  out.Flag(material.hasSpecular);
  if (material.hasSpecular) {
    out.Vec(material.specularColor);
    out.Float(material.specularParamA);
    out.Float(material.specularParamB);
  }

  out.Int32(kTagNormalMap);
  WriteOptionalString(out, material.hasNormalMap, material.normalMap);

  out.Int32(kTagTransparency);
  out.Flag(material.transparent);
  if (material.transparent) out.Float(material.transparency);

  out.Int32(kTagLuminanceMap);
  WriteOptionalString(out, material.hasLuminanceMap, material.luminanceMap);
  out.Int32(kTagEnvironmentMap);
  WriteOptionalString(out, material.hasEnvironmentMap, material.environmentMap);
  out.Int32(kTagReflectionMap);
  WriteOptionalString(out, material.hasReflectionMap, material.reflectionMap);
}

void WritePolyObject(ByteWriter& out, const PolyObject& object) {
  out.Int32(kTagPolyObject);
  out.Int32(object.number);
  out.String(object.name);
  out.Flag(object.isDummy);
  out.Id64(object.id);
  out.Id64(object.parentId);
  out.String(object.materialName);
  if (object.materialName != "none") {
    out.Float(object.uvScale[0]);
    out.Float(object.uvScale[1]);
  }
  out.Vec(object.position);
  out.Vec(object.rotation);
  out.Vec(object.scale);
  WriteTrack(out, object.track);
  if (object.isDummy) return;

  out.Flag(object.hasMorph);
  if (object.hasMorph) {
    out.Int32(static_cast<int32_t>(object.morphKeys.size()));
    for (const MorphKey& key : object.morphKeys) {
      out.Int32(key.frame);
      out.Int32(key.interpolation);
      out.Int32(static_cast<int32_t>(key.positions.size()));
      for (const Vec3& p : key.positions) out.Vec(p);
    }
  }
  out.Flag(object.smoothNormals);
  out.Int32(static_cast<int32_t>(object.vertices.size()));
  for (const Vec3& v : object.vertices) out.Vec(v);
  out.Int32(static_cast<int32_t>(object.polygons.size()));
  for (const auto& polygon : object.polygons)
    for (int32_t index : polygon) out.Int32(index);
  // One uv record per polygon; missing ones are written as zeros so the file stays whole.
  for (size_t i = 0; i < object.polygons.size(); ++i) {
    const std::array<float, 6> uv = i < object.uvs.size() ? object.uvs[i] : std::array<float, 6>{};
    for (float value : uv) out.Float(value);
  }
}

void WriteCamera(ByteWriter& out, const Camera& camera) {
  out.Int32(kTagCamera);
  out.Int32(camera.number);
  out.String(camera.name);
  out.Id64(camera.id);
  out.Id64(camera.targetId);
  out.Vec(camera.position);
  out.Vec(camera.rotation);
  out.Vec(camera.scale);
  WriteTrack(out, camera.track);
}

void WriteEnvironment(ByteWriter& out, const Environment& environment) {
  out.Int32(kTagEnvironment);
  out.Vec(environment.ambientColor);
  out.Float(environment.environmentValue);
}

void WriteLight(ByteWriter& out, const Light& light) {
  out.Int32(kTagLight);
  out.Int32(light.number);
  out.String(light.name);
  out.Id64(light.id);
  out.Id64(light.targetId);
  out.Int32(static_cast<int32_t>(light.objectList.size()));
  for (uint64_t id : light.objectList) out.Id64(id);
  out.Int32(light.type);
  out.Vec(light.color);
  out.Float(light.multiplier);
  out.Float(light.shaderParamA);
  out.Float(light.shaderParamB);
  out.Vec(light.position);
  out.Vec(light.rotation);
  out.Vec(light.scale);
  WriteTrack(out, light.track);
}

std::vector<uint8_t> WriteScene(const Scene& scene) {
  ByteWriter out;
  WriteMagic(out);
  out.Int32(kTagSceneName);
  out.String(scene.name);
  out.Int32(kTagObjectCount);
  out.Int32(scene.objectCount);
  out.Int32(kTagPolyObjectCount);
  out.Int32(static_cast<int32_t>(scene.polyObjects.size()));
  out.Int32(kTagCameraCount);
  out.Int32(static_cast<int32_t>(scene.cameras.size()));
  out.Int32(kTagLightCount);
  out.Int32(static_cast<int32_t>(scene.lights.size()));
  out.Int32(kTagMaterialCount);
  out.Int32(static_cast<int32_t>(scene.materials.size()));
  for (const Material& material : scene.materials) WriteMaterial(out, material);
  for (const PolyObject& object : scene.polyObjects) WritePolyObject(out, object);
  for (const Camera& camera : scene.cameras) WriteCamera(out, camera);
  WriteEnvironment(out, scene.environment);
  for (const Light& light : scene.lights) WriteLight(out, light);
  return std::move(out.bytes());
}

bool WriteSceneFile(const Scene& scene, const std::string& path) {
  const std::vector<uint8_t> bytes = WriteScene(scene);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  return static_cast<bool>(file);
}

}  // namespace c4e
