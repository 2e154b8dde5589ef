#include <gtest/gtest.h>

#include <cmath>

#include "math/d3dx_math.h"
#include "math/interpolation.h"

namespace {

constexpr float kTolerance = 1e-6f;

TEST(D3DXVectorTest, CrossDotLengthNormalize) {
  const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), a(1, 2, 3), b(-2, 0.5f, 4);
  D3DXVECTOR3 out;
  D3DXVec3Cross(&out, &x, &y);
  EXPECT_EQ(out, D3DXVECTOR3(0, 0, 1));
  D3DXVec3Cross(&out, &a, &b);
  EXPECT_EQ(out, D3DXVECTOR3(6.5f, -10.0f, 4.5f));
  D3DXVECTOR3 aliased = a;
  D3DXVec3Cross(&aliased, &aliased, &b);
  EXPECT_EQ(aliased, out);
  EXPECT_EQ(D3DXVec3Dot(&a, &b), 11.0f);
  const D3DXVECTOR3 triple(2, 3, 6);
  EXPECT_EQ(D3DXVec3Length(&triple), 7.0f);
  D3DXVec3Normalize(&out, &triple);
  EXPECT_NEAR(out.x, 2.0f / 7.0f, kTolerance);
  EXPECT_NEAR(out.z, 6.0f / 7.0f, kTolerance);
  // A zero vector stays zero instead of turning into NaNs.
  const D3DXVECTOR3 zero;
  D3DXVec3Normalize(&out, &zero);
  EXPECT_EQ(out, zero);
  const D3DXVECTOR2 two(3, 4);
  EXPECT_EQ(D3DXVec2Length(&two), 5.0f);
}

TEST(D3DXVectorTest, LerpAndHermite) {
  const D3DXVECTOR3 from(0, 10, -4), to(10, 20, 4), zero;
  D3DXVECTOR3 out;
  D3DXVec3Lerp(&out, &from, &to, 0.25f);
  EXPECT_EQ(out, D3DXVECTOR3(2.5f, 12.5f, -2.0f));
  // With zero tangents the Hermite weight is 3s² − 2s³: 0.15625 at s = 0.25.
  D3DXVec3Hermite(&out, &from, &zero, &to, &zero, 0.25f);
  EXPECT_NEAR(out.x, 1.5625f, kTolerance);
  EXPECT_NEAR(out.y, 11.5625f, 1e-5f);
  D3DXVec3Hermite(&out, &from, &zero, &to, &zero, 1.0f);
  EXPECT_EQ(out, to);
  // A tangent at the start bends the curve: s = 0.5 with tangent (4,0,0) adds 4 × 0.125.
  const D3DXVECTOR3 tangent(4, 0, 0);
  D3DXVec3Hermite(&out, &from, &tangent, &to, &zero, 0.5f);
  EXPECT_NEAR(out.x, 5.5f, kTolerance);
}

TEST(D3DXQuaternionTest, MultiplyAppliesTheFirstRotationFirst) {
  D3DXQUATERNION aboutX, aboutY, both;
  const D3DXVECTOR3 xAxis(1, 0, 0), yAxis(0, 1, 0);
  D3DXQuaternionRotationAxis(&aboutX, &xAxis, D3DX_PI / 2);
  D3DXQuaternionRotationAxis(&aboutY, &yAxis, D3DX_PI / 2);
  D3DXQuaternionMultiply(&both, &aboutX, &aboutY);
  D3DXMATRIX fromQuaternion, rx, ry;
  D3DXMatrixRotationQuaternion(&fromQuaternion, &both);
  D3DXMatrixRotationX(&rx, D3DX_PI / 2);
  D3DXMatrixRotationY(&ry, D3DX_PI / 2);
  const D3DXMATRIX expected = rx * ry;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(expected.m[r][c], fromQuaternion.m[r][c], 1e-6f);
  EXPECT_EQ(both, aboutX * aboutY);
}

TEST(D3DXQuaternionTest, SlerpHalfwayAndNormalize) {
  D3DXQUATERNION identity, quarter, half, expected;
  D3DXQuaternionIdentity(&identity);
  const D3DXVECTOR3 zAxis(0, 0, 1);
  D3DXQuaternionRotationAxis(&quarter, &zAxis, D3DX_PI / 2);
  D3DXQuaternionSlerp(&half, &identity, &quarter, 0.5f);
  D3DXQuaternionRotationAxis(&expected, &zAxis, D3DX_PI / 4);
  EXPECT_NEAR(half.z, expected.z, kTolerance);
  EXPECT_NEAR(half.w, expected.w, kTolerance);
  D3DXQUATERNION scaled(0, 0, 3, 4), unit;
  D3DXQuaternionNormalize(&unit, &scaled);
  EXPECT_EQ(unit, D3DXQUATERNION(0, 0, 0.6f, 0.8f));
}

TEST(InterpolationTest, CosineEaseSpanFractionAndKeySearch) {
  EXPECT_FLOAT_EQ(CosineEase(0.0f), 0.0f);
  EXPECT_NEAR(CosineEase(0.5f), 0.5f, kTolerance);
  EXPECT_FLOAT_EQ(CosineEase(1.0f), 1.0f);
  EXPECT_FLOAT_EQ(LinearBlend(2.0f, 6.0f, 0.25f), 3.0f);
  EXPECT_FLOAT_EQ(CosineBlend(2.0f, 6.0f, 0.0f), 2.0f);
  EXPECT_NEAR(CosineBlend(2.0f, 6.0f, 0.25f), 2.0f + 4.0f * (1.0f - std::cos(D3DX_PI / 4.0f)) / 2.0f, kTolerance);
  EXPECT_FLOAT_EQ(CosineBlend(2.0f, 6.0f, 1.0f), 6.0f);
  EXPECT_FLOAT_EQ(SpanFraction(250, 0, 1000), 0.25f);
  EXPECT_FLOAT_EQ(SpanFraction(5, 5, 5), 0.0f);

  struct Key { uint32_t time; };
  const Key keys[] = {{0}, {1000}, {1000}, {4000}};
  EXPECT_EQ(FindNextKey(keys, 4, -1), 0);
  EXPECT_EQ(FindNextKey(keys, 4, 0), 1);      // at a key's time its own span is used
  EXPECT_EQ(FindNextKey(keys, 4, 999), 1);
  EXPECT_EQ(FindNextKey(keys, 4, 1000), 3);   // the first key later than t
  EXPECT_EQ(FindNextKey(keys, 4, 4000), 4);   // none later
  EXPECT_EQ(FindNextKey(keys, 0, 10), 0);
}

}  // namespace
