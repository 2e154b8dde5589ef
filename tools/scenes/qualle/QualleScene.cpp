#include "QualleScene.h"

#include <cmath>

#include <algorithm>

#include "Animation.h"
#include "Caption.h"
#include "Generator.h"
#include "JellyShapes.h"
#include "QualleShots.h"
#include "QualleTextures.h"
#include "SceneClock.h"
#include "SceneParts.h"
#include "Shapes.h"
#include "VecMath.h"

namespace qualle {

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int kMorphStep = 5;  // frames between the tentacles' keys
constexpr int kTrackStep = 5;
constexpr int kSceneIndex = 2;  // the show's index of this scene, for its clock

constexpr uint64_t kId = 0x0A11E00000000000ull;
uint64_t Id(int kind, int index) { return kId | (static_cast<uint64_t>(kind) << 8) | static_cast<uint64_t>(index); }
enum Kind { kBody = 1, kBell = 2, kTentacles = 3, kArms = 4, kWater = 5, kShaft = 6, kCamera = 7, kLight = 8 };

using Vec = c4e::Vec3;

std::vector<c4e::Material> Materials() {
  std::vector<c4e::Material> materials;
  auto add = [&](const c4e::Material& material) { materials.push_back(material); };
  c4e::Material water = kit::Matte("water", {0.0f, 0.0f, 0.0f});
  water.hasLuminanceMap = true, water.luminanceMap = "qualle_water.png";
  add(water);

  // Clear jelly whose rim, canals and gonads glow; the map's alpha makes those parts denser.
  c4e::Material bell = kit::Matte("bell", {0.55f, 0.78f, 1.0f});
  kit::AddDiffuseMap(bell, "qualle_bell.png", false);
  bell.hasNormalMap = true, bell.normalMap = "qualle_bell_n.png";
  kit::AddSpecular(bell, {0.8f, 0.95f, 1.0f}, 1.2f, 0.2f);
  bell.transparent = true, bell.transparency = 0.45f;
  bell.hasLuminanceMap = true, bell.luminanceMap = "qualle_bell_glow.png";
  bell.hasEnvironmentMap = true, bell.environmentMap = "qualle_water.png";
  add(bell);

  c4e::Material tentacle = kit::Matte("tentacle", {0.25f, 0.2f, 0.35f});
  tentacle.hasLuminanceMap = true, tentacle.luminanceMap = "qualle_tentacle.png";
  kit::AddSpecular(tentacle, {0.9f, 0.9f, 1.0f}, 0.6f, 0.3f);
  add(tentacle);

  c4e::Material arm = kit::Matte("arm", {0.95f, 0.55f, 0.85f});
  kit::AddDiffuseMap(arm, "qualle_arm.png", false);
  arm.transparent = true, arm.transparency = 0.35f;
  arm.hasLuminanceMap = true, arm.luminanceMap = "qualle_arm_glow.png";
  add(arm);

  c4e::Material shaft = kit::Matte("shaft", {0.3f, 0.55f, 0.7f});
  kit::AddDiffuseMap(shaft, "qualle_shaft.png", false);
  shaft.transparent = true;
  shaft.transparency = 0.0f;  // the map's alpha alone
  shaft.hasLuminanceMap = true, shaft.luminanceMap = "qualle_shaft.png";
  add(shaft);
  return materials;
}

// Contraction starts: two a bar on the music's beat while the clock runs at the music's pace, and
// on the show times of those beats where it runs slower.
std::vector<float> PulseStarts(float offsetMs, float lastFrame) {
  std::vector<float> starts;
  const cue::Millis windowStart = cue::kSchedule[4].start, windowEnd = cue::SlotEnd(4);
  float previous = -1e9f;
  for (cue::Millis show = windowStart + static_cast<cue::Millis>(offsetMs); show < windowEnd; show += 2 * cue::kBeat) {
    const float frame = static_cast<float>(kit::SceneTimeAt(kSceneIndex, show) - kit::kFrameMs) / kit::kFrameMs;
    if (frame < previous + 12.0f) continue;  // never two contractions on top of each other
    starts.push_back(std::max(std::round(frame), 0.0f));
    previous = frame;
  }
  for (float next = starts.back() + 34.5f; next < lastFrame; next += 34.5f) starts.push_back(std::round(next));
  return starts;
}

struct Swimmer {
  JellyBuild build;
  Vec start;
  Vec drift;       // units per frame
  float thrust;    // how far one contraction carries it
  Vec tilt;        // resting tilt (radians)
  bool morphs;     // false: the bell pulses by its scale alone (distant ones)
  float pulseOffsetMs;
};

Vec SwimPosition(const Swimmer& swimmer, const PulseCurve& pulse, float frame) {
  float rise = 0.0f;
  for (float start : pulse.starts()) {
    if (start > frame) break;
    rise += swimmer.thrust * (1.0f - std::exp(-(frame - start) / 9.0f));
  }
  return swimmer.start + swimmer.drift * frame + Vec{0.0f, rise, 0.0f};
}

Vec SwimTilt(const Swimmer& swimmer, float frame) {
  return swimmer.tilt + Vec{0.08f * std::sin(frame / 70.0f + swimmer.build.seed), 0.1f * std::sin(frame / 53.0f + 2.0f * swimmer.build.seed),
                            0.06f * std::cos(frame / 61.0f + swimmer.build.seed)};
}

c4e::PolyObject Part(uint64_t id, const std::string& name, const std::string& material, uint64_t parent) {
  c4e::PolyObject mesh = kit::Mesh(id, name, material);
  mesh.parentId = parent;
  return mesh;
}

kit::SurfaceGrid BellGrid(const JellyBuild& build) {
  kit::SurfaceGrid grid;
  grid.columns = build.bellColumns;
  grid.rows = build.bellRows;
  grid.closedU = true;
  grid.collapseFirstRow = grid.collapseLastRow = true;
  return grid;
}

void AppendJelly(std::vector<c4e::PolyObject>& dummies, std::vector<c4e::PolyObject>& meshes, const Swimmer& swimmer,
                 int index, int lastFrame) {
  const PulseCurve pulse(PulseStarts(swimmer.pulseOffsetMs, static_cast<float>(lastFrame)));
  const std::string number = std::to_string(index + 1);
  c4e::PolyObject body = kit::Dummy(Id(kBody, index), "jelly" + number);
  body.track = kit::SampledTrack(0, lastFrame, kTrackStep, c4e::kLinear, [&](int frame) {
    kit::Pose pose;
    pose.position = SwimPosition(swimmer, pulse, frame);
    pose.rotation = SwimTilt(swimmer, frame);
    if (!swimmer.morphs) {
      // A distant bell pulses by its scale: narrower and taller when contracted.
      const float c = pulse.Contraction(static_cast<float>(frame));
      pose.scale = {1.0f - 0.22f * c, 1.0f + 0.14f * c, 1.0f - 0.22f * c};
    }
    return pose;
  });
  body.position = body.track.keys.front().position;
  dummies.push_back(body);

  const JellyBuild& build = swimmer.build;
  c4e::PolyObject bell = Part(Id(kBell, index), "bell" + number, "bell", body.id);
  kit::AppendSurface(bell, BellGrid(build), BellSurface(build, 0.0f, 0.0f));
  c4e::PolyObject tentacles = Part(Id(kTentacles, index), "tentacles" + number, "tentacle", body.id);
  c4e::PolyObject arms = Part(Id(kArms, index), "arms" + number, "arm", body.id);
  auto fillStrands = [&](c4e::PolyObject& into, c4e::PolyObject& armsInto, float frame) {
    for (int t = 0; t < build.tentacles; ++t)
      AppendStrand(into, TentacleLine(build, pulse, t, frame), 4,
                 [&](float along) { return build.tentacleRadius * (1.0f - 0.7f * along); }, 1.0f);
    for (int a = 0; a < 4; ++a)
      AppendStrand(armsInto, ArmLine(build, pulse, a, frame), 6, [&](float along) { return ArmWidth(build, along, frame); },
                 0.3f);
  };
  fillStrands(tentacles, arms, 0.0f);
  if (swimmer.morphs) {
    bell.hasMorph = true;
    for (int frame : pulse.TurningFrames(lastFrame)) {
      c4e::PolyObject sample;
      kit::AppendSurface(sample, BellGrid(build), BellSurface(build, pulse.Contraction(static_cast<float>(frame)), frame));
      bell.morphKeys.push_back({frame, c4e::kHermite, sample.vertices});
    }
    tentacles.hasMorph = arms.hasMorph = true;
    for (int frame = 0; frame <= lastFrame; frame += kMorphStep) {
      c4e::PolyObject strands, frills;
      fillStrands(strands, frills, static_cast<float>(frame));
      tentacles.morphKeys.push_back({frame, c4e::kLinear, strands.vertices});
      arms.morphKeys.push_back({frame, c4e::kLinear, frills.vertices});
    }
  }
  meshes.push_back(tentacles);  // opaque
  meshes.push_back(arms);
  meshes.push_back(bell);
}

std::vector<Swimmer> Swimmers() {
  std::vector<Swimmer> swimmers;
  JellyBuild hero;
  hero.seed = 3;
  swimmers.push_back({hero, {0.0f, 0.0f, 0.0f}, {0.12f, 0.0f, 0.05f}, 7.0f, {0.0f, 0.1f, 0.05f}, true, 0.0f});
  JellyBuild middle;
  middle.radius = 38.0f;
  middle.height = 32.0f;
  middle.bellColumns = 32;
  middle.bellRows = 28;
  middle.tentacles = 12;
  middle.tentacleLength = 140.0f;
  middle.tentacleRadius = 0.7f;
  middle.tentacleSegments = 22;
  middle.armLength = 60.0f;
  middle.armSegments = 18;
  middle.seed = 5;
  swimmers.push_back({middle, {-190.0f, -70.0f, 170.0f}, {0.1f, 0.02f, -0.04f}, 5.0f, {0.2f, -0.25f, 0.1f}, true, 690.0f});
  middle.seed = 7;
  middle.radius = 32.0f;
  middle.height = 28.0f;
  swimmers.push_back({middle, {210.0f, 60.0f, 290.0f}, {-0.08f, 0.0f, 0.03f}, 4.5f, {-0.15f, 0.3f, -0.1f}, true, 345.0f});
  JellyBuild far;
  far.radius = 26.0f;
  far.height = 22.0f;
  far.bellColumns = 20;
  far.bellRows = 16;
  far.tentacles = 8;
  far.tentacleLength = 90.0f;
  far.tentacleRadius = 0.8f;
  far.tentacleSegments = 12;
  far.armLength = 36.0f;
  far.armSegments = 8;
  const Vec places[4] = {{-420.0f, 160.0f, 620.0f}, {380.0f, -140.0f, 700.0f}, {60.0f, 260.0f, 880.0f}, {-640.0f, -90.0f, 950.0f}};
  for (int i = 0; i < 4; ++i) {
    far.seed = 11 + i;
    swimmers.push_back({far, places[i], {0.05f * (i - 1.5f), 0.03f, 0.0f}, 4.0f, {0.3f * (i % 2 ? 1 : -1), 0.2f, 0.0f}, false,
                        230.0f * i});
  }
  return swimmers;
}

c4e::PolyObject Water() {
  c4e::PolyObject water = Part(Id(kWater, 0), "water", "water", 0);
  kit::SurfaceGrid grid;
  grid.columns = 48;
  grid.rows = 24;
  grid.closedU = true;
  grid.collapseFirstRow = grid.collapseLastRow = true;
  grid.flip = true;  // seen from inside
  kit::AppendSurface(water, grid, [](float u, float v) {
    const float theta = u * 2.0f * kPi, phi = v * kPi, r = 3000.0f;
    return Vec{r * std::sin(phi) * std::cos(theta), r * std::cos(phi), r * std::sin(phi) * std::sin(theta)};
  });
  return water;
}

// Light falling from the surface far above: long open cones, faint, slanting with the current.
c4e::PolyObject Shafts() {
  c4e::PolyObject shafts = Part(Id(kShaft, 0), "shafts", "shaft", 0);
  const Vec roots[5] = {{-300.0f, 1400.0f, 900.0f}, {150.0f, 1400.0f, 1100.0f}, {520.0f, 1400.0f, 800.0f},
                        {-700.0f, 1400.0f, 1300.0f}, {-50.0f, 1400.0f, 600.0f}};
  for (int s = 0; s < 5; ++s) {
    kit::SurfaceGrid grid;
    grid.columns = 16;
    grid.rows = 6;
    grid.closedU = true;
    const Vec root = roots[s];
    const float width = 50.0f + 25.0f * s;
    kit::AppendSurface(shafts, grid, [&](float u, float v) {
      const float theta = u * 2.0f * kPi, r = width * (0.4f + 1.6f * v);
      return root + Vec{120.0f * v + r * std::cos(theta), -2600.0f * v, r * std::sin(theta)};
    });
  }
  return shafts;
}

}  // namespace

