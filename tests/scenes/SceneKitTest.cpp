#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Animation.h"
#include "Caption.h"
#include "Noise.h"
#include "Picture.h"
#include "SceneChecks.h"
#include "SceneParts.h"
#include "Shapes.h"
#include "math/d3dx_math.h"

namespace {

using kit::Vec3;

TEST(NoiseTest, RangesRepeatsAndDeterminism) {
  float lowest = 1e9f, highest = -1e9f, gradientLow = 1e9f, gradientHigh = -1e9f;
  for (int i = 0; i < 2000; ++i) {
    const float x = i * 0.137f, y = i * 0.291f, z = i * 0.053f;
    const float v = kit::ValueNoise(x, y, z, 7);
    lowest = std::min(lowest, v), highest = std::max(highest, v);
    const float g = kit::GradientNoise(x, y, z, 7);
    gradientLow = std::min(gradientLow, g), gradientHigh = std::max(gradientHigh, g);
    EXPECT_EQ(v, kit::ValueNoise(x, y, z, 7));
    const float f = kit::Fbm(kit::NoiseKind::Value, x, y, z, 5, 3);
    EXPECT_GE(f, 0.0f);
    EXPECT_LE(f, 1.0f);
    // Tiled noise repeats after its period in both directions, at every octave.
    EXPECT_NEAR(kit::TiledFbm(kit::NoiseKind::Gradient, x, y, 8, 4, 5),
                kit::TiledFbm(kit::NoiseKind::Gradient, x + 8, y - 16, 8, 4, 5), 1e-4f);
    EXPECT_NEAR(kit::TiledValueNoise(x, y, 4, 2), kit::TiledValueNoise(x - 4, y + 4, 4, 2), 1e-4f);
  }
  EXPECT_GE(lowest, 0.0f);
  EXPECT_LE(highest, 1.0f);
  EXPECT_GT(highest - lowest, 0.5f);  // it varies
  EXPECT_GE(gradientLow, -1.5f);
  EXPECT_LE(gradientHigh, 1.5f);
  EXPECT_LT(gradientLow, -0.2f);
  EXPECT_GT(gradientHigh, 0.2f);
  // Gradient noise is 0 at lattice points; different seeds give different fields.
  EXPECT_EQ(kit::GradientNoise(3.0f, 4.0f, 5.0f, 9), 0.0f);
  EXPECT_NE(kit::ValueNoise(0.5f, 0.5f, 0.5f, 1), kit::ValueNoise(0.5f, 0.5f, 0.5f, 2));
}

TEST(PictureTest, NormalMapsFromHeightAndTextureLimits) {
  // A ramp rising along u: the normal leans towards −u, stays unit length, and is flat where
  // the height is.
  const kit::Picture ramp = kit::NormalMapFromHeight(16, 1.0f, [](float u, float) { return u; });
  const kit::Picture flat = kit::NormalMapFromHeight(16, 1.0f, [](float, float) { return 0.3f; });
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const float* n = ramp.At(x, y);
      const Vec3 normal{n[0] * 2 - 1, n[1] * 2 - 1, n[2] * 2 - 1};
      EXPECT_NEAR(kit::Length(normal), 1.0f, 1e-4f);
      EXPECT_NEAR(normal.x, -1.0f / std::sqrt(2.0f), 1e-3f);  // slope 1: 45 degrees
      EXPECT_NEAR(normal.y, 0.0f, 1e-4f);
      EXPECT_EQ(flat.At(x, y)[2], 1.0f);
    }
  EXPECT_EQ(kit::TextureSizeLimit(kit::TextureKind::Normal), 512);
  EXPECT_EQ(kit::TextureSizeLimit(kit::TextureKind::Colour), 1024);
  EXPECT_FALSE(kit::WriteTexture(kit::Picture(1024, 8), kit::TextureKind::Normal, "unused.png"));
  EXPECT_FALSE(kit::WriteTexture(kit::Picture(8, 2048), kit::TextureKind::Luminance, "unused.png"));

  // A cube map of 8² faces: the 128-byte header, then per face 8² + 4² + 2² + 1 texels of 4 bytes.
  int calls = 0;
  const std::vector<uint8_t> cube = kit::CubeDds(8, [&](float, float y, float, float rgb[3]) {
    ++calls;
    rgb[0] = rgb[1] = rgb[2] = y > 0 ? 1.0f : 0.0f;
  });
  EXPECT_EQ(cube.size(), 128u + 6 * (64 + 16 + 4 + 1) * 4);
  EXPECT_EQ(calls, 6 * 64);
  // The +y face (third) is lit, the −y face (fourth) dark.
  const size_t face = (64 + 16 + 4 + 1) * 4;
  EXPECT_EQ(cube[128 + 2 * face], 255);
  EXPECT_EQ(cube[128 + 3 * face], 0);
}

