// The show's first scenes as the build generated them into the data stage, read back with the
// show's own reader: budgets, sound morph data, textures present, unit normals, cameras clear of
// the geometry through each scene's window, and lengths that fit how far the show runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "GeneratedSceneProbe.h"
#include "scene/Scene.h"
#include "scene/SceneAssembly.h"
#include "scene/SceneFileReader.h"

namespace {

namespace fs = std::filesystem;

fs::path Stage() { return scene_probe::StagedData(); }

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::unique_ptr<Scene> Load(const std::string& name) {
  const std::vector<uint8_t> bytes = ReadAll(Stage() / name);
  if (bytes.empty()) return nullptr;
  auto scene = std::make_unique<Scene>(RenderContext{});
  SceneFileReader reader(bytes.data(), bytes.size());
  if (reader.Read(scene.get()) != nullptr) return nullptr;
  AssembleScene(scene.get(), nullptr, nullptr);
  return scene;
}

// Width and height from a PNG's header; 0 × 0 when it is not a PNG.
std::pair<int, int> PngSize(const fs::path& path) {
  const std::vector<uint8_t> b = ReadAll(path);
  if (b.size() < 24 || b[1] != 'P' || b[2] != 'N' || b[3] != 'G') return {0, 0};
  auto be32 = [&b](size_t at) { return static_cast<int>((b[at] << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3]); };
  return {be32(16), be32(20)};
}

struct SceneCase {
  const char* file;
  int furthestFrame;                  // how far the show's clock runs the scene in its window
  std::set<std::string> mayEnclose;   // meshes the camera flies inside (the tunnels' tubes)
  float clearance;                    // nearest a camera may come to any triangle
  int passes = 1;                     // times the show's clock runs through it, one camera each
};

void PrintTo(const SceneCase& c, std::ostream* out) { *out << c.file; }

const SceneCase kCases[] = {
    {"flagge1.c4e", 138, {}, 40.0f},
    {"flagge2.c4e", 208, {}, 20.0f},
    {"tunnel1.c4e", 588, {"shell"}, 20.0f},
    {"tunnel2.c4e", 588, {"wall"}, 15.0f},
    {"magnet.c4e", 438, {}, 60.0f},
    {"zelle.c4e", 288, {}, 50.0f},
    {"qualle.c4e", 499, {"water"}, 40.0f},
    {"fratze.c4e", 540, {}, 80.0f},
    {"blob.c4e", 905, {}, 80.0f, 2},
    {"soft.c4e", 602, {}, 60.0f},
    {"logo.c4e", 623, {}, 100.0f},
};

class GeneratedScenesTest : public ::testing::TestWithParam<SceneCase> {};

TEST_P(GeneratedScenesTest, WithinBudgetWithSoundMorphsAndTheirTextures) {
  const SceneCase& c = GetParam();
  const std::unique_ptr<Scene> scene = Load(c.file);
  ASSERT_NE(scene, nullptr) << c.file << " is missing from the stage or unreadable";
  EXPECT_LE(scene->polygonTotal, 60000);
  int morphing = 0;
  for (const auto& object : scene->polyObjects) {
    if (object->isDummy) continue;
    ASSERT_NE(object->material, nullptr);
    EXPECT_FALSE(object->materialName.empty() || object->material == scene->defaultMaterial.get())
        << object->name << " draws with the default material";
    if (object->morphKeys.empty()) continue;
    morphing += object->vertexCount;
    for (const auto& key : object->morphKeys) EXPECT_EQ(key->vertexCount, object->vertexCount) << object->name;
  }
  EXPECT_LE(morphing, 15000);
  EXPECT_GE(scene->cameras.size(), 1u);
  EXPECT_GE(scene->lights.size(), 3u) << "key, fill and rim";

  for (const auto& material : scene->materials) {
    struct Map {
      bool present;
      std::string name;
      int limit;
    };
    const Map maps[] = {{material->hasDiffuseMap, material->diffuseMap, 1024},
                        {material->hasNormalMap, material->normalMap, 512},
                        {material->hasLuminanceMap, material->luminanceMap, 1024},
                        {material->hasEnvironmentMap, material->environmentMap, 1024},
                        {material->hasReflectionMap, material->reflectionMap, 1024}};
    for (const Map& map : maps) {
      if (!map.present) continue;
      ASSERT_TRUE(fs::exists(Stage() / map.name)) << c.file << " names " << map.name;
      if (map.name.ends_with(".png")) {
        const auto [w, h] = PngSize(Stage() / map.name);
        EXPECT_GT(w, 0) << map.name;
        EXPECT_LE(std::max(w, h), map.limit) << map.name;
      }
    }
  }
}

TEST_P(GeneratedScenesTest, NormalsAreUnitLength) {
  const SceneCase& c = GetParam();
  const std::unique_ptr<Scene> scene = Load(c.file);
  ASSERT_NE(scene, nullptr);
  for (const auto& object : scene->polyObjects) {
    if (object->isDummy) continue;
    int bad = 0;
    for (const MeshVertex& v : object->vertexData)
      if (std::fabs(D3DXVec3Length(&v.normal) - 1.0f) > 1e-3f) ++bad;
    for (const auto& key : object->morphKeys)
      for (const D3DXVECTOR3& n : key->normals)
        if (std::fabs(D3DXVec3Length(&n) - 1.0f) > 1e-3f) ++bad;
    EXPECT_EQ(bad, 0) << c.file << ": " << object->name << " (degenerate triangles or lone vertices)";
  }
}

TEST_P(GeneratedScenesTest, LastsThroughItsWindowWithoutLooping) {
  const SceneCase& c = GetParam();
  const std::unique_ptr<Scene> scene = Load(c.file);
  ASSERT_NE(scene, nullptr);
  // The show's clock reaches furthestFrame; the scene must not restart more often than it has
  // passes (cameras), nor run on far past it (its animation would never be seen).
  EXPECT_GT(scene->endTime * c.passes, c.furthestFrame * 40LL);
  EXPECT_LE(scene->endTime * c.passes, (c.furthestFrame + 20 * c.passes) * 40LL);
  EXPECT_GE(scene->cameraCount, c.passes) << "a camera for every pass";
}

float PointTriangleDistance(const D3DXVECTOR3& p, const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c) {
  // Closest point on the triangle (Ericson's region tests).
  const D3DXVECTOR3 ab = b - a, ac = c - a, ap = p - a;
  const float d1 = D3DXVec3Dot(&ab, &ap), d2 = D3DXVec3Dot(&ac, &ap);
  auto length = [&p](const D3DXVECTOR3& q) {
    const D3DXVECTOR3 d = p - q;
    return D3DXVec3Length(&d);
  };
  if (d1 <= 0 && d2 <= 0) return length(a);
  const D3DXVECTOR3 bp = p - b;
  const float d3 = D3DXVec3Dot(&ab, &bp), d4 = D3DXVec3Dot(&ac, &bp);
  if (d3 >= 0 && d4 <= d3) return length(b);
  const float vc = d1 * d4 - d3 * d2;
  if (vc <= 0 && d1 >= 0 && d3 <= 0) return length(a + ab * (d1 / (d1 - d3)));
  const D3DXVECTOR3 cp = p - c;
  const float d5 = D3DXVec3Dot(&ab, &cp), d6 = D3DXVec3Dot(&ac, &cp);
  if (d6 >= 0 && d5 <= d6) return length(c);
  const float vb = d5 * d2 - d1 * d6;
  if (vb <= 0 && d2 >= 0 && d6 <= 0) return length(a + ac * (d2 / (d2 - d6)));
  const float va = d3 * d6 - d5 * d4;
  if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) return length(b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6))));
  const float denom = 1.0f / (va + vb + vc);
  return length(a + ab * (vb * denom) + ac * (vc * denom));
}

