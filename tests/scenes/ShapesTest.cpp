#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "Shapes.h"
#include "Spline.h"

namespace {

using kit::Vec2;
using kit::Vec3;

Vec3 FaceNormal(const c4e::PolyObject& mesh, size_t polygon) {
  const auto& p = mesh.polygons[polygon];
  const Vec3 a = mesh.vertices[p[0]], b = mesh.vertices[p[1]], c = mesh.vertices[p[2]];
  return kit::Cross(b - a, c - a);
}

Vec3 Centroid(const c4e::PolyObject& mesh, size_t polygon) {
  const auto& p = mesh.polygons[polygon];
  return (mesh.vertices[p[0]] + mesh.vertices[p[1]] + mesh.vertices[p[2]]) / 3.0f;
}

// Every triangle has area, indices in range and one uv record; and its face normal points away
// from the axis or centre that outward(centroid) names.
void ExpectFacing(const c4e::PolyObject& mesh, const std::function<Vec3(Vec3)>& outward, const char* what) {
  ASSERT_FALSE(mesh.polygons.empty()) << what;
  ASSERT_EQ(mesh.uvs.size(), mesh.polygons.size()) << what;
  int wrong = 0;
  for (size_t i = 0; i < mesh.polygons.size(); ++i) {
    for (int32_t index : mesh.polygons[i]) ASSERT_LT(static_cast<size_t>(index), mesh.vertices.size()) << what;
    const Vec3 n = FaceNormal(mesh, i);
    ASSERT_GT(kit::Length(n), 0.0f) << what << " triangle " << i;
    if (kit::Dot(n, outward(Centroid(mesh, i))) <= 0.0f) ++wrong;
  }
  EXPECT_EQ(wrong, 0) << what << ": triangles facing the wrong way";
}

Vec3 FromOrigin(Vec3 p) { return p; }

TEST(ShapesTest, ClosedShapesFaceOutward) {
  c4e::PolyObject sphere, box, torus, displaced, lathe, extrusion;
  kit::AppendSphere(sphere, 10.0f, 12, 8);
  ExpectFacing(sphere, FromOrigin, "sphere");
  kit::AppendBox(box, 4.0f, 6.0f, 8.0f, 1.0f);
  ExpectFacing(box, FromOrigin, "box");
  kit::AppendTorus(torus, 10.0f, 2.0f, 16, 8);
  ExpectFacing(torus, [](Vec3 p) {
    const Vec3 ring = kit::Normalize(Vec3{p.x, 0.0f, p.z}) * 10.0f;
    return p - ring;
  }, "torus");
  kit::AppendDisplacedSphere(displaced, 10.0f, 16, 8, [](Vec3 d) { return 0.2f * d.x * d.y; });
  ExpectFacing(displaced, FromOrigin, "displaced sphere");
  // A vase: closed at the bottom (radius 0), open at the top, profile running upward.
  kit::AppendLathe(lathe, {{0.0f, 0.0f}, {5.0f, 0.0f}, {6.0f, 4.0f}, {4.0f, 9.0f}}, 16, 1.0f, 1.0f);
  ExpectFacing(lathe, [](Vec3 p) { return p.y < 0.01f ? Vec3{0.0f, -1.0f, 0.0f} : Vec3{p.x, 0.0f, p.z}; }, "lathe");
  // An L-shaped outline (not convex) extruded.
  const std::vector<Vec2> outline{{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}};
  kit::AppendExtrusion(extrusion, outline, 2.0f, 1.0f);
  EXPECT_EQ(kit::Triangulate(outline).size(), outline.size() - 2);
  ExpectFacing(extrusion, [&](Vec3 p) {
    if (p.z < 1e-4f) return Vec3{0, 0, -1};
    if (p.z > 2.0f - 1e-4f) return Vec3{0, 0, 1};
    // Sides: the outward direction of the L's edge the centroid lies on.
    if (p.y < 1e-4f) return Vec3{0, -1, 0};
    if (p.x < 1e-4f) return Vec3{-1, 0, 0};
    if (std::fabs(p.x - 4) < 1e-4f) return Vec3{1, 0, 0};
    if (std::fabs(p.y - 3) < 1e-4f) return Vec3{0, 1, 0};
    if (std::fabs(p.y - 1) < 1e-4f) return Vec3{0, 1, 0};
    return Vec3{1, 0, 0};  // the inner wall at x = 1
  }, "extrusion");
}

TEST(ShapesTest, SweptTubesFaceOutOrInAndGridsFaceTheirNormal) {
  const kit::Spline path({{0, 0, 0}, {0, 0, 50}, {30, 0, 100}, {60, 10, 140}}, false);
  kit::SweepParams sweep;
  sweep.segments = 40;
  sweep.sides = 12;
  c4e::PolyObject outside, inside;
  kit::AppendTube(outside, path, sweep, [](float) { return 5.0f; });
  sweep.inward = true;
  kit::AppendTube(inside, path, sweep, [](float along) { return 5.0f + 3.0f * along; });
  // The nearest point of the path to a centroid is the tube's axis there.
  auto away = [&](Vec3 p) {
    Vec3 best = path.Point(0.0f);
    for (int i = 0; i <= 400; ++i) {
      const Vec3 q = path.Point(i / 400.0f);
      if (kit::Length(q - p) < kit::Length(best - p)) best = q;
    }
    return p - best;
  };
  ExpectFacing(outside, away, "tube");
  ExpectFacing(inside, [&](Vec3 p) { return -away(p); }, "tunnel");
  EXPECT_EQ(outside.vertices.size(), static_cast<size_t>(12 * 41));

  c4e::PolyObject grid;
  kit::AppendGrid(grid, {0, 0, 0}, {10, 0, 0}, {0, 5, 0}, 4, 2, 1.0f, 1.0f, true);
  ASSERT_EQ(grid.polygons.size(), 2u * 2 * 4 * 2);
  // The front half faces edgeU × edgeV (+z), the back half the other way, on its own vertices.
  for (size_t i = 0; i < grid.polygons.size(); ++i) {
    const float z = FaceNormal(grid, i).z;
    if (i < grid.polygons.size() / 2) {
      EXPECT_GT(z, 0.0f);
    } else {
      EXPECT_LT(z, 0.0f);
    }
  }
  EXPECT_EQ(grid.vertices.size(), 2u * 5 * 3);
}

TEST(SplineTest, PassesThroughItsPointsAndMeasuresArcLength) {
  const std::vector<Vec3> points{{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}};
  const kit::Spline open(points, false);
  EXPECT_NEAR(kit::Length(open.Point(0.0f) - points[0]), 0.0f, 1e-4f);
  EXPECT_NEAR(kit::Length(open.Point(1.0f / 3) - points[1]), 0.0f, 1e-3f);
  EXPECT_NEAR(kit::Length(open.Point(1.0f) - points[3]), 0.0f, 1e-3f);
  EXPECT_GT(open.Length(), 300.0f);
  EXPECT_LT(open.Length(), 340.0f);
  // Equal distances along the curve are equal chords on a fine scale.
  float previous = -1.0f;
  for (int i = 0; i <= 20; ++i) {
    const float t = open.ParameterAt(open.Length() * i / 20);
    EXPECT_GT(t, previous);
    previous = t;
  }
  const Vec3 a = open.PointAtDistance(150.0f), b = open.PointAtDistance(151.0f);
  EXPECT_NEAR(kit::Length(b - a), 1.0f, 0.02f);

  // A closed square loop: frames stay orthonormal and the last joins the first without a twist.
  const kit::Spline loop(points, true);
  const std::vector<kit::Frame> frames = loop.Frames(64, {0, 0, 1});
  ASSERT_EQ(frames.size(), 64u);
  for (const kit::Frame& f : frames) {
    EXPECT_NEAR(kit::Length(f.tangent), 1.0f, 1e-4f);
    EXPECT_NEAR(kit::Length(f.normal), 1.0f, 1e-4f);
    EXPECT_NEAR(kit::Dot(f.tangent, f.normal), 0.0f, 1e-3f);
    EXPECT_NEAR(kit::Length(kit::Cross(f.tangent, f.normal) - f.binormal), 0.0f, 1e-4f);
  }
  EXPECT_GT(kit::Dot(frames.back().normal, frames.front().normal), 0.95f);
  EXPECT_GT(kit::Dot(frames.front().normal, Vec3{0, 0, 1}), 0.99f);
}

}  // namespace
