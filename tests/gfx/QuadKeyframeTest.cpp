// The keyframe rules of screen quads, on the values alone.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/QuadKeyframe.h"

namespace {

QuadKeyframe Key(int32_t mode, int64_t start, int64_t end, float alphaFrom, float alphaTo) {
  QuadKeyframe key;
  key.mode = mode;
  key.start = start;
  key.end = end;
  key.alphaFrom = alphaFrom;
  key.alphaTo = alphaTo;
  for (int i = 0; i < 4; ++i) {
    key.cornersFrom[i] = D3DXVECTOR2(10.0f * i, 0.0f);
    key.cornersTo[i] = D3DXVECTOR2(10.0f * i + 20.0f, 50.0f);
    key.texCoordsFrom[i] = D3DXVECTOR2(0.0f, 0.0f);
    key.texCoordsTo[i] = D3DXVECTOR2(1.0f, 0.5f);
  }
  return key;
}

}  // namespace

TEST(QuadKeyframe, SpanIsInclusiveWithHFromZeroToOne) {
  const std::vector<QuadKeyframe> keys = {Key(0, 1000, 2000, 0.2f, 0.8f)};
  QuadAnimatedValues values;
  values.alpha = -5.0f;
  EXPECT_FALSE(ApplyQuadKeyframes(keys, 999, false, values));
  EXPECT_FALSE(ApplyQuadKeyframes(keys, 2001, false, values));
  EXPECT_EQ(values.alpha, -5.0f);  // untouched outside every span
  ASSERT_TRUE(ApplyQuadKeyframes(keys, 1000, false, values));
  EXPECT_FLOAT_EQ(values.alpha, 0.2f);
  ASSERT_TRUE(ApplyQuadKeyframes(keys, 2000, false, values));
  EXPECT_FLOAT_EQ(values.alpha, 0.8f);
  ASSERT_TRUE(ApplyQuadKeyframes(keys, 1250, false, values));
  EXPECT_FLOAT_EQ(values.alpha, 0.35f);
}

TEST(QuadKeyframe, CosineModeEasesInAndOut) {
  const std::vector<QuadKeyframe> keys = {Key(1, 0, 1000, 0.0f, 1.0f)};
  QuadAnimatedValues values;
  ASSERT_TRUE(ApplyQuadKeyframes(keys, 500, false, values));
  EXPECT_NEAR(values.alpha, 0.5f, 1e-6f);
  ASSERT_TRUE(ApplyQuadKeyframes(keys, 250, false, values));
  EXPECT_NEAR(values.alpha, (1.0f - std::cos(0.25f * 3.1415927f)) * 0.5f, 1e-6f);
  EXPECT_LT(values.alpha, 0.25f);  // slower than linear at the start
  ASSERT_TRUE(ApplyQuadKeyframes(keys, 1000, false, values));
  EXPECT_FLOAT_EQ(values.alpha, 1.0f);
}

TEST(QuadKeyframe, FirstOfOverlappingKeysWins) {
  const std::vector<QuadKeyframe> keys = {Key(0, 0, 1000, 0.0f, 1.0f), Key(0, 500, 1500, 7.0f, 7.0f)};
  QuadAnimatedValues values;
  ASSERT_TRUE(ApplyQuadKeyframes(keys, 750, false, values));
  EXPECT_FLOAT_EQ(values.alpha, 0.75f);
  ASSERT_TRUE(ApplyQuadKeyframes(keys, 1200, false, values));
  EXPECT_FLOAT_EQ(values.alpha, 7.0f);
}

TEST(QuadKeyframe, GeometryMovesOnlyOnDynamicQuads) {
  const std::vector<QuadKeyframe> keys = {Key(0, 0, 100, 0.0f, 1.0f)};
  QuadAnimatedValues fixed;
  fixed.corners[3] = D3DXVECTOR2(-1.0f, -1.0f);
  ASSERT_TRUE(ApplyQuadKeyframes(keys, 50, false, fixed));
  EXPECT_EQ(fixed.corners[3], D3DXVECTOR2(-1.0f, -1.0f));
  EXPECT_EQ(fixed.texCoords[1], D3DXVECTOR2(0.0f, 0.0f));

  QuadAnimatedValues moving;
  ASSERT_TRUE(ApplyQuadKeyframes(keys, 50, true, moving));
  EXPECT_EQ(moving.corners[3], D3DXVECTOR2(40.0f, 25.0f));
  EXPECT_EQ(moving.texCoords[2], D3DXVECTOR2(0.5f, 0.25f));
}

TEST(QuadKeyframe, ZeroLengthSpanShowsItsEndAndUnknownModeChangesNothing) {
  QuadAnimatedValues values;
  ASSERT_TRUE(ApplyQuadKeyframes({Key(0, 300, 300, 0.1f, 0.9f)}, 300, false, values));
  EXPECT_FLOAT_EQ(values.alpha, 0.9f);
  values.alpha = 0.33f;
  EXPECT_TRUE(ApplyQuadKeyframes({Key(2, 0, 100, 0.0f, 1.0f)}, 50, true, values));
  EXPECT_FLOAT_EQ(values.alpha, 0.33f);
  EXPECT_EQ(values.corners[0], D3DXVECTOR2(0.0f, 0.0f));
}

TEST(QuadKeyframe, TimesBeyond32BitsCompareAsSigned64Bit) {
  const int64_t big = int64_t{1} << 33;
  QuadAnimatedValues values;
  EXPECT_FALSE(ApplyQuadKeyframes({Key(0, big, big + 10, 0.0f, 1.0f)}, 5, false, values));
  EXPECT_TRUE(ApplyQuadKeyframes({Key(0, -10, 10, 0.0f, 1.0f)}, -10, false, values));
  EXPECT_FLOAT_EQ(values.alpha, 0.0f);
}
