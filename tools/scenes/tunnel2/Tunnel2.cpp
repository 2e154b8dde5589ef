// pulsar-tunnel2-scene <directory>: "tunnel2.c4e", the warm half of the tunnel cross-fade: an
// organic tube of magenta and violet tissue with glowing veins, lined with clusters of crystals
// that swell and glow on every beat (690 ms). A magenta lamp rides ahead of the camera, an
// amber light further down. 24 s long: the show runs it for 23.5 s.
#include <algorithm>
#include <cmath>

#include "Animation.h"
#include "Generator.h"
#include "Noise.h"
#include "Picture.h"
#include "SceneParts.h"
#include "Shapes.h"

namespace {

using kit::kPi;
using kit::Vec3;

constexpr int kLastFrame = 600;
constexpr float kFlight = 4800.0f;
constexpr float kBeatFrames = 17.25f;  // 690 ms
constexpr int kCrystals = 72;

constexpr uint64_t kFocusId = 0x7E12000000000001ull;
constexpr uint64_t kWallId = 0x7E12000000000002ull;
constexpr uint64_t kTargetId = 0x7E12000000000003ull;
constexpr uint64_t kCrystalIdBase = 0x7E12000000000100ull;

kit::Spline Path() {
  return kit::Spline({{0, 0, 0},
                      {-200, 150, 800},
                      {100, 300, 1500},
                      {800, 200, 1800},
                      {1300, -100, 1300},
                      {1200, -250, 500},
                      {700, -150, -200},
                      {250, -60, -450}},
                     true);
}

// The tube's radius: slow swellings along it and lumpy tissue round it.
float WallRadius(float along, float angle) {
  const float swell = 95.0f + 22.0f * std::sin(along * 2 * kPi * 26) + 10.0f * std::sin(along * 2 * kPi * 61 + 1.0f);
  const float lumps = kit::Fbm(kit::NoiseKind::Gradient, std::cos(angle) * 1.5f, std::sin(angle) * 1.5f, along * 90.0f, 3, 61);
  return swell * (1.0f + 0.16f * lumps);
}

float Smooth(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

// Veins: the ridges of tiled gradient noise, where it crosses zero.
float Veins(float u, float v) {
  const float n = kit::TiledFbm(kit::NoiseKind::Gradient, u * 4, v * 4, 4, 4, 62);
  return Smooth(0.06f, 0.0f, std::fabs(n));
}

float TissueHeight(float u, float v) {
  return 0.6f * kit::TiledFbm(kit::NoiseKind::Gradient, u * 8, v * 8, 8, 4, 63) + 0.5f * Veins(u, v);
}

kit::Picture Tissue(int size) {
  return kit::Paint(size, size, [](float u, float v) {
    const float mottled = kit::TiledFbm(kit::NoiseKind::Value, u * 6, v * 6, 6, 5, 64);
    const float vein = Veins(u, v);
    kit::Rgba c{0.18f + 0.14f * mottled, 0.03f + 0.03f * mottled, 0.2f + 0.12f * (1 - mottled), 1.0f};
    c.r += (0.6f - c.r) * vein * 0.5f, c.g += (0.15f - c.g) * vein * 0.5f, c.b += (0.55f - c.b) * vein * 0.5f;
    return c;
  });
}

kit::Picture VeinGlow(int size) {
  return kit::Paint(size, size, [](float u, float v) {
    const float vein = Veins(u, v);
    const float pulse = 0.6f + 0.4f * kit::TiledValueNoise(u * 3, v * 3, 3, 65);
    return kit::Rgba{0.45f * vein * pulse, 0.05f * vein * pulse, 0.35f * vein * pulse, 1.0f};
  });
}

kit::Picture CrystalGlow(int size) {
  return kit::Paint(size, size, [](float u, float v) {
    // Brighter towards the tip (v = 0 at the base ring, 1 at the tip) with facet streaks.
    const float streak = 0.7f + 0.3f * std::sin(u * 2 * kPi * 6);
    const float glow = (0.25f + 0.75f * v * v) * streak;
    return kit::Rgba{std::min(0.9f * glow, 1.0f), std::min(0.45f * glow, 1.0f), std::min(1.4f * glow, 1.0f), 1.0f};
  });
}

std::vector<c4e::Material> Materials() {
  c4e::Material tissue = kit::Matte("tissue", {1.0f, 1.0f, 1.0f});
  kit::AddDiffuseMap(tissue, "tunnel2_tissue.png", true);
  tissue.hasNormalMap = true;
  tissue.normalMap = "tunnel2_tissue_n.png";
  tissue.hasLuminanceMap = true;
  tissue.luminanceMap = "tunnel2_veins.png";
  kit::AddSpecular(tissue, {1.0f, 0.7f, 0.9f}, 0.5f, 0.3f);

  c4e::Material crystal = kit::Matte("crystal", {0.3f, 0.15f, 0.55f});
  crystal.hasLuminanceMap = true;
  crystal.luminanceMap = "tunnel2_crystal.png";
  kit::AddSpecular(crystal, {1.0f, 0.9f, 1.0f}, 2.0f, 0.08f);
  return {tissue, crystal};
}

// A six-sided crystal along +y: a short prism with a pointed tip; v runs from base to tip.
c4e::PolyObject Crystal(uint64_t id, int index, Vec3 base, Vec3 inward, float length) {
  c4e::PolyObject crystal = kit::Mesh(id, "crystal" + std::to_string(index + 1), "crystal", base);
  const float width = length * (0.18f + 0.08f * kit::Random(index, 7, 66));
  kit::AppendLathe(crystal, {{0.0f, -10.0f}, {width, -10.0f}, {width, length * 0.6f}, {0.0f, length}}, 6, 1.0f, 1.0f);
  crystal.smoothNormals = false;
  crystal.rotation = kit::RotationForUp(inward);
  // Swell on every beat, then settle: the glow breathes with the music.
  crystal.track.hasTrack = true;
  const float phase = kit::Random(index, 8, 66) * 3.0f;
  for (int beat = 0;; ++beat) {
    const int peak = static_cast<int>(std::lround(beat * kBeatFrames + phase));
    if (peak + 8 > kLastFrame) break;
    c4e::TrackKey swell = kit::Key(peak, base, crystal.rotation, c4e::kLinear);
    swell.scale = {1.25f, 1.45f, 1.25f};
    c4e::TrackKey rest = kit::Key(peak + 8, base, crystal.rotation, c4e::kHermite);
    if (beat == 0 && peak > 0) crystal.track.keys.push_back(kit::Key(0, base, crystal.rotation, c4e::kLinear));
    crystal.track.keys.push_back(swell);
    crystal.track.keys.push_back(rest);
  }
  crystal.track.keys.push_back(kit::Key(kLastFrame, base, crystal.rotation, c4e::kLinear));
  return crystal;
}

std::vector<c4e::PolyObject> PolyObjects(const kit::Spline& path) {
  std::vector<c4e::PolyObject> objects;
  objects.push_back(kit::Dummy(kFocusId, "focus", path.Point(0.5f)));

  c4e::PolyObject wall = kit::Mesh(kWallId, "wall", "tissue");
  kit::SweepParams sweep;
  sweep.segments = 300;
  sweep.sides = 20;
  sweep.inward = true;
  sweep.uTiles = 3.0f;
  sweep.vTiles = std::round(path.Length() / 300.0f);
  kit::AppendSweep(wall, path, sweep, [](float along, float around) {
    const float angle = around * 2 * kPi, r = WallRadius(along, angle);
    return kit::Vec2{r * std::cos(angle), r * std::sin(angle)};
  });
  objects.push_back(wall);

  // Crystal clusters along the camera's stretch of the tube, rooted in the wall, pointing in.
  const std::vector<kit::Frame> frames = path.Frames(300, {0, 1, 0});
  for (int i = 0; i < kCrystals; ++i) {
    const float along = (120.0f + (kFlight + 400.0f) * i / kCrystals) / path.Length();
    const kit::Frame& frame = frames[static_cast<size_t>(along * frames.size()) % frames.size()];
    const float angle = kit::Random(i, 9, 66) * 2 * kPi;
    const Vec3 out = frame.normal * std::cos(angle) + frame.binormal * std::sin(angle);
    const float r = WallRadius(along, angle) * 0.97f;
    const Vec3 tilt = kit::Normalize(-out + frame.tangent * (kit::Random(i, 10, 66) - 0.5f) * 0.5f);
    objects.push_back(Crystal(kCrystalIdBase + static_cast<uint64_t>(i), i, frame.origin + out * r, tilt,
                              18.0f + 20.0f * kit::Random(i, 11, 66)));
  }
  return objects;
}

c4e::Scene Tunnel2() {
  const kit::Spline path = Path();
  c4e::Scene scene;
  scene.name = "tunnel2";
  scene.materials = Materials();
  scene.polyObjects = PolyObjects(path);

  kit::CameraFlight flight;
  flight.name = "vein";
  flight.cameraId = 0x7E12000000000080ull;
  flight.targetId = kTargetId;
  flight.lastFrame = kLastFrame;
  flight.keyEvery = 4;
  flight.bankPerTurn = 260.0f;
  const kit::CameraRig rig =
      kit::CameraOnSpline(flight, kit::SubPath(path, 0.0f, kFlight, 80), kit::SubPath(path, 220.0f, kFlight + 220.0f, 80));
  scene.polyObjects.push_back(rig.target);
  scene.cameras.push_back(rig.camera);

  auto riding = [&](float lead) {
    return kit::SampledTrack(0, kLastFrame, 4, c4e::kLinear, [&, lead](int frame) {
      kit::Pose pose;
      pose.position = path.PointAtDistance(kFlight * frame / kLastFrame + lead);
      return pose;
    });
  };
  c4e::Light lamp = kit::OmniLight(0x7E12000000000200ull, "lamp", kFocusId, {}, {1.0f, 0.45f, 0.85f}, 1.0f, 0.3f);
  lamp.track = riding(130.0f);
  lamp.position = lamp.track.keys[0].position;
  c4e::Light amber = kit::OmniLight(0x7E12000000000201ull, "amber", kFocusId, {}, {1.0f, 0.55f, 0.2f}, 1.5f);
  amber.track = riding(650.0f);
  amber.position = amber.track.keys[0].position;
  c4e::Light fill = kit::DirectionalLight(0x7E12000000000202ull, "fill", kFocusId, {0.0f, -3000.0f, 1000.0f},
                                          {0.4f, 0.2f, 0.7f}, 0.4f, 0.8f);
  scene.lights = {lamp, amber, fill};
  scene.environment.ambientColor = {0.06f, 0.02f, 0.07f};
  kit::NumberEverything(scene);
  return scene;
}

bool WriteContent(const std::string& directory) {
  const std::string at = directory + "/";
  return kit::WriteCheckedScene(Tunnel2(), directory, "tunnel2.c4e") &&
         kit::WriteTexture(Tissue(512), kit::TextureKind::Colour, at + "tunnel2_tissue.png") &&
         kit::WriteTexture(kit::NormalMapFromHeight(512, 0.01f, TissueHeight), kit::TextureKind::Normal,
                           at + "tunnel2_tissue_n.png") &&
         kit::WriteTexture(VeinGlow(512), kit::TextureKind::Luminance, at + "tunnel2_veins.png") &&
         kit::WriteTexture(CrystalGlow(64), kit::TextureKind::Luminance, at + "tunnel2_crystal.png");
}

}  // namespace

int main(int argc, char** argv) { return kit::GeneratorMain(argc, argv, WriteContent); }
