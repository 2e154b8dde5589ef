#include <gtest/gtest.h>

#include <cmath>

#include "math/d3dx_math.h"

namespace {

constexpr float kTolerance = 1e-5f;

void ExpectMatrixNear(const D3DXMATRIX& expected, const D3DXMATRIX& actual, float tolerance = kTolerance) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_NEAR(expected.m[r][c], actual.m[r][c], tolerance) << "element _" << r + 1 << c + 1;
}

void ExpectVectorNear(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual, float tolerance = kTolerance) {
  EXPECT_NEAR(expected.x, actual.x, tolerance);
  EXPECT_NEAR(expected.y, actual.y, tolerance);
  EXPECT_NEAR(expected.z, actual.z, tolerance);
}

// A non-symmetric matrix with a non-trivial last column.
const D3DXMATRIX kA(1, 2, 3, 4,
                    5, 6, 7, 8,
                    2, 0, 1, 3,
                    1, 1, 0, 2);

TEST(D3DXMatrixTest, NamedFieldsAliasTheRowMajorArray) {
  EXPECT_EQ(&kA._11, &kA.m[0][0]);
  EXPECT_EQ(kA._12, 2.0f);
  EXPECT_EQ(kA._21, 5.0f);
  EXPECT_EQ(kA.m[2][3], 3.0f);
  EXPECT_EQ(kA(3, 0), 1.0f);
  EXPECT_EQ(sizeof(D3DXMATRIX), 64u);
  EXPECT_EQ(static_cast<const float*>(kA)[4], 5.0f);  // row 1 follows row 0 in memory
}

TEST(D3DXMatrixTest, MultiplyIsRowTimesColumnAndNotCommutative) {
  const D3DXMATRIX b(0, 1, 0, 0,
                     1, 0, 0, 0,
                     0, 0, 2, 0,
                     3, 4, 5, 1);
  D3DXMATRIX ab;
  D3DXMatrixMultiply(&ab, &kA, &b);
  // Row 0 of A times B: (1,2,3,4) -> (2+12, 1+16, 6+20, 4).
  ExpectMatrixNear(D3DXMATRIX(14, 17, 26, 4,
                              30, 37, 54, 8,
                              9, 14, 17, 3,
                              7, 9, 10, 2),
                   ab);
  EXPECT_NE(ab, b * kA);
  EXPECT_EQ(ab, kA * b);
  // The out pointer may alias an input.
  D3DXMATRIX aliased = kA;
  D3DXMatrixMultiply(&aliased, &aliased, &b);
  EXPECT_EQ(aliased, ab);
}

TEST(D3DXMatrixTest, TransposeAndInverse) {
  D3DXMATRIX t;
  D3DXMatrixTranspose(&t, &kA);
  EXPECT_EQ(t._12, 5.0f);
  EXPECT_EQ(t._21, 2.0f);
  EXPECT_EQ(t._41, 4.0f);

  float determinant = 0.0f;
  D3DXMATRIX inverse;
  ASSERT_NE(D3DXMatrixInverse(&inverse, &determinant, &kA), nullptr);
  EXPECT_NEAR(determinant, D3DXMatrixDeterminant(&kA), 1e-4f);
  EXPECT_NEAR(determinant, -40.0f, 1e-4f);  // by hand, eliminating the first column
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  ExpectMatrixNear(identity, kA * inverse);
  ExpectMatrixNear(identity, inverse * kA);

  const D3DXMATRIX singular(1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1);
  D3DXMATRIX untouched = kA;
  EXPECT_EQ(D3DXMatrixInverse(&untouched, nullptr, &singular), nullptr);
  EXPECT_EQ(untouched, kA);
}

