// pulsar-magnet-scene <directory>: "magnet.c4e", heavy industry in teal and orange: a glossy
// horseshoe magnet with chrome pole faces hangs over a diamond-plate floor. Iron filings lie
// scattered, tremble, stand up along the field and, with six steel balls, snap onto the poles
// in frames 192–212; a dish of ferrofluid beside it grows spikes that jump on every beat. A
// hard key light casts long shadows (it stands about 1 300 units from the centre, inside the
// 500–2000 shadow range); teal fill, orange rim. 18 s long: the show's speed events reach
// frame 438. Also writes the magnet caption.
#include <cmath>

#include "Animation.h"
#include "Caption.h"
#include "Generator.h"
#include "MagnetMotion.h"
#include "MagnetPictures.h"
#include "Noise.h"
#include "SceneParts.h"
#include "Shapes.h"

namespace {

using kit::kPi;
using kit::Vec3;
using magnet::kLastFrame;

constexpr uint64_t kFocusId = 0x3A6E000000000001ull;
constexpr uint64_t kFloorId = 0x3A6E000000000002ull;
constexpr uint64_t kMagnetId = 0x3A6E000000000003ull;
constexpr uint64_t kTipsId = 0x3A6E000000000004ull;
constexpr uint64_t kFilingsId = 0x3A6E000000000005ull;
constexpr uint64_t kDishId = 0x3A6E000000000006ull;
constexpr uint64_t kFluidId = 0x3A6E000000000007ull;
constexpr uint64_t kLookId = 0x3A6E000000000008ull;
constexpr uint64_t kBallIdBase = 0x3A6E000000000100ull;
constexpr int kBalls = 6;
const Vec3 kDish{280.0f, 0.0f, -190.0f};

std::vector<c4e::Material> Materials() {
  c4e::Material plate = kit::Matte("plate", {1.0f, 1.0f, 1.0f});
  kit::AddDiffuseMap(plate, "magnet_plate.png", true);
  plate.hasNormalMap = true;
  plate.normalMap = "magnet_plate_n.png";
  kit::AddSpecular(plate, {0.8f, 0.95f, 1.0f}, 0.6f, 0.35f);

  c4e::Material paint = kit::Matte("paint", {0.9f, 0.24f, 0.04f});
  kit::AddSpecular(paint, {1.0f, 0.9f, 0.8f}, 1.4f, 0.12f);
  paint.hasReflectionMap = true;
  paint.reflectionMap = "magnet_env.dds";

  c4e::Material chrome = kit::Matte("chrome", {0.06f, 0.06f, 0.07f});
  kit::AddSpecular(chrome, {1.0f, 1.0f, 1.0f}, 2.0f, 0.06f);
  chrome.hasReflectionMap = true;
  chrome.reflectionMap = "magnet_env.dds";

  c4e::Material iron = kit::Matte("iron", {0.16f, 0.17f, 0.18f});
  kit::AddSpecular(iron, {0.7f, 0.85f, 0.9f}, 0.9f, 0.3f);

  c4e::Material ferro = kit::Matte("ferrofluid", {0.01f, 0.01f, 0.015f});
  kit::AddSpecular(ferro, {1.0f, 1.0f, 1.0f}, 2.5f, 0.04f);
  ferro.hasReflectionMap = true;
  ferro.reflectionMap = "magnet_env.dds";

  c4e::Material steel = kit::Matte("steel", {0.35f, 0.4f, 0.42f});
  kit::AddDiffuseMap(steel, "magnet_plate.png", true, 0.5f);
  kit::AddSpecular(steel, {0.9f, 0.95f, 1.0f}, 1.0f, 0.25f);
  c4e::Material wall = kit::Matte("wall", {1.0f, 1.0f, 1.0f});
  kit::AddDiffuseMap(wall, "magnet_wall.png", true);
  wall.hasLuminanceMap = true;
  wall.luminanceMap = "magnet_wall_glow.png";
  kit::AddSpecular(wall, {0.6f, 0.8f, 0.8f}, 0.3f, 0.5f);
  return {plate, paint, chrome, iron, ferro, steel, wall};
}

// The horseshoe: a rounded-square bar bent over an arc, legs down, ends at y = 112.
c4e::PolyObject Horseshoe() {
  c4e::PolyObject body = kit::Mesh(kMagnetId, "horseshoe", "paint");
  std::vector<Vec3> points{{-95.0f, 112.0f, 0.0f}, {-95.0f, 200.0f, 0.0f}};
  for (int i = 0; i <= 8; ++i) {
    const float a = kPi - kPi * i / 8;
    points.push_back({95.0f * std::cos(a), 280.0f + 95.0f * std::sin(a), 0.0f});
  }
  points.push_back({95.0f, 200.0f, 0.0f});
  points.push_back({95.0f, 112.0f, 0.0f});
  kit::SweepParams sweep;
  sweep.segments = 64;
  sweep.sides = 24;
  sweep.up = {0.0f, 0.0f, 1.0f};
  kit::AppendSweep(body, kit::Spline(points, false), sweep, [](float, float around) {
    // A square with rounded corners: a superellipse.
    const float a = around * 2 * kPi, c = std::cos(a), s = std::sin(a);
    return kit::Vec2{31.0f * std::copysign(std::pow(std::fabs(c), 0.35f), c),
                     31.0f * std::copysign(std::pow(std::fabs(s), 0.35f), s)};
  });
  // It hangs still, then jolts down a little when the filings and balls strike.
  body.track = kit::SampledTrack(0, kLastFrame, 3, c4e::kLinear, [](int frame) {
    kit::Pose pose;
    const float jolt = frame > magnet::kSnapHit ? 6.0f * std::exp(-(frame - magnet::kSnapHit) / 6.0f) *
                                                      std::cos((frame - magnet::kSnapHit) * 0.9f)
                                                : 0.0f;
    pose.position = {0.0f, 2.0f * std::sin(frame * 2 * kPi / 110.0f) - jolt, 0.0f};
    return pose;
  });
  return body;
}

c4e::PolyObject Tips() {
  c4e::PolyObject tips = kit::Mesh(kTipsId, "poles", "chrome");
  tips.parentId = kMagnetId;  // they ride with the body
  for (const Vec3& tip : magnet::kPoleTips) {
    c4e::PolyObject box;
    kit::AppendBox(box, 70.0f, 22.0f, 70.0f, 1.0f / 70.0f);
    const int32_t base = static_cast<int32_t>(tips.vertices.size());
    for (const Vec3& p : box.vertices) tips.vertices.push_back(p + tip + Vec3{0.0f, 11.0f, 0.0f});
    for (auto t : box.polygons) tips.polygons.push_back({t[0] + base, t[1] + base, t[2] + base});
    tips.uvs.insert(tips.uvs.end(), box.uvs.begin(), box.uvs.end());
  }
  tips.smoothNormals = false;
  return tips;
}

c4e::PolyObject Ball(int i) {
  const float angle = -2.3f + 0.9f * i + 0.3f * kit::Random(i, 1, 401);
  const Vec3 start{300.0f * std::cos(angle), 18.0f, 240.0f * std::sin(angle)};
  const Vec3& pole = magnet::kPoleTips[start.x < 0 ? 0 : 1];
  const float around = kit::Random(i, 2, 401) * 2 * kPi;
  const Vec3 cling = pole + Vec3{30.0f * std::cos(around), -22.0f, 30.0f * std::sin(around)};
  const Vec3 near = kit::Lerp(start, Vec3{pole.x, 18.0f, 0.0f}, 0.45f);
  c4e::PolyObject ball = kit::Mesh(kBallIdBase + static_cast<uint64_t>(i), "ball" + std::to_string(i + 1), "chrome", start);
  kit::AppendSphere(ball, 18.0f, 24, 12);
  ball.track.hasTrack = true;
  auto add = [&](int frame, Vec3 at, int32_t interpolation) { ball.track.keys.push_back(kit::Key(frame, at, {}, interpolation)); };
  // Creep towards the magnet, faster as the field grows, then the leap.
  add(0, start, c4e::kHermite);
  add(150, kit::Lerp(start, near, 0.3f), c4e::kLinear);
  for (int frame = 160; frame <= magnet::kSnapHit + 2; frame += 4) {
    const float creep = magnet::Ease((frame - 150.0f) / 45.0f);
    const Vec3 floor = kit::Lerp(kit::Lerp(start, near, 0.3f), near, creep);
    const float t = std::clamp((frame - magnet::kSnapStart - i) / static_cast<float>(magnet::kSnapHit - magnet::kSnapStart), 0.0f, 1.0f);
    const float leap = t * t;
    add(frame, kit::Lerp(floor, cling, leap) + Vec3{0.0f, 40.0f * std::sin(leap * kPi), 0.0f}, c4e::kLinear);
  }
  add(magnet::kSnapHit + 6, cling + Vec3{0.0f, 3.0f, 0.0f}, c4e::kHermite);
  add(magnet::kSnapHit + 12, cling, c4e::kHermite);
  add(kLastFrame, cling, c4e::kHermite);
  ball.parentId = 0;
  return ball;
}

// Frames for the filings' morph: sparse while they lie still, every two frames through the snap.
std::vector<int> FilingFrames() {
  std::vector<int> frames;
  for (int f = 0; f < 150; f += 25) frames.push_back(f);
  for (int f = 150; f < 186; f += 6) frames.push_back(f);
  for (int f = 186; f < 232; f += 2) frames.push_back(f);
  for (int f = 232; f < kLastFrame; f += 9) frames.push_back(f);
  frames.push_back(kLastFrame);
  return frames;
}

std::vector<c4e::PolyObject> PolyObjects() {
  std::vector<c4e::PolyObject> objects;
  objects.push_back(kit::Dummy(kFocusId, "focus", {0.0f, 60.0f, 0.0f}));
  // The show opens on a 10 degree lens that widens to 60 by frame 95: start on the left pole
  // face and the filings under it, then settle on the whole magnet.
  c4e::PolyObject look = kit::Dummy(kLookId, "look", {-90.0f, 70.0f, 0.0f});
  look.track.hasTrack = true;
  look.track.keys = {kit::Key(0, {-90.0f, 70.0f, 0.0f}), kit::Key(95, {10.0f, 120.0f, 0.0f}),
                     kit::Key(kLastFrame, {10.0f, 120.0f, 0.0f})};
  objects.push_back(look);

  c4e::PolyObject floor = kit::Mesh(kFloorId, "floor", "plate");
  kit::AppendFloor(floor, 3200.0f, 24, 20.0f);
  objects.push_back(floor);
  // The hall's back wall, behind the magnet from every camera angle; no name: it casts no shadow.
  c4e::PolyObject wall = kit::Mesh(0x3A6E000000000009ull, "", "wall");
  kit::AppendGrid(wall, {-2600.0f, 1400.0f, 800.0f}, {5200.0f, 0, 0}, {0, -1400.0f, 0}, 12, 4, 5.0f, 1.3f, false);
  objects.push_back(wall);
  objects.push_back(Horseshoe());
  objects.push_back(Tips());
  for (int i = 0; i < kBalls; ++i) objects.push_back(Ball(i));

  const magnet::Filings filings(1300, 60.0f, 330.0f);
  c4e::PolyObject iron = kit::Mesh(kFilingsId, "filings", "iron");
  iron.vertices = filings.Positions(0);
  for (auto t : filings.Triangles()) {
    iron.polygons.push_back({t[0], t[1], t[2]});
    iron.uvs.push_back({0, 0, 1, 0, 0.5f, 1});
  }
  iron.smoothNormals = false;
  iron.hasMorph = true;
  iron.morphKeys = kit::MorphFromFunction(iron.vertices, FilingFrames(), c4e::kLinear,
                                          [&filings](int frame, const std::vector<Vec3>&, std::vector<Vec3>& out) {
                                            out = filings.Positions(frame);
                                          });
  objects.push_back(iron);

  c4e::PolyObject dish = kit::Mesh(kDishId, "dish", "steel", kDish);
  kit::AppendLathe(dish, {{126, 0}, {128, 16}, {122, 22}, {114, 18}, {108, 4}, {0, 4}}, 40, 4.0f, 1.0f);
  objects.push_back(dish);

  c4e::PolyObject fluid = kit::Mesh(kFluidId, "ferrofluid", "ferrofluid", kDish + Vec3{0.0f, 4.0f, 0.0f});
  const float half = magnet::kDishRadius + 4.0f;
  kit::AppendGrid(fluid, {-half, 0.0f, half}, {2 * half, 0, 0}, {0, 0, -2 * half}, 46, 46, 1.0f, 1.0f, false);
  fluid.hasMorph = true;
  fluid.morphKeys = kit::MorphFromFunction(fluid.vertices, kit::KeyFrames(kLastFrame, 4), c4e::kLinear,
                                           [](int frame, const std::vector<Vec3>& rest, std::vector<Vec3>& out) {
                                             for (size_t i = 0; i < rest.size(); ++i)
                                               out[i] = {rest[i].x, magnet::FerrofluidHeight(rest[i].x, rest[i].z, frame), rest[i].z};
                                           });
  objects.push_back(fluid);
  return objects;
}

c4e::Scene Magnet() {
  c4e::Scene scene;
  scene.name = "magnet";
  scene.materials = Materials();
  scene.polyObjects = PolyObjects();

  // A slow arc round the magnet at a low, heroic height.
  c4e::Camera camera;
  camera.name = "arc";
  camera.id = 0x3A6E000000000080ull;
  camera.targetId = kLookId;
  camera.track = kit::SampledTrack(0, kLastFrame, 6, c4e::kLinear, [](int frame) {
    kit::Pose pose;
    const float a = -1.95f + 0.85f * magnet::Ease(frame / static_cast<float>(kLastFrame));
    pose.position = {720.0f * std::cos(a), 170.0f + 60.0f * frame / kLastFrame, 720.0f * std::sin(a)};
    return pose;
  });
  camera.position = camera.track.keys[0].position;
  scene.cameras.push_back(camera);

  // The key is the first light: it casts the shadows.
  scene.lights = {
      kit::OmniLight(0x3A6E000000000200ull, "key", kFocusId, {-620.0f, 1000.0f, -560.0f}, {1.0f, 0.92f, 0.8f}, 2.6f, 0.05f),
      kit::OmniLight(0x3A6E000000000201ull, "fill", kFocusId, {800.0f, 300.0f, -500.0f}, {0.1f, 0.65f, 0.75f}, 1.3f, 0.5f),
      kit::OmniLight(0x3A6E000000000202ull, "rim", kFocusId, {300.0f, 450.0f, 900.0f}, {1.0f, 0.45f, 0.1f}, 2.4f),
  };
  scene.environment.ambientColor = {0.03f, 0.06f, 0.07f};
  scene.environment.environmentValue = 0.8f;
  kit::NumberEverything(scene);
  return scene;
}

bool WriteContent(const std::string& directory) {
  const std::string at = directory + "/";
  return kit::WriteCheckedScene(Magnet(), directory, "magnet.c4e") &&
         kit::WriteTexture(magnet::PlatePicture(512), kit::TextureKind::Colour, at + "magnet_plate.png") &&
         kit::WriteTexture(kit::NormalMapFromHeight(512, 0.01f, magnet::PlateHeight), kit::TextureKind::Normal,
                           at + "magnet_plate_n.png") &&
         kit::WriteTexture(magnet::WallPicture(512), kit::TextureKind::Colour, at + "magnet_wall.png") &&
         kit::WriteTexture(magnet::WallGlow(512), kit::TextureKind::Luminance, at + "magnet_wall_glow.png") &&
         kit::WriteBytes(kit::CubeDds(128, magnet::WorkshopLight), at + "magnet_env.dds") &&
         kit::WriteCaption("Magnetic Field", at + "text_magnet.png");
}

}  // namespace

int main(int argc, char** argv) { return kit::GeneratorMain(argc, argv, WriteContent); }
