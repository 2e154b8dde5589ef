// The extruded letters are solids: closed (every edge shared by exactly two triangles), wound the
// same way everywhere (each edge runs once in each direction) and outwards (positive volume).
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

#include "FinaleContent.h"
#include "Geodesic.h"
#include "LogoScene.h"
#include "Triangulate.h"

namespace {

// The number of directed edges that are not matched by exactly one edge the other way.
int UnmatchedEdges(const logo::Solid& solid) {
  std::map<std::pair<int, int>, int> directed;
  for (const auto& t : solid.triangles)
    for (int k = 0; k < 3; ++k) ++directed[{t[k], t[(k + 1) % 3]}];
  int unmatched = 0;
  for (const auto& [edge, count] : directed) {
    const auto back = directed.find({edge.second, edge.first});
    if (count != 1 || back == directed.end() || back->second != 1) ++unmatched;
  }
  return unmatched;
}

float Volume(const logo::Solid& solid) { return kit::EnclosedVolume(solid.positions, solid.triangles); }

const logo::LogoSolids& Solids() {
  static logo::LogoSolids solids;
  static const bool built = [] {
    std::string error;
    return logo::BuildLogoSolids(PULSAR_LOGO_FONT, &solids, &error);
  }();
  EXPECT_TRUE(built);
  return solids;
}

TEST(LogoSolidTest, EveryLetterIsClosedAndConsistentlyWound) {
  const logo::LogoSolids& solids = Solids();
  ASSERT_EQ(solids.letters.size(), 6u);
  for (size_t i = 0; i < solids.letters.size(); ++i) {
    const logo::Solid& letter = solids.letters[i];
    EXPECT_EQ(UnmatchedEdges(letter), 0) << "letter " << logo::kWord[i];
    EXPECT_GT(Volume(letter), 0.0f) << "letter " << logo::kWord[i] << " is wound inwards";
  }
  EXPECT_EQ(UnmatchedEdges(solids.plinth), 0);
  EXPECT_GT(Volume(solids.plinth), 0.0f);
}

TEST(LogoSolidTest, LettersStandOnThePlinthAndTouch) {
  const logo::LogoSolids& solids = Solids();
  float plinthTop = -1e9f;
  for (const c4e::Vec3& p : solids.plinth.positions) plinthTop = std::fmax(plinthTop, p.y);
  std::vector<std::pair<float, float>> spans;
  for (const logo::Solid& letter : solids.letters) {
    float low = 1e9f, left = 1e9f, right = -1e9f;
    for (const c4e::Vec3& p : letter.positions) low = std::fmin(low, p.y), left = std::fmin(left, p.x), right = std::fmax(right, p.x);
    // Sunk into the plinth a little, never floating above it.
    EXPECT_LT(low, plinthTop);
    EXPECT_GT(low, plinthTop - 5.0f);
    spans.push_back({left, right});
  }
  // Tight set: neighbouring letters meet or overlap somewhere along the word (the joints).
  int joints = 0;
  std::string gaps;
  for (size_t i = 0; i + 1 < spans.size(); ++i) {
    if (spans[i].second >= spans[i + 1].first) ++joints;
    gaps += std::to_string(spans[i + 1].first - spans[i].second) + " ";
  }
  EXPECT_GE(joints, 3) << "gaps between the letters: " << gaps;
}

TEST(LogoSolidTest, TheWrittenMeshesKeepEveryTriangle) {
  const std::unique_ptr<Scene> scene = ReadScene("logo.c4e");
  ASSERT_NE(scene, nullptr);
  const logo::LogoSolids& solids = Solids();
  size_t triangles = solids.plinth.triangles.size();
  for (const logo::Solid& letter : solids.letters) triangles += letter.triangles.size();
  int written = 0;
  for (const auto& object : scene->polyObjects)
    if (object->id != logo::kFloorId && !object->isDummy) written += object->polygonCount;
  EXPECT_EQ(written, static_cast<int>(triangles));
}

TEST(TriangulateTest, SquareWithAHoleIsCoveredExactly) {
  const logo::Contour outer{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const logo::Contour hole{{3, 3}, {3, 7}, {7, 7}, {7, 3}};  // clockwise
  std::vector<std::array<int, 3>> triangles;
  ASSERT_TRUE(logo::TriangulateShape(outer, {hole}, &triangles));
  // n + 2h − 2 triangles for n points and h holes.
  EXPECT_EQ(triangles.size(), 8u);
  std::vector<logo::Point2> points(outer);
  points.insert(points.end(), hole.begin(), hole.end());
  float area = 0.0f;
  for (const auto& t : triangles) {
    const logo::Contour triangle{points[t[0]], points[t[1]], points[t[2]]};
    const float a = logo::SignedArea2(triangle) / 2;
    EXPECT_GE(a, 0.0f) << "every triangle anticlockwise";
    area += a;
  }
  EXPECT_FLOAT_EQ(area, 100.0f - 16.0f);
}

TEST(TriangulateTest, ConcaveOutlineStaysInside) {
  // An L: the ear at the inner corner must not be cut across the notch.
  const logo::Contour outline{{0, 0}, {6, 0}, {6, 2}, {2, 2}, {2, 6}, {0, 6}};
  std::vector<std::array<int, 3>> triangles;
  ASSERT_TRUE(logo::TriangulateShape(outline, {}, &triangles));
  EXPECT_EQ(triangles.size(), 4u);
  float area = 0.0f;
  for (const auto& t : triangles) area += logo::SignedArea2({outline[t[0]], outline[t[1]], outline[t[2]]}) / 2;
  EXPECT_FLOAT_EQ(area, 20.0f);
}

TEST(LogoSceneTest, TheCameraStaysOutsideTheLogoAndAboveTheStage) {
  c4e::Scene scene;
  std::string error;
  ASSERT_TRUE(logo::LogoScene(PULSAR_LOGO_FONT, &scene, &error)) << error;
  const logo::LogoSolids& solids = Solids();
  for (const c4e::TrackKey& key : scene.cameras[0].track.keys) {
    EXPECT_GT(key.position.y, 20.0f);
    // Farther from the centre than any point of the plinth.
    float reach = 0.0f;
    for (const c4e::Vec3& p : solids.plinth.positions) reach = std::fmax(reach, std::hypot(p.x, p.z));
    EXPECT_GT(std::hypot(key.position.x, key.position.z), reach) << "frame " << key.frame;
  }
}

}  // namespace
