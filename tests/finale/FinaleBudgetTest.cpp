// What every one of the three scenes must hold to: the show's reader takes it, it stays within
// the budgets, every picture a material names is in the archive at an allowed size, its normals
// are unit vectors, and its clock fits the show's slot.
#include <gtest/gtest.h>

#include <cmath>

#include "FinaleContent.h"

namespace {

struct Expectation {
  const char* file;
  int sceneNumber;
  int cameras;  // passes the show's clock needs, one camera each
};

class FinaleSceneTest : public testing::TestWithParam<Expectation> {};

TEST_P(FinaleSceneTest, StaysWithinTheBudgets) {
  const std::unique_ptr<Scene> scene = ReadScene(GetParam().file);
  ASSERT_NE(scene, nullptr);
  EXPECT_LE(scene->polygonTotal, 60000);
  int morphing = 0;
  for (const auto& object : scene->polyObjects)
    if (!object->isDummy && !object->morphKeys.empty()) morphing += object->vertexCount;
  EXPECT_LE(morphing, 15000);
  EXPECT_GE(scene->lightCount, 3) << "key, fill and rim";
}

TEST_P(FinaleSceneTest, EveryNamedPictureIsWrittenAtAnAllowedSize) {
  const std::unique_ptr<Scene> scene = ReadScene(GetParam().file);
  ASSERT_NE(scene, nullptr);
  for (const auto& material : scene->materials) {
    auto check = [&](bool present, const std::string& name, int limit) {
      if (!present) return;
      int width = 0, height = 0;
      ASSERT_TRUE(PictureSize(FinaleDirectory() / name, &width, &height)) << name;
      EXPECT_LE(width, limit) << name;
      EXPECT_LE(height, limit) << name;
    };
    check(material->hasDiffuseMap, material->diffuseMap, 1024);
    check(material->hasNormalMap, material->normalMap, 512);
    check(material->hasLuminanceMap, material->luminanceMap, 1024);
    check(material->hasEnvironmentMap, material->environmentMap, 1024);
    check(material->hasReflectionMap, material->reflectionMap, 1024);
  }
}

TEST_P(FinaleSceneTest, NormalsAreUnitVectors) {
  const std::unique_ptr<Scene> scene = ReadScene(GetParam().file);
  ASSERT_NE(scene, nullptr);
  for (const auto& object : scene->polyObjects) {
    if (object->isDummy) continue;
    for (const MeshVertex& v : object->vertexData)
      ASSERT_NEAR(std::sqrt(v.normal.x * v.normal.x + v.normal.y * v.normal.y + v.normal.z * v.normal.z), 1.0f, 1e-3f)
          << object->name;
    for (const auto& key : object->morphKeys)
      for (const D3DXVECTOR3& n : key->normals)
        ASSERT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0f, 1e-3f) << object->name << " frame " << key->frame;
  }
}

TEST_P(FinaleSceneTest, ClockFitsTheShowsSlot) {
  const std::unique_ptr<Scene> scene = ReadScene(GetParam().file);
  ASSERT_NE(scene, nullptr);
  ASSERT_GT(scene->endTime, 0);
  const int furthest = FurthestFrame(GetParam().sceneNumber);
  const int passes = static_cast<int>(furthest * 40 / scene->endTime) + 1;
  EXPECT_EQ(passes, GetParam().cameras) << "furthest frame " << furthest << ", end " << scene->endTime << " ms";
  EXPECT_EQ(scene->cameraCount, GetParam().cameras);
}

INSTANTIATE_TEST_SUITE_P(Scenes, FinaleSceneTest,
                         testing::Values(Expectation{"blob.c4e", 0, 2}, Expectation{"soft.c4e", 9, 1},
                                         Expectation{"logo.c4e", 10, 1}),
                         [](const testing::TestParamInfo<Expectation>& info) {
                           return std::string(info.param.file).substr(0, 4);
                         });

TEST(FinaleClockTest, FurthestFramesMatchTheSceneClockTable) {
  // The art brief's table of how far each clock runs: 905, 602 and 623.
  EXPECT_NEAR(FurthestFrame(0), 905, 2);
  EXPECT_NEAR(FurthestFrame(9), 602, 2);
  EXPECT_NEAR(FurthestFrame(10), 623, 2);
}

}  // namespace
