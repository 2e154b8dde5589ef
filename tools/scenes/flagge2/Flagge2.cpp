// pulsar-flagge2-scene <directory>: "flagge2.c4e", a field of pennants on tall poles at dusk.
// The camera starts low among the poles, looking up at the cloth against the sky, and rises
// through the banners until it looks level over their tops into the low sun. There is no
// ground: the sky the show draws behind the scene keeps its warm horizon. 8.4 s long: the show
// runs it for 8.3 s. Uses the cloth and sky pictures the flagge1 generator writes.
#include <cmath>

#include "Animation.h"
#include "FlagArt.h"
#include "Generator.h"
#include "Noise.h"
#include "SceneParts.h"
#include "Shapes.h"

namespace {

using kit::Vec3;

constexpr int kLastFrame = 210;
constexpr float kLength = 190.0f;
constexpr float kHeight = 115.0f;
constexpr int kColumns = 4;
constexpr int kRows = 3;

constexpr uint64_t kFocusId = 0xF1A6200000000001ull;
constexpr uint64_t kPolesId = 0xF1A6200000000003ull;
constexpr uint64_t kFinialsId = 0xF1A6200000000004ull;
constexpr uint64_t kTargetId = 0xF1A6200000000005ull;
constexpr uint64_t kBannerIdBase = 0xF1A6200000000100ull;

struct Pole {
  Vec3 foot;
  float height;
};

// A loose grid of poles with jittered places and heights, the same on every build.
std::vector<Pole> Poles() {
  std::vector<Pole> poles;
  for (int row = 0; row < kRows; ++row)
    for (int column = 0; column < kColumns; ++column) {
      const int i = row * kColumns + column;
      const float jx = kit::Random(i, 1, 5) - 0.5f, jz = kit::Random(i, 2, 5) - 0.5f;
      Pole pole;
      pole.foot = {-420.0f + 280.0f * column + 90.0f * jx + 60.0f * row, 0.0f, -150.0f + 330.0f * row + 100.0f * jz};
      pole.height = 560.0f + 160.0f * kit::Random(i, 3, 5);
      pole.foot.y = -10.0f;
      poles.push_back(pole);
    }
  return poles;
}

std::vector<c4e::Material> Materials() {
  std::vector<c4e::Material> materials;
  const Vec3 tints[3] = {{0.75f, 0.08f, 0.07f}, {0.95f, 0.66f, 0.18f}, {0.16f, 0.15f, 0.45f}};
  const char* names[3] = {"crimson", "gold cloth", "indigo"};
  for (int i = 0; i < 3; ++i) {
    c4e::Material cloth = kit::Matte(names[i], tints[i]);
    kit::AddDiffuseMap(cloth, "flagge_pennant.png", false);
    cloth.hasNormalMap = true;
    cloth.normalMap = "flagge_cloth_n.png";
    kit::AddSpecular(cloth, {1.0f, 0.85f, 0.7f}, 0.3f, 0.55f);
    materials.push_back(cloth);
  }
  c4e::Material bronze = kit::Matte("bronze", {0.22f, 0.15f, 0.1f});
  kit::AddSpecular(bronze, {1.0f, 0.8f, 0.55f}, 1.0f, 0.3f);
  bronze.hasEnvironmentMap = true;
  bronze.environmentMap = "flagge_dusk.png";
  materials.push_back(bronze);

  c4e::Material gold = kit::Matte("gold", {0.1f, 0.07f, 0.02f});
  kit::AddSpecular(gold, {1.0f, 0.8f, 0.4f}, 1.6f, 0.12f);
  gold.hasEnvironmentMap = true;
  gold.environmentMap = "flagge_dusk.png";
  materials.push_back(gold);

  return materials;
}

std::vector<c4e::PolyObject> PolyObjects() {
  std::vector<c4e::PolyObject> objects;
  objects.push_back(kit::Dummy(kFocusId, "focus", {0.0f, 300.0f, 200.0f}));

  c4e::PolyObject poles = kit::Mesh(kPolesId, "poles", "bronze");
  c4e::PolyObject finials = kit::Mesh(kFinialsId, "finials", "gold");
  const std::vector<Pole> placed = Poles();
  for (const Pole& pole : placed) {
    c4e::PolyObject one, ball;
    kit::AppendCylinder(one, 4.5f, pole.height, 12);
    kit::AppendSphere(ball, 10.0f, 12, 8);
    auto merge = [](c4e::PolyObject& into, const c4e::PolyObject& part, Vec3 at) {
      const int32_t base = static_cast<int32_t>(into.vertices.size());
      for (const Vec3& p : part.vertices) into.vertices.push_back(p + at);
      for (auto triangle : part.polygons) into.polygons.push_back({triangle[0] + base, triangle[1] + base, triangle[2] + base});
      into.uvs.insert(into.uvs.end(), part.uvs.begin(), part.uvs.end());
    };
    merge(poles, one, pole.foot);
    merge(finials, ball, pole.foot + Vec3{0.0f, pole.height + 9.0f, 0.0f});
  }
  objects.push_back(poles);
  objects.push_back(finials);

  const char* materials[3] = {"crimson", "gold cloth", "indigo"};
  for (size_t i = 0; i < placed.size(); ++i) {
    const Pole& pole = placed[i];
    c4e::PolyObject banner = kit::Mesh(kBannerIdBase + i, "banner" + std::to_string(i + 1), materials[(i * 7 + 1) % 3],
                                       pole.foot + Vec3{4.0f, pole.height - 6.0f, 0.0f});
    kit::AppendGrid(banner, {0, 0, 0}, {kLength, 0, 0}, {0, -kHeight, 0}, 20, 12, 1.0f, 1.0f, true);
    banner.hasMorph = true;
    const unsigned seed = 100u + static_cast<unsigned>(i) * 13u;
    banner.morphKeys = kit::MorphFromFunction(banner.vertices, kit::KeyFrames(kLastFrame, 3), c4e::kLinear,
                                              [seed](int frame, const std::vector<Vec3>& rest, std::vector<Vec3>& out) {
                                                for (size_t k = 0; k < rest.size(); ++k)
                                                  out[k] = flag::Wind(rest[k], kLength, kHeight, frame * 0.04f, seed);
                                              });
    objects.push_back(banner);
  }
  return objects;
}

c4e::Scene Flagge2() {
  c4e::Scene scene;
  scene.name = "flagge2";
  scene.materials = Materials();
  scene.polyObjects = PolyObjects();

  // Up through the field: from head height among the poles to above the banners, the gaze
  // lifting from the cloth to the horizon.
  kit::CameraFlight flight;
  flight.name = "rise";
  flight.cameraId = 0xF1A6200000000080ull;
  flight.targetId = kTargetId;
  flight.lastFrame = kLastFrame;
  flight.keyEvery = 5;
  flight.progress = [](float share) { return share * share * (3 - 2 * share); };
  const kit::Spline path({{-60.0f, 40.0f, -520.0f}, {-20.0f, 260.0f, -430.0f}, {30.0f, 560.0f, -380.0f},
                          {60.0f, 800.0f, -520.0f}},
                         false);
  const kit::Spline look({{40.0f, 560.0f, 100.0f}, {60.0f, 640.0f, 250.0f}, {80.0f, 620.0f, 500.0f},
                          {120.0f, 700.0f, 2200.0f}},
                         false);
  const kit::CameraRig rig = kit::CameraOnSpline(flight, path, look);
  scene.polyObjects.push_back(rig.target);
  scene.cameras.push_back(rig.camera);

  scene.environment.ambientColor = {0.1f, 0.07f, 0.1f};
  scene.environment.environmentValue = 0.6f;
  scene.lights = {
      kit::DirectionalLight(0xF1A6200000000200ull, "sun", kFocusId, {1300.0f, 150.0f, -200.0f}, {1.0f, 0.62f, 0.36f}, 1.5f, 0.25f),
      kit::OmniLight(0xF1A6200000000201ull, "fill", kFocusId, {-900.0f, 500.0f, -900.0f}, {0.38f, 0.42f, 0.78f}, 1.0f, 0.6f),
      kit::OmniLight(0xF1A6200000000202ull, "rim", kFocusId, {-500.0f, 700.0f, 1200.0f}, {1.0f, 0.55f, 0.5f}, 1.8f),
  };
  kit::NumberEverything(scene);
  return scene;
}

bool WriteContent(const std::string& directory) {
  const std::string at = directory + "/";
  return kit::WriteCheckedScene(Flagge2(), directory, "flagge2.c4e") &&
         kit::WriteTexture(flag::PennantBanner(512, 320), kit::TextureKind::Colour, at + "flagge_pennant.png");
}

}  // namespace

int main(int argc, char** argv) { return kit::GeneratorMain(argc, argv, WriteContent); }
