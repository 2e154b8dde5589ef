#include "LabScene.h"

#include <cmath>

#include "Animation.h"
#include "LabTextures.h"
#include "SceneParts.h"
#include "Shapes.h"

namespace lab {

namespace {

using kit::AppendBox;
using kit::AppendCylinder;
using kit::AppendFloor;
using kit::AppendSphere;
using kit::AppendSurface;
using kit::AppendTorus;
using kit::AddSpecular;
using kit::Key;
using kit::Matte;
using kit::Mesh;
using kit::kPi;
using kit::SurfaceGrid;

std::vector<c4e::Material> Materials() {
  std::vector<c4e::Material> materials;
  int32_t number = 0;
  auto add = [&](c4e::Material material) {
    material.number = number++;
    materials.push_back(material);
  };

  c4e::Material tiles = Matte("tiles", {0.85f, 0.85f, 0.88f});
  tiles.hasDiffuseMap = true;
  tiles.diffuseMap = "lab_tiles.png";
  tiles.diffuseMapParamA = 0;  // tinted by the diffuse colour
  tiles.diffuseMapParamB = 1.0f;
  tiles.hasNormalMap = true;
  tiles.normalMap = "lab_tiles_n.png";
  AddSpecular(tiles, {0.9f, 0.9f, 1.0f}, 0.35f, 0.6f);
  add(tiles);

  c4e::Material brushed = Matte("brushed", {0.75f, 0.75f, 0.78f});
  brushed.hasDiffuseMap = true;
  brushed.diffuseMap = "lab_brushed.png";
  brushed.diffuseMapParamA = 1;  // the metal's own colour
  brushed.diffuseMapParamB = 1.0f;
  AddSpecular(brushed, {1.0f, 0.95f, 0.9f}, 0.8f, 0.55f);
  add(brushed);

  c4e::Material chrome = Matte("chrome", {0.08f, 0.08f, 0.09f});
  AddSpecular(chrome, {1.0f, 1.0f, 1.0f}, 1.5f, 0.1f);
  chrome.hasReflectionMap = true;
  chrome.reflectionMap = "lab_studio.dds";
  add(chrome);

  c4e::Material glass = Matte("glass", {0.55f, 0.8f, 0.9f});
  AddSpecular(glass, {1.0f, 1.0f, 1.0f}, 1.2f, 0.05f);
  glass.transparent = true;
  glass.transparency = 0.7f;
  glass.hasReflectionMap = true;
  glass.reflectionMap = "lab_studio.dds";
  add(glass);

  c4e::Material neon = Matte("neon", {0.2f, 0.05f, 0.2f});
  neon.hasLuminanceMap = true;
  neon.luminanceMap = "lab_neon.png";
  add(neon);

  c4e::Material pearl = Matte("pearl", {0.9f, 0.78f, 0.74f});
  AddSpecular(pearl, {1.0f, 0.9f, 0.85f}, 0.6f, 0.35f);
  pearl.hasEnvironmentMap = true;
  pearl.environmentMap = "lab_panorama.png";
  add(pearl);

  c4e::Material paint = Matte("paint", {0.95f, 0.38f, 0.08f});
  AddSpecular(paint, {1.0f, 1.0f, 1.0f}, 0.7f, 0.2f);
  add(paint);

  add(Matte("backdrop", {0.32f, 0.33f, 0.36f}));
  return materials;
}

// The blob breathes: every vertex of a sphere pushed out along lumps that travel over it.
c4e::PolyObject Blob() {
  c4e::PolyObject blob = Mesh(kBlobId, "blob", "pearl", {170.0f, 52.0f, -110.0f});
  AppendSphere(blob, 45.0f, 40, 20);
  blob.hasMorph = true;
  const int keys = 6;
  for (int k = 0; k <= keys; ++k) {
    c4e::MorphKey key;
    key.frame = kLastFrame * k / keys;
    key.interpolation = c4e::kHermite;
    const float phase = 2 * kPi * (k % keys) / keys;  // the last key repeats the first: a seamless loop
    for (const c4e::Vec3& p : blob.vertices) {
      const float r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
      const float nx = p.x / r, ny = p.y / r, nz = p.z / r;
      const float lumps = std::sin(3 * nx + phase) * std::sin(3 * ny + 2 * phase) * std::sin(3 * nz - phase);
      const float scale = 1.0f + 0.22f * lumps + 0.06f * std::sin(phase);
      key.positions.push_back({p.x * scale, p.y * scale, p.z * scale});
    }
    blob.morphKeys.push_back(key);
  }
  return blob;
}

// A cyclorama all round: the tiled stage's floor curves up into a wall, so no camera sees an edge.
c4e::PolyObject Backdrop() {
  c4e::PolyObject backdrop = Mesh(kBackdropId, "backdrop", "backdrop", {0.0f, 0.0f, 0.0f});
  SurfaceGrid grid;
  grid.columns = 72;
  grid.rows = 14;
  grid.closedU = true;
  grid.uTiles = 8.0f;
  // Profile: flat from r = 380, a quarter circle of radius 280 up into a wall, then straight up.
  const float start = 380.0f, radius = 280.0f, straight = 520.0f;
  const float curve = radius * kPi / 2, total = curve + straight;
  AppendSurface(backdrop, grid, [&](float u, float v) {
    const float along = v * total;
    float r, y;
    if (along < curve) {
      const float angle = along / radius;  // 0 where it leaves the floor
      r = start + radius * std::sin(angle);
      y = radius - radius * std::cos(angle);
    } else {
      r = start + radius;
      y = radius + (along - curve);
    }
    const float theta = u * 2 * kPi;
    return c4e::Vec3{r * std::cos(theta), y - 0.5f, r * std::sin(theta)};
  });
  return backdrop;
}

std::vector<c4e::PolyObject> PolyObjects() {
  std::vector<c4e::PolyObject> objects;

  // The dummies lead the file: the loader's opaque-before-transparent sort cannot move a mesh
  // past a dummy, so the transparent glass after them still ends up last.
  c4e::PolyObject focus;
  focus.id = kFocusId;
  focus.name = "focus";
  focus.isDummy = true;
  focus.position = {0.0f, 70.0f, 0.0f};
  objects.push_back(focus);

  c4e::PolyObject rig;
  rig.id = kRigId;
  rig.name = "rig";
  rig.isDummy = true;
  rig.position = {0.0f, 230.0f, 0.0f};
  rig.track.hasTrack = true;
  rig.track.keys = {Key(0, {0.0f, 230.0f, 0.0f}, {0.0f, 0.0f, 0.15f}, c4e::kLinear),
                    Key(kLastFrame, {0.0f, 230.0f, 0.0f}, {2 * kPi, 0.0f, 0.15f}, c4e::kLinear)};
  objects.push_back(rig);

  // The glass column is the first mesh of the file: drawing still puts it after every opaque mesh.
  c4e::PolyObject glass = Mesh(kGlassId, "glass", "glass", {-175.0f, 0.0f, 70.0f});
  AppendCylinder(glass, 42.0f, 150.0f, 48);
  objects.push_back(glass);

  c4e::PolyObject floor = Mesh(kFloorId, "floor", "tiles", {0.0f, 0.0f, 0.0f});
  floor.uvScale[0] = floor.uvScale[1] = 1.0f;
  AppendFloor(floor, 800.0f, 16, 8.0f);
  objects.push_back(floor);

  objects.push_back(Backdrop());

  c4e::PolyObject pedestal = Mesh(kPedestalId, "pedestal", "brushed", {0.0f, 45.0f, 0.0f});
  AppendBox(pedestal, 90.0f, 90.0f, 90.0f, 1.0f / 90.0f);
  pedestal.track.hasTrack = true;
  pedestal.track.keys = {Key(0, {0.0f, 45.0f, 0.0f}, {0, 0, 0}, c4e::kLinear),
                         Key(kLastFrame, {0.0f, 45.0f, 0.0f}, {kPi / 2, 0, 0}, c4e::kLinear)};
  objects.push_back(pedestal);

  // A child of the pedestal: it turns with it and rides on its top.
  c4e::PolyObject chrome = Mesh(kChromeId, "chrome", "chrome", {0.0f, 95.0f, 0.0f});
  chrome.parentId = kPedestalId;
  AppendSphere(chrome, 50.0f, 48, 24);
  objects.push_back(chrome);

  // Lights itself; an empty name keeps it out of the shadow pass.
  c4e::PolyObject neon = Mesh(kNeonId, "", "neon", {150.0f, 118.0f, 150.0f});
  neon.rotation = {0.6f, kPi / 2, 0.0f};
  AppendTorus(neon, 80.0f, 7.0f, 64, 12);
  objects.push_back(neon);

  objects.push_back(Blob());

  for (int i = 0; i < 3; ++i) {
    const float angle = 2 * kPi * i / 3;
    c4e::PolyObject satellite =
        Mesh(kSatelliteIds[i], "satellite" + std::to_string(i + 1), "paint",
             {150.0f * std::cos(angle), 0.0f, 150.0f * std::sin(angle)});
    satellite.parentId = kRigId;
    satellite.rotation = {angle, 0.5f, 0.3f};
    AppendBox(satellite, 34.0f, 34.0f, 34.0f, 1.0f / 34.0f);
    satellite.smoothNormals = false;
    objects.push_back(satellite);
  }
  int32_t number = 0;
  for (c4e::PolyObject& object : objects) object.number = number++;
  return objects;
}

std::vector<c4e::Camera> Cameras() {
  c4e::Camera orbit;
  orbit.number = 0;
  orbit.name = "orbit";
  orbit.id = 0x1AB0000000000100ull;
  orbit.targetId = kFocusId;
  orbit.track.hasTrack = true;
  for (int k = 0; k <= 4; ++k) {
    const float angle = -kPi / 2 - 0.9f + 1.8f * k / 4;  // a sweep in front of the backdrop
    const float radius = 560.0f - 60.0f * std::sin(kPi * k / 4);
    orbit.track.keys.push_back(Key(kLastFrame * k / 4,
                                   {radius * std::cos(angle), 260.0f - 70.0f * k / 4, radius * std::sin(angle)}, {},
                                   c4e::kLinear));
  }
  orbit.position = orbit.track.keys[0].position;

  c4e::Camera low;
  low.number = 1;
  low.name = "low";
  low.id = 0x1AB0000000000101ull;
  low.targetId = kFocusId;
  low.track.hasTrack = true;
  low.track.keys = {Key(0, {-330.0f, 45.0f, -330.0f}), Key(kLastFrame / 2, {-120.0f, 70.0f, -400.0f}),
                    Key(kLastFrame, {140.0f, 55.0f, -380.0f})};
  low.position = low.track.keys[0].position;
  return {orbit, low};
}

std::vector<c4e::Light> Lights() {
  c4e::Light key;
  key.number = 0;
  key.name = "key";
  key.id = 0x1AB0000000000200ull;
  key.targetId = kFocusId;
  key.type = 0;  // omni
  key.color = {1.0f, 0.93f, 0.82f};
  key.multiplier = 2.3f;
  key.shaderParamA = 0.1f;  // a little wrap
  key.position = {-430.0f, 880.0f, -420.0f};

  c4e::Light rim;
  rim.number = 1;
  rim.name = "rim";
  rim.id = 0x1AB0000000000201ull;
  rim.targetId = kFocusId;
  rim.objectList = {kFloorId, kBackdropId};  // the spot only catches the objects' edges
  rim.type = 2;                              // spot
  rim.color = {0.25f, 0.75f, 1.0f};
  rim.multiplier = 2.4f;
  rim.shaderParamB = 3.0f;  // 30 degree cone
  rim.position = {420.0f, 260.0f, 360.0f};
  rim.track.hasTrack = true;
  rim.track.keys = {Key(0, {420.0f, 260.0f, 360.0f}), Key(kLastFrame / 2, {300.0f, 320.0f, 460.0f}),
                    Key(kLastFrame, {420.0f, 260.0f, 360.0f})};

  c4e::Light fill;
  fill.number = 2;
  fill.name = "fill";
  fill.id = 0x1AB0000000000202ull;
  fill.targetId = kFocusId;
  fill.type = 1;  // directional
  fill.color = {0.45f, 0.5f, 0.7f};
  fill.multiplier = 0.45f;
  fill.shaderParamA = 0.6f;  // soft, wraps around
  fill.position = {500.0f, 300.0f, -500.0f};
  return {key, rim, fill};
}

}  // namespace

c4e::Scene LabScene() {
  c4e::Scene scene;
  scene.name = "lab";
  scene.materials = Materials();
  scene.polyObjects = PolyObjects();
  scene.cameras = Cameras();
  scene.environment.ambientColor = {0.07f, 0.07f, 0.09f};
  scene.environment.environmentValue = 0.9f;
  scene.lights = Lights();
  scene.objectCount = static_cast<int32_t>(scene.polyObjects.size() + scene.cameras.size() + scene.lights.size());
  return scene;
}

bool WriteLabContent(const std::string& directory) {
  const std::string at = directory + "/";
  return c4e::WriteSceneFile(LabScene(), at + "lab.c4e") && kit::WritePng(TilesDiffuse(256), at + "lab_tiles.png") &&
         kit::WritePng(TilesNormal(256), at + "lab_tiles_n.png") && kit::WritePng(BrushedMetal(256), at + "lab_brushed.png") &&
         kit::WritePng(NeonGlow(256, 64), at + "lab_neon.png") && kit::WritePng(StudioPanorama(512, 256), at + "lab_panorama.png") &&
         kit::WriteBytes(StudioCubeDds(128), at + "lab_studio.dds");
}

}  // namespace lab