TEST(D3DXMatrixTest, TranslationScalingAndPointTransforms) {
  D3DXMATRIX scaling, translation;
  D3DXMatrixScaling(&scaling, 2, 3, 4);
  D3DXMatrixTranslation(&translation, 10, 20, 30);
  EXPECT_EQ(translation._41, 10.0f);
  EXPECT_EQ(translation._43, 30.0f);
  const D3DXMATRIX world = scaling * translation;  // scale first, then move
  const D3DXVECTOR3 p(1, 1, 1);
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &p, &world);
  ExpectVectorNear(D3DXVECTOR3(12, 23, 34), out);
  D3DXVec3TransformNormal(&out, &p, &world);
  ExpectVectorNear(D3DXVECTOR3(2, 3, 4), out);
  D3DXVECTOR4 four;
  D3DXVec3Transform(&four, &p, &world);
  EXPECT_EQ(four, D3DXVECTOR4(12, 23, 34, 1));
  const D3DXVECTOR4 direction(1, 0, 0, 0);
  D3DXVec4Transform(&four, &direction, &kA);
  EXPECT_EQ(four, D3DXVECTOR4(1, 2, 3, 4));
}

TEST(D3DXMatrixTest, AxisRotationsAreLeftHanded) {
  const float quarter = D3DX_PI / 2;
  D3DXMATRIX r;
  D3DXVECTOR3 out;
  const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
  // Looking down the positive axis, positive angles turn clockwise.
  D3DXMatrixRotationX(&r, quarter);
  D3DXVec3TransformCoord(&out, &y, &r);
  ExpectVectorNear(z, out);
  D3DXMatrixRotationY(&r, quarter);
  D3DXVec3TransformCoord(&out, &z, &r);
  ExpectVectorNear(x, out);
  D3DXMatrixRotationZ(&r, quarter);
  D3DXVec3TransformCoord(&out, &x, &r);
  ExpectVectorNear(y, out);

  const D3DXVECTOR3 axis(0, 0, 5);  // not normalised on purpose
  D3DXMATRIX aroundAxis, aroundZ;
  D3DXMatrixRotationAxis(&aroundAxis, &axis, 0.7f);
  D3DXMatrixRotationZ(&aroundZ, 0.7f);
  ExpectMatrixNear(aroundZ, aroundAxis);
}

TEST(D3DXMatrixTest, YawPitchRollAppliesRollThenPitchThenYaw) {
  const float yaw = 0.3f, pitch = -0.8f, roll = 1.1f;
  D3DXMATRIX ry, rx, rz, expected, actual;
  D3DXMatrixRotationY(&ry, yaw);
  D3DXMatrixRotationX(&rx, pitch);
  D3DXMatrixRotationZ(&rz, roll);
  expected = rz * rx * ry;
  D3DXMatrixRotationYawPitchRoll(&actual, yaw, pitch, roll);
  ExpectMatrixNear(expected, actual);

  D3DXQUATERNION q;
  D3DXQuaternionRotationYawPitchRoll(&q, yaw, pitch, roll);
  EXPECT_NEAR(D3DXQuaternionLength(&q), 1.0f, kTolerance);
  D3DXMatrixRotationQuaternion(&actual, &q);
  ExpectMatrixNear(expected, actual);

  // Yaw alone turns +z towards +x (about y), pitch alone turns +y towards +z (about x).
  D3DXQuaternionRotationYawPitchRoll(&q, D3DX_PI / 2, 0, 0);
  D3DXMatrixRotationQuaternion(&actual, &q);
  D3DXVECTOR3 out;
  const D3DXVECTOR3 z(0, 0, 1), y(0, 1, 0);
  D3DXVec3TransformCoord(&out, &z, &actual);
  ExpectVectorNear(D3DXVECTOR3(1, 0, 0), out);
  D3DXQuaternionRotationYawPitchRoll(&q, 0, D3DX_PI / 2, 0);
  D3DXMatrixRotationQuaternion(&actual, &q);
  D3DXVec3TransformCoord(&out, &y, &actual);
  ExpectVectorNear(D3DXVECTOR3(0, 0, 1), out);
}

