#include "FratzeScene.h"

#include <cmath>

#include "FaceSculpt.h"
#include "FratzeTextures.h"
#include "Caption.h"
#include "Generator.h"
#include "SceneParts.h"
#include "Shapes.h"
#include "Shots.h"

namespace fratze {

namespace {

using Vec = c4e::Vec3;
constexpr float kPi = 3.14159265358979f;
constexpr int kTrackStep = 5;

constexpr uint64_t kId = 0xF2A7E00000000000ull;
constexpr uint64_t kFaceId = kId | 0x100, kUpperTeethId = kId | 0x101, kLowerTeethId = kId | 0x102,
                   kEyeIds[2] = {kId | 0x103, kId | 0x104}, kWallId = kId | 0x105, kWallSpotId = kId | 0x106;

std::vector<c4e::Material> Materials() {
  std::vector<c4e::Material> materials;
  auto add = [&](const c4e::Material& material) { materials.push_back(material); };
  // Cracked stone with raw flesh showing round the eyes, in the cracks and inside the mouth.
  c4e::Material face = kit::Matte("face", {1.0f, 1.0f, 1.0f});
  kit::AddDiffuseMap(face, "fratze_face.png", true);
  face.hasNormalMap = true, face.normalMap = "fratze_face_n.png";
  kit::AddSpecular(face, {1.0f, 0.95f, 0.9f}, 0.22f, 0.55f);
  add(face);

  c4e::Material eye = kit::Matte("eye", {0.15f, 0.05f, 0.03f});
  kit::AddSpecular(eye, {1.0f, 1.0f, 1.0f}, 1.4f, 0.05f);
  eye.hasLuminanceMap = true, eye.luminanceMap = "fratze_eye.png";
  add(eye);

  c4e::Material teeth = kit::Matte("teeth", {0.85f, 0.8f, 0.68f});
  kit::AddDiffuseMap(teeth, "fratze_teeth.png", false);
  kit::AddSpecular(teeth, {1.0f, 1.0f, 0.95f}, 0.9f, 0.3f);
  add(teeth);

  c4e::Material wall = kit::Matte("wall", {0.38f, 0.36f, 0.35f});
  kit::AddDiffuseMap(wall, "fratze_wall.png", false);
  wall.hasNormalMap = true, wall.normalMap = "fratze_wall_n.png";
  add(wall);
  return materials;
}

// The face's performance: a neutral face between the grimaces, each grimace at its peak on the
// frames the show's shakes reach (301, 405 and 500 of the scene's clock).
struct Beat {
  int frame;
  Expression expression;
};

std::vector<Beat> Performance() {
  const Expression rest = Neutral(), frown = Frown(), sneer = Sneer(), grin = Grin(), scream = Scream();
  return {
      {0, rest},
      {45, rest},
      {80, frown},
      {112, Blend(frown, sneer, 0.3f)},
      {140, rest},
      {250, rest},
      {282, Blend(frown, sneer, 0.4f)},
      {300, sneer},
      {316, Blend(sneer, rest, 0.08f)},
      {342, Blend(rest, sneer, 0.1f)},
      {368, rest},
      {390, Blend(rest, grin, 0.35f)},
      {403, grin},
      {419, Blend(grin, rest, 0.06f)},
      {440, rest},
      {458, Blend(rest, scream, 0.15f)},
      {482, Blend(rest, scream, 0.4f)},
      {498, scream},
      {524, Blend(scream, rest, 0.08f)},
      {545, Blend(scream, rest, 0.6f)},
      {kLastFrame, rest},
  };
}

kit::SurfaceGrid FaceGrid() {
  kit::SurfaceGrid grid;
  grid.columns = kFaceColumns;
  grid.rows = kFaceRows;
  return grid;
}

c4e::PolyObject Face(const std::vector<Beat>& performance) {
  c4e::PolyObject face = kit::Mesh(kFaceId, "face", "face");
  kit::AppendSurface(face, FaceGrid(), FaceSurface(performance.front().expression));
  face.hasMorph = true;
  for (const Beat& beat : performance) {
    c4e::PolyObject sample;
    kit::AppendSurface(sample, FaceGrid(), FaceSurface(beat.expression));
    face.morphKeys.push_back({beat.frame, c4e::kHermite, sample.vertices});
  }
  return face;
}

// A row of teeth along the mouth's curve, behind the lips; upper hang down, lower stand up.
c4e::PolyObject Teeth(uint64_t id, const std::string& name, bool upper) {
  c4e::PolyObject teeth = kit::Mesh(id, name, "teeth");
  kit::SurfaceGrid grid;
  grid.columns = 4;
  grid.rows = 96;
  grid.closedU = true;
  grid.uTiles = 1.0f;
  grid.vTiles = 1.0f;
  grid.flip = upper;  // the walk round the section turns the other way for the upper row
  const Expression rest = Neutral();
  kit::AppendSurface(teeth, grid, [&](float u, float v) {
    const float fx = -0.23f + 0.46f * v;
    const Vec lip = SkinPoint(rest, fx, kMouthLine, true);
    // Uneven, pointed teeth: the biting edge dips between them.
    const float tooth = std::fabs(std::sin(v * kPi * 11.0f));
    const float length = 13.0f * (0.6f + 0.4f * std::sqrt(tooth)) * (1.0f - 0.3f * std::fabs(fx) / 0.23f);
    const float root = upper ? 10.0f : -10.0f, tip = root + (upper ? -length : length);
    // Cross-section: a flat rectangle walked round in u (front, edge, back, root).
    const float a = u * 4.0f;
    float y, z;
    if (a < 1.0f) y = root + (tip - root) * a, z = 0.0f;
    else if (a < 2.0f) y = tip, z = 4.0f * (a - 1.0f);
    else if (a < 3.0f) y = tip + (root - tip) * (a - 2.0f), z = 4.0f;
    else y = root, z = 4.0f * (4.0f - a);
    return Vec{lip.x, lip.y + y, lip.z + 6.0f + z};
  });
  return teeth;
}

c4e::PolyObject Eye(int side) {
  c4e::PolyObject eye = kit::Mesh(kEyeIds[side], side ? "eye_left" : "eye_right", "eye");
  const Vec socket = SkinPoint(Neutral(), side ? 0.33f : -0.33f, 0.13f, true);
  eye.position = socket + Vec{0.0f, 0.0f, 6.0f};
  kit::AppendSphere(eye, 12.5f, 24, 16);
  return eye;
}

c4e::PolyObject Wall() {
  // A rough stone wall curving round behind the head.
  c4e::PolyObject wall = kit::Mesh(kWallId, "", "wall");
  kit::SurfaceGrid grid;
  grid.columns = 40;
  grid.rows = 16;
  grid.uTiles = 5.0f;
  grid.vTiles = 2.5f;
  kit::AppendSurface(wall, grid, [](float u, float v) {
    const float angle = (u - 0.5f) * 3.4f;
    const float r = 620.0f;
    return Vec{r * std::sin(angle), 900.0f - 1800.0f * v, r * std::cos(angle) - 120.0f};
  });
  return wall;
}

// Shots: a slow push from the left while the face wakes; frontal from the right for the sneer and
// the grin; low and close for the scream.
struct Shot {
  int from;
  float distance[2], azimuth[2], elevation[2];
};
const Shot kShots[3] = {
    {0, {300.0f, 235.0f}, {-0.6f, -0.3f}, {-0.2f, -0.08f}},
    {kCuts[0], {300.0f, 265.0f}, {0.42f, 0.18f}, {0.06f, -0.04f}},
    {kCuts[1], {330.0f, 240.0f}, {-0.12f, 0.06f}, {-0.28f, -0.16f}},
};
const Vec kTarget{0.0f, -5.0f, 0.0f};

Vec EyeAt(float frame) {
  const Shot& shot = frame >= kCuts[1] ? kShots[2] : frame >= kCuts[0] ? kShots[1] : kShots[0];
  const int end = &shot == &kShots[2] ? kLastFrame : (&shot + 1)->from;
  const float t = (frame - shot.from) / static_cast<float>(end - shot.from);
  auto lerp = [t](const float range[2]) { return range[0] + (range[1] - range[0]) * t; };
  const float distance = lerp(shot.distance), azimuth = lerp(shot.azimuth), elevation = lerp(shot.elevation);
  return kTarget + Vec{distance * std::cos(elevation) * std::sin(azimuth), distance * std::sin(elevation),
                       -distance * std::cos(elevation) * std::cos(azimuth)};
}

float RollAt(float frame) { return 0.16f * std::sin(frame / 38.0f) + 0.05f * std::sin(frame / 13.0f); }

std::vector<c4e::Camera> Cameras() {
  c4e::Camera camera;
  camera.name = "stare";
  camera.id = kId | 0x200;
  camera.targetId = kFocusId;
  camera.track = kit::CutTrack(kLastFrame, kTrackStep, {kCuts[0], kCuts[1]}, [](int frame) {
    const float f = static_cast<float>(frame);
    kit::Pose pose;
    pose.position = EyeAt(f);
    pose.rotation = kit::RotationForUp(kit::RolledUp(pose.position, kTarget, RollAt(f)));
    return pose;
  });
  camera.position = camera.track.keys.front().position;
  camera.rotation = camera.track.keys.front().rotation;
  return {camera};
}

std::vector<c4e::Light> Lights() {
  const uint64_t id = kId | 0x300;
  // Hard light from high on one side: deep shadows in the sockets and under the brow. Kept low
  // enough that the bloom and the look's contrast leave the skin its texture.
  c4e::Light key = kit::OmniLight(id, "key", kFocusId, {-380.0f, 420.0f, -360.0f}, {1.0f, 0.93f, 0.82f}, 1.35f);
  // Embers from below.
  c4e::Light under = kit::OmniLight(id + 2, "under", kFocusId, {60.0f, -420.0f, -260.0f}, {0.7f, 0.2f, 0.1f}, 0.8f, 0.3f);
  // Only the wall's own light and the rim reach the wall: it stays a dark ground for the face.
  key.objectList = under.objectList = {kWallId};
  return {key,
          // A cold rim from behind the other side.
          kit::OmniLight(id + 1, "rim", kFocusId, {330.0f, 160.0f, 330.0f}, {0.7f, 0.85f, 1.0f}, 1.7f), under,
          // A pool of light on the wall behind the head.
          kit::SpotLight(id + 3, "wall", kWallSpotId, {0.0f, 60.0f, -300.0f}, {0.8f, 0.75f, 0.7f}, 1.3f, 32.0f)};
}

}  // namespace

c4e::Scene FratzeScene() {
  c4e::Scene scene;
  scene.name = "fratze";
  scene.materials = Materials();
  scene.polyObjects.push_back(kit::Dummy(kFocusId, "focus", kTarget));
  scene.polyObjects.push_back(kit::Dummy(kWallSpotId, "wallspot", {40.0f, 40.0f, 480.0f}));

  const std::vector<Beat> performance = Performance();
  scene.polyObjects.push_back(Face(performance));
  scene.polyObjects.push_back(Teeth(kUpperTeethId, "teeth_upper", true));
  // The lower teeth ride on the jaw, keyed on the same frames as the face.
  c4e::PolyObject lower = Teeth(kLowerTeethId, "teeth_lower", false);
  lower.track.hasTrack = true;
  for (const Beat& beat : performance) lower.track.keys.push_back(kit::Key(beat.frame, JawOffset(beat.expression)));
  scene.polyObjects.push_back(lower);
  scene.polyObjects.push_back(Eye(0));
  scene.polyObjects.push_back(Eye(1));
  scene.polyObjects.push_back(Wall());
  scene.cameras = Cameras();
  scene.environment.ambientColor = {0.05f, 0.045f, 0.045f};
  scene.environment.environmentValue = 0.0f;
  scene.lights = Lights();
  kit::NumberEverything(scene);
  return scene;
}

bool WriteFratzeContent(const std::string& directory) {
  return kit::WriteCheckedScene(FratzeScene(), directory, "fratze.c4e") && WriteFratzeTextures(directory) &&
         kit::WriteCaption("THE GRIMACE", directory + "/text_face.png");
}

}  // namespace fratze
