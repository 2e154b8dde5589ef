#include "BlobScene.h"

#include <cmath>

#include "BlobTextures.h"
#include "Caption.h"
#include "Generator.h"
#include "Geodesic.h"
#include "Metaballs.h"
#include "SceneParts.h"

namespace blob {

using kit::Vec3;

namespace {

constexpr float kTau = 6.28318530717959f;

c4e::Material Slime() {
  c4e::Material m;
  m.name = "slime";
  m.hasDiffuse = true;
  // Dark enough to read half as metal: the reflections carry the colour, the body stays acid.
  m.diffuseColor = {0.09f, 0.22f, 0.03f};
  m.diffuseValue = 1.0f;
  m.hasSpecular = true;
  m.specularColor = {1.0f, 1.0f, 1.0f};
  m.specularParamA = 1.6f;
  m.specularParamB = 0.03f;  // a wet, tight highlight
  m.hasNormalMap = true;
  m.normalMap = "blob_ripples_n.png";
  m.hasLuminanceMap = true;
  m.luminanceMap = "blob_veins.png";
  m.hasEnvironmentMap = true;
  m.environmentMap = "blob_film.png";
  m.hasReflectionMap = true;
  m.reflectionMap = "blob_wet.dds";
  return m;
}

c4e::PolyObject Blob() {
  c4e::PolyObject blob;
  blob.id = kBlobId;
  blob.name = "blob";
  blob.materialName = "slime";
  blob.uvScale[0] = 3.0f;
  blob.uvScale[1] = 2.0f;
  blob.smoothNormals = true;
  kit::AppendGeodesicSphere(blob, kSphereFrequency);
  const std::vector<Vec3> directions = blob.vertices;
  blob.vertices = SurfaceAt(directions, 0.0f);
  blob.hasMorph = true;
  for (int frame = 0; frame <= kLastFrame; frame += kKeyStep) {
    c4e::MorphKey key;
    key.frame = frame;
    key.interpolation = c4e::kLinear;
    // The last key is the first one again: the loop is seamless.
    key.positions = frame == kLastFrame ? blob.vertices : SurfaceAt(directions, static_cast<float>(frame));
    blob.morphKeys.push_back(std::move(key));
  }
  return blob;
}

c4e::TrackKey Key(int32_t frame, Vec3 position) {
  c4e::TrackKey key;
  key.frame = frame;
  key.interpolation = c4e::kLinear;
  key.position = position;
  return key;
}

// A circle round the blob: `turns` of it over the loop, radius and height breathing.
c4e::Camera Circling(int32_t number, const std::string& name, float radius, float swing, float height, float lift,
                     float turns, float start) {
  c4e::Camera camera;
  camera.number = number;
  camera.name = name;
  camera.id = 0xB10B000000000100ull + static_cast<uint64_t>(number);
  camera.targetId = kFocusId;
  camera.track.hasTrack = true;
  const int keys = 46;
  for (int k = 0; k <= keys; ++k) {
    const float u = static_cast<float>(k) / keys;
    const float angle = kTau * (start + turns * u);
    const float r = radius + swing * std::sin(kTau * 2 * u);
    camera.track.keys.push_back(
        Key(kLastFrame * k / keys, {r * std::cos(angle), height + lift * std::sin(kTau * u + 1.0f), r * std::sin(angle)}));
  }
  camera.position = camera.track.keys[0].position;
  return camera;
}

}  // namespace

c4e::Scene BlobScene() {
  c4e::Scene scene;
  scene.name = "blob";
  scene.materials = {Slime()};
  c4e::PolyObject focus;
  focus.id = kFocusId;
  focus.name = "focus";
  focus.isDummy = true;
  scene.polyObjects.push_back(focus);
  c4e::PolyObject blob = Blob();
  scene.polyObjects.push_back(std::move(blob));
  scene.cameras = {Circling(0, "orbit", 420.0f, 40.0f, 90.0f, 80.0f, 0.5f, 0.72f),
                   Circling(1, "close", 350.0f, 40.0f, -20.0f, 100.0f, -0.7f, 0.1f)};
  scene.environment.ambientColor = {0.03f, 0.05f, 0.03f};
  scene.environment.environmentValue = 1.0f;
  // Key from above front, a violet rim from behind, a cyan fill from below.
  scene.lights = {kit::OmniLight(kLightId + 0, "key", kFocusId, {-420.0f, 620.0f, -520.0f}, {1.0f, 0.97f, 0.85f}, 1.7f, 0.15f),
                  kit::OmniLight(kLightId + 1, "rim", kFocusId, {380.0f, 260.0f, 620.0f}, {0.85f, 0.25f, 1.0f}, 2.2f, 0.0f),
                  kit::DirectionalLight(kLightId + 2, "fill", kFocusId, {300.0f, -500.0f, -300.0f}, {0.2f, 0.75f, 0.8f}, 0.5f, 0.5f)};
  kit::NumberEverything(scene);
  return scene;
}

bool WriteBlobContent(const std::string& directory) {
  const std::string at = directory + "/";
  return kit::WriteCheckedScene(BlobScene(), directory, "blob.c4e") && WriteBlobTextures(directory) &&
         kit::WriteCaption(kCaption, at + "text_blob.png");
}

}  // namespace blob