TEST(D3DXMatrixTest, LookAtPutsTheTargetOnThePositiveZAxis) {
  const D3DXVECTOR3 eye(1, 2, -5), at(1, 2, 5), up(0, 1, 0);
  D3DXMATRIX view;
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &at, &view);
  ExpectVectorNear(D3DXVECTOR3(0, 0, 10), out);
  const D3DXVECTOR3 right(2, 2, -5), above(1, 3, -5);
  D3DXVec3TransformCoord(&out, &right, &view);
  ExpectVectorNear(D3DXVECTOR3(1, 0, 0), out);
  D3DXVec3TransformCoord(&out, &above, &view);
  ExpectVectorNear(D3DXVECTOR3(0, 1, 0), out);

  // Looking along +x: world +x becomes view +z and world -z becomes view +x (left-handed).
  const D3DXVECTOR3 origin(0, 0, 0), alongX(4, 0, 0), minusZ(0, 0, -1);
  D3DXMatrixLookAtLH(&view, &origin, &alongX, &up);
  D3DXVec3TransformCoord(&out, &minusZ, &view);
  ExpectVectorNear(D3DXVECTOR3(1, 0, 0), out);
}

TEST(D3DXMatrixTest, PerspectiveFovMapsNearToDepthZeroAndFarToOne) {
  const float nearPlane = 1.0f, farPlane = 10000.0f, aspect = 16.0f / 9.0f;
  D3DXMATRIX projection;
  D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4, aspect, nearPlane, farPlane);
  EXPECT_NEAR(projection._22, 1.0f / std::tan(D3DX_PI / 8), kTolerance);
  EXPECT_NEAR(projection._11, projection._22 / aspect, kTolerance);
  EXPECT_EQ(projection._34, 1.0f);
  EXPECT_EQ(projection._44, 0.0f);

  D3DXVECTOR3 out;
  const D3DXVECTOR3 onNear(0.2f, -0.1f, nearPlane), onFar(0, 0, farPlane), middle(0, 0, 2.0f);
  D3DXVec3TransformCoord(&out, &onNear, &projection);
  EXPECT_NEAR(out.z, 0.0f, kTolerance);
  D3DXVec3TransformCoord(&out, &onFar, &projection);
  EXPECT_NEAR(out.z, 1.0f, kTolerance);
  D3DXVec3TransformCoord(&out, &middle, &projection);
  EXPECT_GT(out.z, 0.0f);
  EXPECT_LT(out.z, 1.0f);
  // The top edge of the field of view lands on y = 1.
  const D3DXVECTOR3 topEdge(0, std::tan(D3DX_PI / 8) * 5.0f, 5.0f);
  D3DXVec3TransformCoord(&out, &topEdge, &projection);
  EXPECT_NEAR(out.y, 1.0f, kTolerance);

  D3DXMatrixPerspectiveLH(&projection, 2.0f, 1.0f, 1.0f, 100.0f);
  const D3DXVECTOR3 corner(1.0f, 0.5f, 1.0f);
  D3DXVec3TransformCoord(&out, &corner, &projection);
  ExpectVectorNear(D3DXVECTOR3(1, 1, 0), out);
}

TEST(D3DXMatrixTest, OrthographicProjectionsMapTheBoxToClipSpace) {
  D3DXMATRIX ortho;
  D3DXMatrixOrthoLH(&ortho, 1280.0f, 720.0f, 0.1f, 100.0f);
  D3DXVECTOR3 out;
  const D3DXVECTOR3 corner(640.0f, -360.0f, 0.1f), farCentre(0, 0, 100.0f);
  D3DXVec3TransformCoord(&out, &corner, &ortho);
  ExpectVectorNear(D3DXVECTOR3(1, -1, 0), out);
  D3DXVec3TransformCoord(&out, &farCentre, &ortho);
  ExpectVectorNear(D3DXVECTOR3(0, 0, 1), out);

  D3DXMatrixOrthoOffCenterLH(&ortho, 0.0f, 200.0f, 100.0f, 0.0f, 0.0f, 1.0f);
  const D3DXVECTOR3 topLeft(0, 0, 0), bottomRight(200, 100, 1);
  D3DXVec3TransformCoord(&out, &topLeft, &ortho);
  ExpectVectorNear(D3DXVECTOR3(-1, 1, 0), out);
  D3DXVec3TransformCoord(&out, &bottomRight, &ortho);
  ExpectVectorNear(D3DXVECTOR3(1, -1, 1), out);
}

}  // namespace