c4e::Scene QualleScene() {
  c4e::Scene scene;
  scene.name = "qualle";
  scene.materials = Materials();
  std::vector<c4e::PolyObject> dummies, meshes;
  const std::vector<Swimmer> swimmers = Swimmers();
  for (size_t i = 0; i < swimmers.size(); ++i) AppendJelly(dummies, meshes, swimmers[i], static_cast<int>(i), kLastFrame);
  const PulseCurve heroPulse(PulseStarts(swimmers.front().pulseOffsetMs, static_cast<float>(kLastFrame)));
  const Swimmer& hero = swimmers.front();
  const auto heroAt = [&](float frame) { return SwimPosition(hero, heroPulse, frame); };
  scene.polyObjects.push_back(FocusDummy(heroAt));
  for (const c4e::PolyObject& dummy : dummies) scene.polyObjects.push_back(dummy);
  scene.polyObjects.push_back(Water());
  // Transparent parts draw in file order: the shafts behind everything, the far jellies before the near.
  scene.polyObjects.push_back(Shafts());
  for (auto it = meshes.rbegin(); it != meshes.rend(); it += 3) {
    for (int k = 2; k >= 0; --k) scene.polyObjects.push_back(*(it + k));
  }
  scene.cameras = Cameras(heroAt);
  scene.environment.ambientColor = {0.02f, 0.045f, 0.08f};
  scene.environment.environmentValue = 0.7f;
  scene.lights = Lights();
  // The water and the shafts of light glow by themselves: no light needs to shade them.
  for (c4e::Light& light : scene.lights) light.objectList = {Id(kWater, 0), Id(kShaft, 0)};
  kit::NumberEverything(scene);
  return scene;
}

bool WriteQualleContent(const std::string& directory) {
  return kit::WriteCheckedScene(QualleScene(), directory, "qualle.c4e") && WriteQualleTextures(directory) &&
         kit::WriteCaption("JELLYFISH DRIFT", directory + "/text_qualle.png");
}

}  // namespace qualle
