// The blob stays one mesh: every key of its morph has the sphere's vertices, lying on the
// metaball field's iso-surface, with the normals the show computes agreeing with the field's.
#include <gtest/gtest.h>

#include <cmath>

#include "BlobScene.h"
#include "FinaleContent.h"
#include "Geodesic.h"
#include "Metaballs.h"

namespace {

using kit::Vec3;

const PolyObject* Blob(const Scene& scene) {
  for (const auto& object : scene.polyObjects)
    if (object->id == blob::kBlobId) return object.get();
  return nullptr;
}

TEST(BlobSceneTest, EveryKeyHasTheSpheresVertexCount) {
  const std::unique_ptr<Scene> scene = ReadScene("blob.c4e");
  ASSERT_NE(scene, nullptr);
  const PolyObject* mesh = Blob(*scene);
  ASSERT_NE(mesh, nullptr);
  const int f = blob::kSphereFrequency;
  EXPECT_EQ(mesh->vertexCount, 10 * f * f + 2);
  EXPECT_EQ(mesh->polygonCount, 20 * f * f);
  ASSERT_EQ(mesh->morphKeys.size(), static_cast<size_t>(blob::kLastFrame / blob::kKeyStep + 1));
  for (const auto& key : mesh->morphKeys) {
    EXPECT_EQ(key->vertexCount, mesh->vertexCount) << "frame " << key->frame;
    EXPECT_EQ(key->positions.size(), static_cast<size_t>(mesh->vertexCount));
  }
  // The loop back to the first key is seamless: the last key is the first shape.
  const auto& first = mesh->morphKeys.front()->positions;
  const auto& last = mesh->morphKeys.back()->positions;
  for (size_t v = 0; v < first.size(); ++v) ASSERT_EQ(first[v], last[v]);
}

TEST(BlobSceneTest, KeysLieOnTheIsoSurfaceWithTheFieldsNormals) {
  const std::unique_ptr<Scene> scene = ReadScene("blob.c4e");
  ASSERT_NE(scene, nullptr);
  const PolyObject* mesh = Blob(*scene);
  ASSERT_NE(mesh, nullptr);
  for (size_t k = 0; k < mesh->morphKeys.size(); ++k) {
    const MorphKey& key = *mesh->morphKeys[k];
    const std::vector<blob::Metaball> balls = blob::BallsAt(static_cast<float>(key.frame));
    const kit::Field field = [&](Vec3 p) { return blob::FieldValue(balls, p); };
    int agreeing = 0;
    for (int v = 0; v < key.vertexCount; ++v) {
      const Vec3 p{key.positions[v].x, key.positions[v].y, key.positions[v].z};
      ASSERT_NEAR(field(p), blob::kIso, 0.01f) << "frame " << key.frame << " vertex " << v;
      // The show's normal (from the triangles) against the field's gradient by central differences.
      const Vec3 expected = kit::FieldNormal(field, p, 0.05f);
      const Vec3 shown{key.normals[v].x, key.normals[v].y, key.normals[v].z};
      const float cosine = kit::Dot(expected, shown);
      EXPECT_GT(cosine, 0.0f) << "a normal points into the blob: frame " << key.frame << " vertex " << v;
      if (cosine > std::cos(15.0f * 3.14159265f / 180.0f)) ++agreeing;
    }
    // Where a satellite's neck folds, the sphere's rays graze the surface and the triangles tilt;
    // everywhere else the mesh follows the field closely.
    EXPECT_GE(agreeing, key.vertexCount * 97 / 100) << "frame " << key.frame;
  }
}

TEST(BlobSceneTest, CamerasStayOutsideTheBlob) {
  const c4e::Scene scene = blob::BlobScene();
  for (const c4e::Camera& camera : scene.cameras)
    for (const c4e::TrackKey& key : camera.track.keys) {
      const std::vector<blob::Metaball> balls = blob::BallsAt(static_cast<float>(key.frame));
      // Well outside: the field is a tenth of the surface's value there.
      EXPECT_LT(blob::FieldValue(balls, key.position), 0.1f * blob::kIso) << camera.name << " frame " << key.frame;
    }
}

TEST(GeodesicSphereTest, IsClosedOutwardAndEvenlySpread) {
  c4e::PolyObject mesh;
  kit::AppendGeodesicSphere(mesh, 6);
  ASSERT_EQ(mesh.vertices.size(), 10u * 36 + 2);
  ASSERT_EQ(mesh.polygons.size(), 20u * 36);
  // A closed outward mesh of the unit sphere encloses a little less than 4π/3.
  const float volume = kit::EnclosedVolume(mesh.vertices, mesh.polygons);
  EXPECT_GT(volume, 0.95f * 4.18879f);
  EXPECT_LT(volume, 4.18879f);
  const std::vector<Vec3> normals = kit::VertexNormals(mesh.vertices, mesh.polygons);
  for (size_t v = 0; v < mesh.vertices.size(); ++v) ASSERT_GT(kit::Dot(normals[v], mesh.vertices[v]), 0.99f);
}

TEST(GeodesicSphereTest, ProjectionFindsTheOutermostCrossing) {
  // Two nested shells (inside |p| < 1 and 2 < |p| < 3): the ray must stop at the outer one.
  const kit::Field shells = [](Vec3 p) {
    const float r = kit::Length(p);
    return (r < 1.0f || (r > 2.0f && r < 3.0f)) ? 1.0f : 0.0f;
  };
  const Vec3 hit = kit::ProjectRay(shells, 0.5f, Vec3{}, kit::Normalize(Vec3{1, 2, 2}), 5.0f);
  EXPECT_NEAR(kit::Length(hit), 3.0f, 0.01f);
  // A field that never reaches the level leaves the vertex at the centre.
  const Vec3 none = kit::ProjectRay([](Vec3) { return 0.0f; }, 0.5f, Vec3{1, 1, 1}, Vec3{0, 1, 0}, 5.0f);
  EXPECT_EQ(none.x, 1.0f);
  EXPECT_EQ(none.y, 1.0f);
}

}  // namespace
