// pulsar-flagge1-scene <directory>: "flagge1.c4e", one large banner with the Pulsar emblem on a
// tall pole, rippling in a gusting wind against the dusk sky the show draws behind it. The sun
// sits low on the right of that sky, so the key light rakes the cloth from the right; a cool
// fill from the left and a warm rim from behind. 5.6 s long: the show runs it for 5.5 s.
#include "Animation.h"
#include "FlagArt.h"
#include "Generator.h"
#include "SceneParts.h"
#include "Shapes.h"

namespace {

using kit::Vec3;

constexpr int kLastFrame = 140;
constexpr float kLength = 320.0f;
constexpr float kHeight = 200.0f;

constexpr uint64_t kFocusId = 0xF1A6000000000001ull;
constexpr uint64_t kBannerId = 0xF1A6000000000002ull;
constexpr uint64_t kPoleId = 0xF1A6000000000003ull;
constexpr uint64_t kFinialId = 0xF1A6000000000004ull;
constexpr uint64_t kCameraTargetId = 0xF1A6000000000005ull;

std::vector<c4e::Material> Materials() {
  c4e::Material banner = kit::Matte("banner", {1.0f, 1.0f, 1.0f});
  kit::AddDiffuseMap(banner, "flagge_emblem.png", true);
  banner.hasNormalMap = true;
  banner.normalMap = "flagge_cloth_n.png";
  kit::AddSpecular(banner, {1.0f, 0.85f, 0.7f}, 0.35f, 0.55f);

  c4e::Material bronze = kit::Matte("bronze", {0.22f, 0.15f, 0.1f});
  kit::AddSpecular(bronze, {1.0f, 0.8f, 0.55f}, 1.0f, 0.3f);
  bronze.hasEnvironmentMap = true;
  bronze.environmentMap = "flagge_dusk.png";

  c4e::Material gold = kit::Matte("gold", {0.1f, 0.07f, 0.02f});
  kit::AddSpecular(gold, {1.0f, 0.8f, 0.4f}, 1.6f, 0.12f);
  gold.hasEnvironmentMap = true;
  gold.environmentMap = "flagge_dusk.png";
  return {banner, bronze, gold};
}

c4e::PolyObject Banner() {
  c4e::PolyObject banner = kit::Mesh(kBannerId, "banner", "banner", {-165.0f, 110.0f, 0.0f});
  // Facing −z, towards the camera; the back is its own copy so the cloth shows from both sides.
  kit::AppendGrid(banner, {0, 0, 0}, {kLength, 0, 0}, {0, -kHeight, 0}, 44, 28, 1.0f, 1.0f, true);
  banner.hasMorph = true;
  banner.morphKeys = kit::MorphFromFunction(banner.vertices, kit::KeyFrames(kLastFrame, 2), c4e::kLinear,
                                            [](int frame, const std::vector<Vec3>& rest, std::vector<Vec3>& out) {
                                              for (size_t i = 0; i < rest.size(); ++i)
                                                out[i] = flag::Wind(rest[i], kLength, kHeight, frame * 0.04f, 7);
                                            });
  return banner;
}

std::vector<c4e::PolyObject> PolyObjects() {
  std::vector<c4e::PolyObject> objects;
  objects.push_back(kit::Dummy(kFocusId, "focus", {0.0f, 10.0f, 0.0f}));

  c4e::PolyObject target = kit::Dummy(kCameraTargetId, "look");
  target.track.hasTrack = true;
  target.track.keys = {kit::Key(0, {-10.0f, 15.0f, 0.0f}), kit::Key(kLastFrame, {30.0f, 5.0f, 0.0f})};
  target.position = target.track.keys[0].position;
  objects.push_back(target);

  objects.push_back(Banner());

  c4e::PolyObject pole = kit::Mesh(kPoleId, "pole", "bronze", {-171.0f, -640.0f, 0.0f});
  kit::AppendCylinder(pole, 5.0f, 762.0f, 20);
  objects.push_back(pole);

  c4e::PolyObject finial = kit::Mesh(kFinialId, "finial", "gold", {-171.0f, 132.0f, 0.0f});
  kit::AppendSphere(finial, 11.0f, 20, 12);
  objects.push_back(finial);
  return objects;
}

c4e::Scene Flagge1() {
  c4e::Scene scene;
  scene.name = "flagge1";
  scene.materials = Materials();
  scene.polyObjects = PolyObjects();

  // A slow, low push past the banner: it grows in frame as the wind picks up.
  c4e::Camera camera;
  camera.name = "push";
  camera.id = 0xF1A6000000000100ull;
  camera.targetId = kCameraTargetId;
  camera.track.hasTrack = true;
  camera.track.keys = {kit::Key(0, {-120.0f, -90.0f, -520.0f}), kit::Key(kLastFrame, {170.0f, -45.0f, -380.0f})};
  camera.position = camera.track.keys[0].position;
  scene.cameras.push_back(camera);

  scene.environment.ambientColor = {0.1f, 0.07f, 0.1f};
  scene.environment.environmentValue = 0.6f;
  scene.lights = {
      kit::DirectionalLight(0xF1A6000000000200ull, "sun", kFocusId, {1100.0f, -60.0f, -420.0f}, {1.0f, 0.62f, 0.36f}, 1.5f, 0.25f),
      kit::OmniLight(0xF1A6000000000201ull, "fill", kFocusId, {-650.0f, 250.0f, -700.0f}, {0.38f, 0.42f, 0.78f}, 0.9f, 0.6f),
      kit::OmniLight(0xF1A6000000000202ull, "rim", kFocusId, {-350.0f, 380.0f, 700.0f}, {1.0f, 0.55f, 0.5f}, 1.6f),
  };
  kit::NumberEverything(scene);
  return scene;
}

bool WriteContent(const std::string& directory) {
  const std::string at = directory + "/";
  return kit::WriteCheckedScene(Flagge1(), directory, "flagge1.c4e") &&
         kit::WriteTexture(flag::EmblemBanner(1024, 640), kit::TextureKind::Colour, at + "flagge_emblem.png") &&
         kit::WriteTexture(flag::ClothNormal(512), kit::TextureKind::Normal, at + "flagge_cloth_n.png") &&
         kit::WriteTexture(flag::DuskPanorama(512, 256), kit::TextureKind::Colour, at + "flagge_dusk.png");
}

}  // namespace

int main(int argc, char** argv) { return kit::GeneratorMain(argc, argv, WriteContent); }