// Whether the upward ray from p crosses the triangle (counted for the inside test).
bool RayUpCrosses(const D3DXVECTOR3& p, const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c) {
  // Project on x-z: p inside the triangle's shadow and the triangle above p at that point.
  const float d = (b.z - c.z) * (a.x - c.x) + (c.x - b.x) * (a.z - c.z);
  if (std::fabs(d) < 1e-9f) return false;
  const float l1 = ((b.z - c.z) * (p.x - c.x) + (c.x - b.x) * (p.z - c.z)) / d;
  const float l2 = ((c.z - a.z) * (p.x - c.x) + (a.x - c.x) * (p.z - c.z)) / d;
  const float l3 = 1.0f - l1 - l2;
  if (l1 < 0 || l2 < 0 || l3 < 0) return false;
  return l1 * a.y + l2 * b.y + l3 * c.y > p.y;
}

TEST_P(GeneratedScenesTest, CamerasStayClearOfTheGeometry) {
  const SceneCase& c = GetParam();
  const std::unique_ptr<Scene> scene = Load(c.file);
  ASSERT_NE(scene, nullptr);
  for (size_t camera = 0; camera < scene->cameras.size(); ++camera) {
    for (int sample = 0; sample <= 8; ++sample) {
      scene->currentCamera = static_cast<int32_t>(camera);
      // Within one pass: the scene restarts (with another camera) at its end.
      const int64_t reach = std::min<int64_t>(static_cast<int64_t>(c.furthestFrame) * 40, scene->endTime - 1);
      scene->time = reach * sample / 8;
      scene->Update(0, 0);
      const D3DXVECTOR3 eye = scene->cameras[camera]->position;
      // The inside test's ray starts a hair off the eye, so it never runs along a shared edge.
      const D3DXVECTOR3 probe = eye + D3DXVECTOR3(0.0137f, 0.0f, 0.0291f);
      for (const auto& object : scene->polyObjects) {
        if (object->isDummy) continue;
        float nearest = 1e30f;
        int crossings = 0;
        const auto& data = object->vertexData;
        for (size_t k = 0; k + 2 < data.size(); k += 3) {
          D3DXVECTOR3 a, b, d;
          D3DXVec3TransformCoord(&a, &data[k].position, &object->world);
          D3DXVec3TransformCoord(&b, &data[k + 1].position, &object->world);
          D3DXVec3TransformCoord(&d, &data[k + 2].position, &object->world);
          nearest = std::min(nearest, PointTriangleDistance(eye, a, b, d));
          crossings += RayUpCrosses(probe, a, b, d) ? 1 : 0;
        }
        EXPECT_GE(nearest, c.clearance) << c.file << " camera " << camera << " at " << scene->time << " ms, "
                                        << object->name;
        if (c.mayEnclose.count(object->name) == 0) {
          EXPECT_EQ(crossings % 2, 0) << c.file << " camera " << camera << " at " << scene->time << " ms is inside "
                                      << object->name;
        } else {
          EXPECT_EQ(crossings % 2, 1) << c.file << " camera " << camera << " at " << scene->time
                                      << " ms has left " << object->name;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(ShowScenes, GeneratedScenesTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SceneCase>& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
