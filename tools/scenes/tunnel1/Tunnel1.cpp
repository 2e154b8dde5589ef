// pulsar-tunnel1-scene <directory>: "tunnel1.c4e", a cold technical shaft: riveted steel panels
// with light strips running along them, ribs every few metres each with a glowing ring, a
// bundle of cables along the floor, and a spline camera that banks into the turns (the show
// lets the camera's up follow its roll). A lamp travels just ahead of the camera, a red warning
// light further down. 24 s long: the show runs it for 23.5 s. Also writes the tunnel's caption.
#include <algorithm>
#include <cmath>

#include "Animation.h"
#include "Caption.h"
#include "Generator.h"
#include "Noise.h"
#include "SceneParts.h"
#include "Shapes.h"

namespace {

using kit::kPi;
using kit::Vec3;

constexpr int kLastFrame = 600;
constexpr float kRadius = 80.0f;
constexpr float kRibSpacing = 130.0f;
constexpr float kFlight = 5600.0f;  // how far the camera travels

constexpr uint64_t kFocusId = 0x7E11000000000001ull;
constexpr uint64_t kShellId = 0x7E11000000000002ull;
constexpr uint64_t kRibsId = 0x7E11000000000003ull;
constexpr uint64_t kCablesId = 0x7E11000000000004ull;
constexpr uint64_t kTargetId = 0x7E11000000000005ull;

kit::Spline Path() {
  // A closed circuit about 7 km round, with long bends, a climb and a dip.
  return kit::Spline({{0, 0, 0},
                      {0, 40, 900},
                      {350, 180, 1600},
                      {1100, 220, 1900},
                      {1700, 60, 1500},
                      {1900, -120, 700},
                      {1500, -200, -100},
                      {900, -60, -600},
                      {300, 0, -500}},
                     true);
}

float Smooth(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

// Panel relief in one texture tile: plates raised between grooves, rivets along the plate
// edges; u runs round the tunnel (a quarter of it per tile), v along it.
float PanelHeight(float u, float v) {
  const float pu = u * 3 - std::floor(u * 3), pv = v * 2 - std::floor(v * 2);
  const float edge = std::min(std::min(pu, 1 - pu) * 3, std::min(pv, 1 - pv) * 2);
  float height = Smooth(0.02f, 0.06f, edge);
  // Rivets: small domes in a row inside each plate's long edges.
  const float ru = pu * 12 - std::floor(pu * 12) - 0.5f;
  for (float row : {0.06f, 0.94f}) {
    const float d = std::hypot(ru / 12 * 3, (pv - row) / 1.0f) * 40;
    height += 0.5f * std::max(0.0f, 1 - d * d);
  }
  // The light strip's channel down the middle of the tile.
  height -= 0.6f * Smooth(0.05f, 0.03f, std::fabs(u - 0.5f));
  return height;
}

float StripCore(float u) { return Smooth(0.03f, 0.012f, std::fabs(u - 0.5f)); }

kit::Picture Panels(int size) {
  return kit::Paint(size, size, [](float u, float v) {
    const float grime = kit::TiledFbm(kit::NoiseKind::Value, u * 8, v * 8, 8, 5, 31);
    const float streak = kit::TiledFbm(kit::NoiseKind::Value, u * 64, v * 4, 64, 3, 32);
    const int plate = static_cast<int>(u * 3) + 5 * static_cast<int>(v * 2);
    const float tone = 0.85f + 0.15f * kit::Random(plate, 0, 33);
    const float relief = PanelHeight(u, v);
    float value = tone * (0.6f + 0.25f * grime + 0.15f * streak) * (0.55f + 0.45f * std::clamp(relief, 0.0f, 1.0f));
    kit::Rgba c{0.22f * value, 0.26f * value, 0.31f * value, 1.0f};
    // Frosted strip covers: pale, the luminance map makes them glow.
    const float strip = StripCore(u);
    c.r += (0.5f - c.r) * strip, c.g += (0.6f - c.g) * strip, c.b += (0.65f - c.b) * strip;
    return c;
  });
}

kit::Picture StripGlow(int size) {
  return kit::Paint(size, size, [](float u, float v) {
    // Tubes of light with dark sockets between them, and a faint halo beside.
    const float tube = Smooth(0.0f, 0.04f, std::fabs(v * 4 - std::floor(v * 4) - 0.5f) < 0.46f ? 0.04f : 0.0f);
    const float core = StripCore(u) * tube;
    const float halo = std::exp(-std::pow((u - 0.5f) / 0.06f, 2.0f)) * 0.12f;
    return kit::Rgba{0.55f * core + halo * 0.3f, 0.85f * core + halo * 0.6f, 1.0f * core + halo, 1.0f};
  });
}

// Round the rib: a bright line on the face turned to the tunnel's axis (v ≈ 0.5, the inside).
kit::Picture RingGlow(int width, int height) {
  return kit::Paint(width, height, [](float u, float v) {
    const float line = std::exp(-std::pow((v - 0.5f) / 0.05f, 2.0f));
    const float dash = 0.6f + 0.4f * Smooth(0.3f, 0.5f, std::fabs(u * 16 - std::floor(u * 16) - 0.5f) * 2);
    const float glow = line * dash;
    return kit::Rgba{0.3f * glow, 0.8f * glow, 1.0f * glow, 1.0f};
  });
}

std::vector<c4e::Material> Materials() {
  c4e::Material panels = kit::Matte("panels", {1.0f, 1.0f, 1.0f});
  kit::AddDiffuseMap(panels, "tunnel1_panels.png", true);
  panels.hasNormalMap = true;
  panels.normalMap = "tunnel1_panels_n.png";
  panels.hasLuminanceMap = true;
  panels.luminanceMap = "tunnel1_strips.png";
  kit::AddSpecular(panels, {0.8f, 0.9f, 1.0f}, 0.35f, 0.4f);

  c4e::Material ribs = kit::Matte("ribs", {0.1f, 0.11f, 0.13f});
  ribs.hasLuminanceMap = true;
  ribs.luminanceMap = "tunnel1_ring.png";
  kit::AddSpecular(ribs, {0.9f, 0.95f, 1.0f}, 1.2f, 0.25f);

  c4e::Material cable = kit::Matte("cable", {0.05f, 0.05f, 0.06f});
  kit::AddSpecular(cable, {0.6f, 0.7f, 0.8f}, 0.6f, 0.35f);
  return {panels, ribs, cable};
}

std::vector<c4e::PolyObject> PolyObjects(const kit::Spline& path) {
  std::vector<c4e::PolyObject> objects;
  objects.push_back(kit::Dummy(kFocusId, "focus", path.Point(0.5f)));

  c4e::PolyObject shell = kit::Mesh(kShellId, "shell", "panels");
  kit::SweepParams sweep;
  sweep.segments = 320;
  sweep.sides = 16;
  sweep.inward = true;
  sweep.uTiles = 4.0f;
  sweep.vTiles = std::round(path.Length() / 160.0f);
  kit::AppendTube(shell, path, sweep, [](float) { return kRadius; });
  objects.push_back(shell);

  c4e::PolyObject ribs = kit::Mesh(kRibsId, "ribs", "ribs");
  const int ribCount = static_cast<int>(path.Length() / kRibSpacing);
  const std::vector<kit::Frame> frames = path.Frames(ribCount, {0, 1, 0});
  for (const kit::Frame& frame : frames) kit::AppendRingAround(ribs, frame, kRadius - 3.0f, 5.0f, 16, 5);
  objects.push_back(ribs);

  // Three cables in a bundle low on one side, clipped to the wall.
  c4e::PolyObject cables = kit::Mesh(kCablesId, "cables", "cable");
  kit::SweepParams cableSpec;
  cableSpec.segments = 220;
  cableSpec.sides = 5;
  const float angles[3] = {3.75f, 3.86f, 3.96f}, radii[3] = {2.5f, 3.5f, 2.0f};
  for (int i = 0; i < 3; ++i) {
    const float at = kRadius - radii[i] - 1.5f;
    kit::AppendSweep(cables, path, cableSpec, [&, i](float along, float around) {
      // A slight sag between the clips on every rib.
      const float sag = 2.5f * std::fabs(std::sin(along * kPi * ribCount));
      const float a = around * 2 * kPi;
      return kit::Vec2{(at - sag) * std::cos(angles[i]) + radii[i] * std::cos(a),
                       (at - sag) * std::sin(angles[i]) + radii[i] * std::sin(a)};
    });
  }
  objects.push_back(cables);
  return objects;
}

c4e::Scene Tunnel1() {
  const kit::Spline path = Path();
  c4e::Scene scene;
  scene.name = "tunnel1";
  scene.materials = Materials();
  scene.polyObjects = PolyObjects(path);

  kit::CameraFlight flight;
  flight.name = "shaft";
  flight.cameraId = 0x7E11000000000100ull;
  flight.targetId = kTargetId;
  flight.lastFrame = kLastFrame;
  flight.keyEvery = 4;
  flight.bankPerTurn = 220.0f;
  const kit::Spline eye = kit::SubPath(path, 0.0f, kFlight, 80);
  const kit::Spline ahead = kit::SubPath(path, 240.0f, kFlight + 240.0f, 80);
  const kit::CameraRig rig = kit::CameraOnSpline(flight, eye, ahead);
  scene.polyObjects.push_back(rig.target);
  scene.cameras.push_back(rig.camera);

  // The lamp rides 150 units ahead of the camera, a little above the axis; the warning light
  // far ahead lights the walls the camera is about to reach.
  auto riding = [&](float lead, float lift) {
    return kit::SampledTrack(0, kLastFrame, 4, c4e::kLinear, [&, lead, lift](int frame) {
      kit::Pose pose;
      pose.position = path.PointAtDistance(kFlight * frame / kLastFrame + lead) + Vec3{0.0f, lift, 0.0f};
      return pose;
    });
  };
  c4e::Light lamp = kit::OmniLight(0x7E11000000000200ull, "lamp", kFocusId, {}, {0.8f, 0.92f, 1.0f}, 1.0f, 0.2f);
  lamp.track = riding(150.0f, 30.0f);
  lamp.position = lamp.track.keys[0].position;
  c4e::Light warning = kit::OmniLight(0x7E11000000000201ull, "warning", kFocusId, {}, {1.0f, 0.25f, 0.08f}, 1.3f);
  warning.track = riding(700.0f, -40.0f);
  warning.position = warning.track.keys[0].position;
  c4e::Light fill = kit::DirectionalLight(0x7E11000000000202ull, "fill", kFocusId, {0.0f, 3000.0f, -1000.0f},
                                          {0.25f, 0.35f, 0.55f}, 0.35f, 0.8f);
  scene.lights = {lamp, warning, fill};
  scene.environment.ambientColor = {0.03f, 0.05f, 0.08f};
  kit::NumberEverything(scene);
  return scene;
}

bool WriteContent(const std::string& directory) {
  const std::string at = directory + "/";
  return kit::WriteCheckedScene(Tunnel1(), directory, "tunnel1.c4e") &&
         kit::WriteTexture(Panels(512), kit::TextureKind::Colour, at + "tunnel1_panels.png") &&
         kit::WriteTexture(kit::NormalMapFromHeight(512, 0.008f, PanelHeight), kit::TextureKind::Normal,
                           at + "tunnel1_panels_n.png") &&
         kit::WriteTexture(StripGlow(256), kit::TextureKind::Luminance, at + "tunnel1_strips.png") &&
         kit::WriteTexture(RingGlow(256, 64), kit::TextureKind::Luminance, at + "tunnel1_ring.png") &&
         kit::WriteCaption("Into the Shaft", at + "text_tunnel.png");
}

}  // namespace

int main(int argc, char** argv) { return kit::GeneratorMain(argc, argv, WriteContent); }