TEST(AnimationTest, CameraRollMatchesTheShowsRotationConvention) {
  // The show turns (0, 1, 0) with yaw −x, pitch −y, roll −z; the rotation must give back up.
  const Vec3 ups[] = {{0, 1, 0}, {0.3f, 0.9f, 0.1f}, {-0.5f, 0.5f, -0.7f}, {0.1f, -0.2f, 0.97f}};
  for (Vec3 up : ups) {
    up = kit::Normalize(up);
    const Vec3 r = kit::RotationForUp(up);
    D3DXQUATERNION q;
    D3DXQuaternionRotationYawPitchRoll(&q, -r.x, -r.y, -r.z);
    D3DXMATRIX m;
    D3DXMatrixRotationQuaternion(&m, &q);
    D3DXVECTOR3 out;
    const D3DXVECTOR3 y(0, 1, 0);
    D3DXVec3TransformCoord(&out, &y, &m);
    EXPECT_NEAR(out.x, up.x, 1e-4f);
    EXPECT_NEAR(out.y, up.y, 1e-4f);
    EXPECT_NEAR(out.z, up.z, 1e-4f);
  }
}

TEST(AnimationTest, CamerasFollowTheirSplineAndMorphKeysKeepTheMesh) {
  const kit::Spline path({{0, 0, 0}, {0, 0, 150}, {0, 0, 300}, {200, 0, 500}}, false);
  const kit::Spline look({{0, 0, 50}, {0, 0, 350}, {250, 0, 520}}, false);
  kit::CameraFlight flight;
  flight.name = "fly";
  flight.cameraId = 1;
  flight.targetId = 2;
  flight.lastFrame = 103;
  flight.keyEvery = 10;
  flight.bankPerTurn = 100.0f;
  const kit::CameraRig rig = kit::CameraOnSpline(flight, path, look);
  ASSERT_EQ(rig.camera.track.keys.size(), 12u);  // 0, 10, …, 100 and 103
  EXPECT_EQ(rig.camera.track.keys.back().frame, 103);
  EXPECT_TRUE(rig.target.isDummy);
  EXPECT_EQ(rig.camera.targetId, rig.target.id);
  EXPECT_NEAR(kit::Length(rig.camera.track.keys.back().position - Vec3{200, 0, 500}), 0.0f, 0.5f);
  // Straight at first, so level; banked in the turn.
  EXPECT_NEAR(rig.camera.track.keys[1].rotation.z, 0.0f, 1e-3f);
  float banked = 0.0f;
  for (const c4e::TrackKey& key : rig.camera.track.keys) banked = std::max(banked, std::fabs(key.rotation.z));
  EXPECT_GT(banked, 0.05f);

  c4e::PolyObject mesh;
  kit::AppendSphere(mesh, 5.0f, 8, 6);
  const std::vector<int> frames = kit::KeyFrames(50, 20);
  EXPECT_EQ(frames, (std::vector<int>{0, 20, 40, 50}));
  const auto keys = kit::MorphFromFunction(mesh.vertices, frames, c4e::kLinear,
                                           [](int frame, const std::vector<Vec3>& rest, std::vector<Vec3>& out) {
                                             for (size_t i = 0; i < rest.size(); ++i) out[i] = rest[i] * (1.0f + frame / 100.0f);
                                           });
  ASSERT_EQ(keys.size(), 4u);
  for (const c4e::MorphKey& key : keys) EXPECT_EQ(key.positions.size(), mesh.vertices.size());
  EXPECT_NEAR(keys[3].positions[0].y, 7.5f, 1e-5f);
  int calls = 0;
  const auto simulated = kit::MorphFromSimulation(frames, c4e::kLinear, [&](int frame) {
    EXPECT_EQ(frame, frames[static_cast<size_t>(calls++)]);  // once each, in order
    return std::vector<Vec3>(mesh.vertices.size(), Vec3{0, static_cast<float>(frame), 0});
  });
  EXPECT_EQ(simulated.back().positions[3].y, 50.0f);
}

// A small sound scene, then one fault at a time.
c4e::Scene SoundScene() {
  c4e::Scene scene;
  scene.materials.push_back(kit::Matte("paint", {1, 0, 0}));
  c4e::PolyObject mesh = kit::Mesh(10, "ball", "paint");
  kit::AppendSphere(mesh, 5.0f, 8, 6);
  mesh.hasMorph = true;
  mesh.morphKeys = kit::MorphFromFunction(mesh.vertices, {0, 25}, c4e::kLinear,
                                          [](int, const std::vector<Vec3>& rest, std::vector<Vec3>& out) { out = rest; });
  scene.polyObjects.push_back(kit::Dummy(11, "focus"));
  scene.polyObjects.push_back(mesh);
  c4e::Camera camera;
  camera.targetId = 11;
  camera.track.hasTrack = true;
  camera.track.keys = {kit::Key(0, {0, 0, -50}), kit::Key(40, {0, 10, -50})};
  scene.cameras.push_back(camera);
  scene.lights.push_back(kit::OmniLight(20, "key", 11, {0, 100, 0}, {1, 1, 1}, 1.0f));
  kit::NumberEverything(scene);
  return scene;
}

