#pragma once
// Writes .c4e scene files: a plain description of a scene in, the file's bytes out.
// Counts are taken from the lists; strings store their character count in the length field.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "scene/C4eFormat.h"

namespace c4e {

struct Vec3 {
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

// Interpolation codes of track and morph keys, as the reader defines them.
constexpr int32_t kHermite = c4e_format::kInterpolationHermite;
constexpr int32_t kLinear = c4e_format::kInterpolationLinear;
constexpr int32_t kStep = c4e_format::kInterpolationStep;

struct TrackKey {
  int32_t frame = 0;
  int32_t interpolation = kLinear;
  Vec3 position;
  Vec3 rotation;
  Vec3 scale{1.0f, 1.0f, 1.0f};
};

struct Track {
  bool hasTrack = false;
  std::vector<TrackKey> keys;
};

struct MorphKey {
  int32_t frame = 0;
  int32_t interpolation = kLinear;
  std::vector<Vec3> positions;
};

struct Material {
  int32_t number = 0;
  std::string name;
  bool hasDiffuse = false;
  Vec3 diffuseColor;
  float diffuseValue = 0.0f;
  bool hasDiffuseMap = false;
  std::string diffuseMap;
  int32_t diffuseMapParamA = 0;
  float diffuseMapParamB = 0.0f;
  bool hasSpecular = false;
  Vec3 specularColor;
  float specularParamA = 0.0f;
  float specularParamB = 0.0f;
  bool hasNormalMap = false;
  std::string normalMap;
  bool transparent = false;
  float transparency = 0.0f;
  bool hasLuminanceMap = false;
  std::string luminanceMap;
  bool hasEnvironmentMap = false;
  std::string environmentMap;
  bool hasReflectionMap = false;
  std::string reflectionMap;
};

struct PolyObject {
  int32_t number = 0;
  std::string name;
  bool isDummy = false;
  uint64_t id = 0;
  uint64_t parentId = 0;
  // "none" means no material and writes no uvScale.
  std::string materialName = "none";
  float uvScale[2] = {1.0f, 1.0f};
  Vec3 position;
  Vec3 rotation;
  Vec3 scale{1.0f, 1.0f, 1.0f};
  Track track;
  // Mesh data, written only when isDummy is false.
  bool hasMorph = false;
  std::vector<MorphKey> morphKeys;
  bool smoothNormals = true;
  std::vector<Vec3> vertices;
  std::vector<std::array<int32_t, 3>> polygons;
  // Per polygon: u, v of the first, second and third corner.
  std::vector<std::array<float, 6>> uvs;
};

struct Camera {
  int32_t number = 0;
  std::string name;
  uint64_t id = 0;
  uint64_t targetId = 0;
  Vec3 position;
  Vec3 rotation;
  Vec3 scale{1.0f, 1.0f, 1.0f};
  Track track;
};

struct Environment {
  Vec3 ambientColor;
  float environmentValue = 0.0f;
};

struct Light {
  int32_t number = 0;
  std::string name;
  uint64_t id = 0;
  uint64_t targetId = 0;
  std::vector<uint64_t> objectList;
  int32_t type = 0;
  Vec3 color{1.0f, 1.0f, 1.0f};
  float multiplier = 1.0f;
  float shaderParamA = 0.0f;
  float shaderParamB = 0.0f;
  Vec3 position;
  Vec3 rotation;
  Vec3 scale{1.0f, 1.0f, 1.0f};
  Track track;
};

struct Scene {
  std::string name;
  int32_t objectCount = 0;
  std::vector<Material> materials;
  std::vector<PolyObject> polyObjects;
  std::vector<Camera> cameras;
  Environment environment;
  std::vector<Light> lights;
};

// Little-endian primitives of the format, appended to a byte vector.
class ByteWriter {
 public:
  void Int32(int32_t value);
  void Float(float value);
  void Flag(bool value);
  void Id64(uint64_t value);
  void Vec(const Vec3& value);
  void String(const std::string& value);
  void Bytes(const void* data, size_t size);

  const std::vector<uint8_t>& bytes() const { return m_bytes; }
  std::vector<uint8_t>& bytes() { return m_bytes; }

 private:
  std::vector<uint8_t> m_bytes;
};

// Record writers, for tests and tools that assemble unusual files piece by piece.
void WriteMagic(ByteWriter& out);
void WriteTrack(ByteWriter& out, const Track& track);
void WriteMaterial(ByteWriter& out, const Material& material);
void WritePolyObject(ByteWriter& out, const PolyObject& object);
void WriteCamera(ByteWriter& out, const Camera& camera);
void WriteEnvironment(ByteWriter& out, const Environment& environment);
void WriteLight(ByteWriter& out, const Light& light);

std::vector<uint8_t> WriteScene(const Scene& scene);
// False when the file cannot be written completely.
bool WriteSceneFile(const Scene& scene, const std::string& path);

}  // namespace c4e
