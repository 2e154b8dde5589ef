#include "SoftScene.h"

#include <algorithm>
#include <cmath>

#include "Caption.h"
#include "VecMath.h"
#include "Generator.h"
#include "Geodesic.h"
#include "SceneParts.h"
#include "Shapes.h"
#include "SoftTextures.h"

namespace soft {

using kit::Vec3;

namespace {

using kit::kPi;
constexpr int kSphereFrequency = 8;
constexpr int kFallFrames = 15;
constexpr float kDropSpeed = 700.0f;  // units/s downwards at release
// Where a jelly waits before its drop: under the floor, out of every view and every shadow.
constexpr float kParkedDepth = -4000.0f;

Body MakeBody(const Drop& drop, const WorldSettings& settings) {
  Body body;
  body.shape.kind = drop.kind;
  body.shape.size = drop.size;
  body.shape.rounding = drop.rounding;
  c4e::PolyObject sphere;
  kit::AppendGeodesicSphere(sphere, kSphereFrequency);
  const JellyShape shape = body.shape;
  body.rest = kit::ProjectSphere(
      sphere.vertices, [&](Vec3 p) { return -shape.Distance(p); }, 0.0f, Vec3{}, shape.Reach() * 1.5f, 96);
  body.triangles = sphere.polygons;
  body.stiffness = drop.kind == ShapeKind::Pudding ? 0.05f : 0.07f;
  // Released kFallFrames before it lands, thrown down at kDropSpeed: its lowest point then meets
  // the landing height exactly at the landing frame.
  body.releaseTime = (drop.landingFrame - kFallFrames) / 25.0;
  const float t = kFallFrames / 25.0f;
  const float fall = kDropSpeed * t + 0.5f * settings.gravity * t * t;
  body.startTurn = drop.turn;
  body.start = {drop.x, 0.0f, drop.z};
  // The lowest point of the turned rest shape, relative to the vertices' centre.
  Vec3 mean{};
  for (const Vec3& p : body.rest) mean += p;
  mean = mean * (1.0f / static_cast<float>(body.rest.size()));
  Body probe = body;
  probe.start = {};
  float lowest = 1e9f;
  for (Vec3& p : probe.rest) p -= mean;
  for (const Vec3& p : PlacedAtStart(probe)) lowest = std::fmin(lowest, p.y);
  body.start.y = drop.landingHeight + fall - lowest;
  body.velocity = {0.0f, -kDropSpeed, 0.0f};
  body.spin = drop.spin;
  return body;
}

c4e::Material Jelly(const std::string& name, Vec3 colour) {
  c4e::Material m;
  m.name = name;
  m.hasDiffuse = true;
  m.diffuseColor = colour;
  m.diffuseValue = 1.0f;
  m.hasSpecular = true;
  m.specularColor = {1.0f, 1.0f, 1.0f};
  m.specularParamA = 0.55f;
  m.specularParamB = 0.12f;
  m.hasEnvironmentMap = true;
  m.environmentMap = "soft_sky.png";
  return m;
}

c4e::TrackKey Key(int32_t frame, Vec3 position) {
  c4e::TrackKey key;
  key.frame = frame;
  key.interpolation = c4e::kLinear;
  key.position = position;
  return key;
}

// The studio: a floor that curves up into a wall all round, so no view finds an edge. The
// profile runs from the top down, so the lathe shows its inside.
c4e::PolyObject Cyclorama() {
  c4e::PolyObject mesh = kit::Mesh(kBackdropId, "", "backdrop");
  const int rows = 12;
  const float start = 1100.0f, radius = 500.0f, straight = 1400.0f;
  const float curve = radius * kPi / 2, total = curve + straight;
  std::vector<kit::Vec2> profile;
  for (int row = rows; row >= 0; --row) {
    const float along = total * row / rows;
    if (along < curve)
      profile.push_back({start + radius * std::sin(along / radius), radius - radius * std::cos(along / radius)});
    else
      profile.push_back({start + radius, radius + along - curve});
  }
  kit::AppendLathe(mesh, profile, 64, 1.0f, 1.0f);
  return mesh;
}

c4e::PolyObject Floor() {
  c4e::PolyObject mesh = kit::Mesh(kFloorId, "floor", "floor");
  kit::AppendFloor(mesh, 2300.0f, 12, 6.0f);
  return mesh;
}

}  // namespace

const std::vector<Drop>& Drops() {
  static const std::vector<Drop> drops = {
      {ShapeKind::Sphere, {55, 55, 55}, 0, {0.62f, 0.93f, 0.78f}, 24, 0.0f, -150.0f, 70.0f, {0.3f, 0, 0.2f}, {0, 0.8f, 0}},
      {ShapeKind::RoundedBox, {52, 52, 52}, 16, {1.0f, 0.74f, 0.6f}, 62, 0.0f, 150.0f, 50.0f, {0.2f, 0.5f, 0.35f}, {0.5f, 0, 0.3f}},
      {ShapeKind::Pudding, {85, 62, 85}, 20, {0.78f, 0.66f, 0.98f}, 151, 0.0f, 0.0f, -40.0f, {0, 0.3f, 0}, {0, 0.4f, 0}},
      {ShapeKind::Capsule, {85, 34, 34}, 0, {1.0f, 0.93f, 0.55f}, 215, 0.0f, -60.0f, 175.0f, {0, 0.9f, 0.15f}, {0, 1.2f, 0.6f}},
      {ShapeKind::Sphere, {42, 42, 42}, 0, {0.6f, 0.82f, 1.0f}, 300, 122.0f, 10.0f, -40.0f, {0, 0, 0}, {0.6f, 0, 0.4f}},
      {ShapeKind::RoundedBox, {44, 44, 44}, 14, {1.0f, 0.68f, 0.82f}, 370, 0.0f, 210.0f, -150.0f, {0.5f, 0.3f, 0.6f}, {0, -0.9f, 0.5f}},
      {ShapeKind::Sphere, {72, 72, 72}, 0, {1.0f, 0.62f, 0.56f}, 451, 0.0f, -200.0f, -120.0f, {0, 0, 0}, {0.3f, 0.5f, 0}},
      {ShapeKind::Pudding, {44, 32, 44}, 12, {0.56f, 0.9f, 0.9f}, 485, 0.0f, 110.0f, 170.0f, {0.1f, 0.6f, 0.0f}, {0, 0.7f, 0}},
  };
  return drops;
}

SoftWorld MakeWorld() {
  SoftWorld world;
  for (const Drop& drop : Drops()) world.AddBody(MakeBody(drop, world.settings()));
  return world;
}

Recording Simulate() {
  SoftWorld world = MakeWorld();
  Recording recording;
  recording.frames.resize(world.bodies().size());
  for (const Body& body : world.bodies()) recording.releaseFrames.push_back(static_cast<int>(std::lround(body.releaseTime * 25.0)));
  for (int frame = 0; frame <= kLastFrame; ++frame) {
    for (size_t b = 0; b < world.bodies().size(); ++b) recording.frames[b].push_back(world.bodies()[b].x);
    if (frame < kLastFrame) world.StepFrame();
  }
  return recording;
}

std::vector<int> ChooseKeyFrames(const std::vector<std::vector<Vec3>>& frames, int firstFrame) {
  const int last = static_cast<int>(frames.size()) - 1;
  std::vector<int> keys{firstFrame};
  int current = firstFrame;
  auto fits = [&](int from, int to) {
    for (int f = from + 1; f < to; ++f) {
      const float s = static_cast<float>(f - from) / (to - from);
      for (size_t v = 0; v < frames[f].size(); ++v) {
        const Vec3 blended = frames[from][v] + (frames[to][v] - frames[from][v]) * s;
        const Vec3 d = blended - frames[f][v];
        if (kit::Dot(d, d) > kKeyTolerance * kKeyTolerance) return false;
      }
    }
    return true;
  };
  while (current < last) {
    int next = current + 1;
    for (int candidate = current + 2; candidate <= std::min(last, current + kMaxKeyGap); ++candidate) {
      if (!fits(current, candidate)) break;
      next = candidate;
    }
    keys.push_back(next);
    current = next;
  }
  return keys;
}

c4e::Scene SoftScene(const Recording& recording) {
  c4e::Scene scene;
  scene.name = "soft";
  c4e::Material floor;
  floor.name = "floor";
  floor.hasDiffuse = true;
  floor.diffuseColor = {1.0f, 0.93f, 0.9f};
  floor.diffuseValue = 1.0f;
  floor.hasDiffuseMap = true;
  floor.diffuseMap = "soft_floor.png";
  floor.diffuseMapParamA = 0;
  floor.diffuseMapParamB = 1.0f;
  floor.hasNormalMap = true;
  floor.normalMap = "soft_floor_n.png";
  floor.hasSpecular = true;
  floor.specularColor = {1.0f, 0.95f, 0.95f};
  floor.specularParamA = 0.25f;
  floor.specularParamB = 0.5f;
  c4e::Material backdrop;
  backdrop.name = "backdrop";
  backdrop.hasDiffuse = true;
  backdrop.diffuseColor = {0.98f, 0.86f, 0.9f};
  backdrop.diffuseValue = 0.9f;
  backdrop.hasDiffuseMap = true;
  backdrop.diffuseMap = "soft_backdrop.png";
  backdrop.diffuseMapParamA = 1;
  backdrop.diffuseMapParamB = 1.0f;
  scene.materials = {floor, backdrop};

  c4e::PolyObject focus;
  focus.id = kFocusId;
  focus.name = "focus";
  focus.isDummy = true;
  focus.position = {0.0f, 60.0f, 0.0f};
  scene.polyObjects = {focus, Floor(), Cyclorama()};

  const std::vector<Drop>& drops = Drops();
  for (size_t b = 0; b < drops.size(); ++b) {
    const std::string name = "jelly" + std::to_string(b + 1);
    c4e::Material material = Jelly(name, drops[b].colour);
    scene.materials.push_back(material);
    c4e::PolyObject mesh = kit::Mesh(kFirstJellyId + b, name, name);
    kit::AppendGeodesicSphere(mesh, kSphereFrequency);  // for its triangles and texture coordinates
    const auto& frames = recording.frames[b];
    mesh.vertices = frames[0];
    mesh.hasMorph = true;
    if (recording.releaseFrames[b] > 0) {
      c4e::MorphKey parked;
      parked.frame = 0;
      parked.interpolation = c4e::kStep;
      for (Vec3 p : frames[0]) parked.positions.push_back({p.x, p.y + kParkedDepth, p.z});
      mesh.vertices = parked.positions;
      mesh.morphKeys.push_back(parked);
    }
    for (int frame : ChooseKeyFrames(frames, recording.releaseFrames[b])) {
      c4e::MorphKey key;
      key.frame = frame;
      key.interpolation = c4e::kLinear;
      key.positions = frames[frame];
      mesh.morphKeys.push_back(std::move(key));
    }
    scene.polyObjects.push_back(std::move(mesh));
  }

  // One camera: high and wide at the start, sinking and circling in as the lens narrows.
  c4e::Camera camera;
  camera.name = "dolly";
  camera.id = 0x50F7000000000100ull;
  camera.targetId = kFocusId;
  camera.track.hasTrack = true;
  // The lens narrows from 90 to 30 degrees over the first 300 frames while the camera backs away:
  // the pile keeps its size and the perspective flattens.
  const int keys = 40;
  for (int k = 0; k <= keys; ++k) {
    const int frame = kLastFrame * k / keys;
    const float u = static_cast<float>(frame) / kLastFrame;
    const float out = std::min(1.0f, frame / 300.0f);
    const float eased = out * out * (3 - 2 * out);
    const float angle = (-25.0f + 60.0f * u) * kPi / 180.0f;
    const float radius = 470.0f + 620.0f * eased - 120.0f * std::max(0.0f, u - 0.5f);
    const float height = 250.0f + 300.0f * eased - 110.0f * std::max(0.0f, u - 0.5f);
    camera.track.keys.push_back(Key(frame, {radius * std::sin(angle), height, -radius * std::cos(angle)}));
  }
  camera.position = camera.track.keys[0].position;
  scene.cameras = {camera};

  // Exposed for the bloom: the pastel floor stays below the bright pass, only highlights glow.
  scene.environment.ambientColor = {0.16f, 0.14f, 0.18f};
  scene.environment.environmentValue = 0.3f;
  // The key casts the soft shadows (the show's shadow planes run 160 to 3000).
  scene.lights = {kit::OmniLight(kLightId + 0, "key", kFocusId, {-520.0f, 1250.0f, -640.0f}, {1.0f, 0.96f, 0.9f}, 1.3f, 0.35f),
                  kit::DirectionalLight(kLightId + 1, "fill", kFocusId, {900.0f, 400.0f, -300.0f}, {0.7f, 0.8f, 1.0f}, 0.35f, 0.6f),
                  kit::OmniLight(kLightId + 2, "rim", kFocusId, {300.0f, 500.0f, 900.0f}, {1.0f, 0.8f, 0.85f}, 0.9f, 0.2f)};
  // The rim lights only the jellies: the floor and the backdrop leave it out.
  scene.lights[2].objectList = {kFloorId, kBackdropId};
  kit::NumberEverything(scene);
  return scene;
}

bool WriteSoftContent(const std::string& directory) {
  const std::string at = directory + "/";
  return kit::WriteCheckedScene(SoftScene(Simulate()), directory, "soft.c4e") && WriteSoftTextures(directory) &&
         kit::WriteCaption(kCaption, at + "text_softbodies.png");
}

}  // namespace soft
