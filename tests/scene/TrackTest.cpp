#include <gtest/gtest.h>

#include "SceneFixtures.h"
#include "scene/Morph.h"
#include "scene/SceneObject.h"
#include "scene/Track.h"

namespace scene_test {
namespace {

TrackKey Key(int32_t frame, int32_t interpolation, D3DXVECTOR3 position, D3DXVECTOR3 rotation = {},
             D3DXVECTOR3 scale = {1, 1, 1}) {
  TrackKey key;
  key.frame = frame;
  key.time = static_cast<uint32_t>(frame) * 40;
  key.interpolation = interpolation;
  key.position = position;
  key.rotation = rotation;
  key.scale = scale;
  return key;
}

Track TwoKeys(int32_t interpolation) {
  Track track;
  track.keys = {Key(0, interpolation, {0, 0, 0}), Key(25, interpolation, {10, 0, 0})};
  track.keyCount = 2;
  return track;
}

TEST(TrackTest, BlendsOfTheSpanBetweenFramesZeroAndTwentyFive) {
  Track linear = TwoKeys(kInterpolationLinear);
  linear.Evaluate(250);
  EXPECT_FLOAT_EQ(linear.position.x, 2.5f);
  Track hermite = TwoKeys(kInterpolationHermite);
  hermite.Evaluate(250);
  EXPECT_FLOAT_EQ(hermite.position.x, 1.5625f);
  Track step = TwoKeys(kInterpolationStep);
  step.Evaluate(250);
  EXPECT_FLOAT_EQ(step.position.x, 0.0f);
  EXPECT_EQ(step.scale, D3DXVECTOR3(1, 1, 1));
}

TEST(TrackTest, KeyTimeUsesTheSpanThatStartsThere) {
  Track track;
  track.keys = {Key(0, kInterpolationLinear, {0, 0, 0}), Key(25, kInterpolationStep, {10, 0, 0}),
                Key(50, kInterpolationLinear, {20, 0, 0})};
  track.keyCount = 3;
  track.Evaluate(1000);  // exactly key 1: its own span (step) with s = 0
  EXPECT_EQ(track.position.x, 10.0f);
  track.Evaluate(1999);
  EXPECT_EQ(track.position.x, 10.0f);
  track.Evaluate(999);
  EXPECT_NEAR(track.position.x, 9.99f, 1e-4f);
  // From the last key on, and before the first, the nearest key holds.
  track.Evaluate(5000);
  EXPECT_EQ(track.position.x, 20.0f);
  track.Evaluate(-40);
  EXPECT_EQ(track.position.x, 0.0f);
}

TEST(TrackTest, EulerAnglesBlendWithoutWrapping) {
  Track track;
  track.keys = {Key(0, kInterpolationLinear, {}, {0, 0, 0}), Key(10, kInterpolationLinear, {}, {6.0f, 0, -6.0f})};
  track.keyCount = 2;
  track.Evaluate(200);
  EXPECT_FLOAT_EQ(track.rotation.x, 3.0f);
  EXPECT_FLOAT_EQ(track.rotation.z, -3.0f);
}

TEST(TrackTest, TooFewKeysOrAnUnknownCodeLeaveTheValues) {
  Track single;
  single.keys = {Key(0, kInterpolationLinear, {5, 5, 5})};
  single.keyCount = 1;
  single.Evaluate(100);
  EXPECT_EQ(single.position, D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(single.scale, D3DXVECTOR3(0, 0, 0));

  Track unknown = TwoKeys(7);
  unknown.position = D3DXVECTOR3(-1, -2, -3);
  unknown.Evaluate(500);
  EXPECT_EQ(unknown.position, D3DXVECTOR3(-1, -2, -3));
}

TEST(WorldMatrixTest, ScaleRotateTranslateThenParent) {
  SceneObject object;
  object.scale = D3DXVECTOR3(2, 2, 2);
  object.rotation = D3DXVECTOR3(D3DX_PI / 2, 0, 0);  // x of the pose turns about the y axis
  object.position = D3DXVECTOR3(0, 0, 5);
  D3DXMATRIX parent;
  D3DXMatrixTranslation(&parent, 100, 0, 0);
  ComputeWorld(&object, parent);

  D3DXVECTOR3 out;
  const D3DXVECTOR3 alongZ(0, 0, 1);
  D3DXVec3TransformCoord(&out, &alongZ, &object.rotationMatrix);
  // yaw = −π/2 about y: +z turns to −x.
  EXPECT_NEAR(out.x, -1.0f, 1e-6f);
  EXPECT_NEAR(out.z, 0.0f, 1e-6f);
  D3DXVec3TransformCoord(&out, &alongZ, &object.world);
  EXPECT_NEAR(out.x, 100.0f - 2.0f, 1e-5f);
  EXPECT_NEAR(out.y, 0.0f, 1e-5f);
  EXPECT_NEAR(out.z, 5.0f, 1e-5f);
  EXPECT_EQ(object.translation._43, 5.0f);
  EXPECT_EQ(object.scaling._22, 2.0f);

  // rotation.y turns about the x axis: +y turns towards −z for a negative pitch.
  object.scale = D3DXVECTOR3(1, 1, 1);
  object.rotation = D3DXVECTOR3(0, D3DX_PI / 2, 0);
  ComputeWorld(&object, parent);
  const D3DXVECTOR3 alongY(0, 1, 0);
  D3DXVec3TransformCoord(&out, &alongY, &object.rotationMatrix);
  EXPECT_NEAR(out.z, -1.0f, 1e-6f);
}

TEST(MorphTest, BlendsPositionsAndRebuildsTheVertexData) {
  c4e::Scene description = CompleteScene();
  description.polyObjects[2].smoothNormals = false;
  ReadResult result = ReadScene(description);
  ASSERT_EQ(result.message, nullptr);
  PolyObject* mesh = result.scene->FindPolyObject(kMorphId);
  ASSERT_NE(mesh, nullptr);
  ASSERT_EQ(mesh->vertexData.size(), 18u);
  EXPECT_EQ(mesh->currentPositions[4].y, 2.0f);  // starts at the first key

  EvaluateMorph(mesh, 1000);  // half way from key 0 (apex y 2) to key 1 (y 3), linear
  EXPECT_FLOAT_EQ(mesh->currentPositions[4].y, 2.5f);
  // Triangle 2 is (0, 4, 1): its second corner is the apex.
  EXPECT_FLOAT_EQ(mesh->vertexData[7].position.y, 2.5f);
  // Flat shading while animated: the normalised sum of the three current vertex normals.
  D3DXVECTOR3 sum = mesh->currentNormals[0] + mesh->currentNormals[4] + mesh->currentNormals[1];
  D3DXVec3Normalize(&sum, &sum);
  for (int corner = 6; corner < 9; ++corner) {
    EXPECT_NEAR(mesh->vertexData[corner].normal.x, sum.x, 1e-6f);
    EXPECT_NEAR(mesh->vertexData[corner].normal.y, sum.y, 1e-6f);
    EXPECT_NEAR(mesh->vertexData[corner].normal.z, sum.z, 1e-6f);
  }
  // ... which is not the face normal a static flat mesh gets.
  EXPECT_GT(std::abs(sum.y - mesh->polygons[2].faceNormal.y), 1e-3f);
  // Colour, texture coordinate and tangent frame survive the rebuild.
  EXPECT_EQ(mesh->vertexData[7].color, D3DXCOLOR(0.25f, 0.5f, 0.75f, 0.0f));
  EXPECT_EQ(mesh->vertexData[7].tangent, mesh->polygons[2].tangent);

  EvaluateMorph(mesh, 100000);  // past the last key: it holds
  EXPECT_FLOAT_EQ(mesh->currentPositions[4].y, 4.0f);
}

}  // namespace
}  // namespace scene_test