TEST(SceneChecksTest, FindsEachFaultAndMeasures) {
  const c4e::Scene sound = SoundScene();
  EXPECT_TRUE(kit::SceneProblems(sound).empty());
  const kit::SceneFigures figures = kit::Measure(sound);
  EXPECT_EQ(figures.meshes, 1);
  EXPECT_EQ(figures.dummies, 1);
  EXPECT_EQ(figures.triangles, static_cast<int>(sound.polyObjects[1].polygons.size()));
  EXPECT_EQ(figures.morphingVertices, static_cast<int>(sound.polyObjects[1].vertices.size()));
  EXPECT_EQ(figures.lastFrame, 40);
  EXPECT_EQ(sound.objectCount, 4);

  struct Fault {
    const char* what;
    std::function<void(c4e::Scene&)> apply;
  };
  const Fault faults[] = {
      {"short morph key", [](c4e::Scene& s) { s.polyObjects[1].morphKeys[1].positions.pop_back(); }},
      {"morph not from 0", [](c4e::Scene& s) { s.polyObjects[1].morphKeys[0].frame = 5; }},
      {"track out of order", [](c4e::Scene& s) { s.cameras[0].track.keys[1].frame = 0; }},
      {"unknown material", [](c4e::Scene& s) { s.polyObjects[1].materialName = "gold"; }},
      {"unknown target", [](c4e::Scene& s) { s.cameras[0].targetId = 99; }},
      {"unknown light target", [](c4e::Scene& s) { s.lights[0].targetId = 99; }},
      {"unknown parent", [](c4e::Scene& s) { s.polyObjects[1].parentId = 98; }},
      {"index out of range", [](c4e::Scene& s) { s.polyObjects[1].polygons[0][1] = 100000; }},
      {"missing uvs", [](c4e::Scene& s) { s.polyObjects[1].uvs.pop_back(); }},
      {"no camera", [](c4e::Scene& s) { s.cameras.clear(); }},
      {"no light", [](c4e::Scene& s) { s.lights.clear(); }},
      {"nine lights", [](c4e::Scene& s) { s.lights.resize(9, s.lights[0]); }},
      {"too many triangles", [](c4e::Scene& s) { s.polyObjects[1].polygons.resize(60001, s.polyObjects[1].polygons[0]); s.polyObjects[1].uvs.resize(60001); }},
      {"too many morphing vertices", [](c4e::Scene& s) {
         c4e::PolyObject& m = s.polyObjects[1];
         m.vertices.resize(15001);
         for (c4e::MorphKey& key : m.morphKeys) key.positions.resize(15001);
       }},
  };
  for (const Fault& fault : faults) {
    c4e::Scene scene = SoundScene();
    fault.apply(scene);
    EXPECT_EQ(kit::SceneProblems(scene).size(), 1u) << fault.what;
  }
}

TEST(CaptionTest, WhiteTextWithAShadowInsideATransparentPicture) {
  const kit::Picture caption = kit::TypesetCaption("Magnetic field", kit::CaptionFontPath());
  ASSERT_EQ(caption.width, kit::kCaptionWidth);
  ASSERT_EQ(caption.height, kit::kCaptionHeight);
  EXPECT_NEAR(static_cast<float>(caption.width) / caption.height, 4.4f, 0.01f);
  int x0 = caption.width, x1 = -1, y0 = caption.height, y1 = -1, white = 0, shade = 0;
  for (int y = 0; y < caption.height; ++y)
    for (int x = 0; x < caption.width; ++x) {
      const float* p = caption.At(x, y);
      if (p[3] <= 0.0f) continue;
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      if (p[3] > 0.99f && p[0] > 0.99f) ++white;
      if (p[3] > 0.2f && p[0] < 0.05f) ++shade;
    }
  // Everything drawn, shadow included, stays inside the margin; the text is wide and tall enough
  // to read, solid white letters with dark shadow beside them.
  EXPECT_GE(x0, kit::kCaptionMargin);
  EXPECT_GE(y0, kit::kCaptionMargin);
  EXPECT_LT(x1, caption.width - kit::kCaptionMargin);
  EXPECT_LT(y1, caption.height - kit::kCaptionMargin);
  EXPECT_GT(x1 - x0, caption.width / 2);
  EXPECT_GT(y1 - y0, caption.height / 3);
  EXPECT_GT(white, 3000);
  EXPECT_GT(shade, 300);
  // Corners and edges are fully transparent.
  EXPECT_EQ(caption.At(0, 0)[3], 0.0f);
  EXPECT_EQ(caption.At(caption.width - 1, caption.height - 1)[3], 0.0f);
  // The same text gives the same picture; a face that cannot be read gives none.
  EXPECT_EQ(kit::TypesetCaption("Magnetic field", kit::CaptionFontPath()).rgba, caption.rgba);
  EXPECT_EQ(kit::TypesetCaption("x", "/nonexistent/face.otf").width, 0);
}

}  // namespace
