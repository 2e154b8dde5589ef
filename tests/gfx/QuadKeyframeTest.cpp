// The keyframe rules of screen quads, on the values alone.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

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

// Alpha under each rule: an inclusive span with h 0 at its start and 1 at its end, cosine easing
// (slower than linear at first), the first of overlapping keys winning, a zero-length span showing
// its end, and 64-bit signed times.
TEST(QuadKeyframe, AlphaFollowsTheFirstKeyWhoseSpanHoldsTheTime) {
  constexpr float kUntouched = -5.0f;  // no key applied
  const QuadKeyframe linear = Key(0, 1000, 2000, 0.2f, 0.8f);
  const QuadKeyframe cosine = Key(1, 0, 1000, 0.0f, 1.0f);
  const QuadKeyframe first = Key(0, 0, 1000, 0.0f, 1.0f), second = Key(0, 500, 1500, 7.0f, 7.0f);
  const int64_t big = int64_t{1} << 33;
  struct Case {
    std::vector<QuadKeyframe> keys;
    int64_t time;
    float alpha;
  };
  const Case cases[] = {
      {{linear}, 999, kUntouched},
      {{linear}, 2001, kUntouched},
      {{linear}, 1000, 0.2f},
      {{linear}, 2000, 0.8f},
      {{linear}, 1250, 0.35f},
      {{cosine}, 250, (1.0f - std::cos(0.25f * 3.1415927f)) * 0.5f},
      {{cosine}, 500, 0.5f},
      {{cosine}, 1000, 1.0f},
      {{first, second}, 750, 0.75f},
      {{first, second}, 1200, 7.0f},
      {{Key(0, 300, 300, 0.1f, 0.9f)}, 300, 0.9f},
      {{Key(0, big, big + 10, 0.0f, 1.0f)}, 5, kUntouched},
      {{Key(0, -10, 10, 0.0f, 1.0f)}, -10, 0.0f},
  };
  for (const Case& c : cases) {
    QuadAnimatedValues values;
    values.alpha = kUntouched;
    EXPECT_EQ(ApplyQuadKeyframes(c.keys, c.time, false, values), c.alpha != kUntouched) << "t " << c.time;
    EXPECT_NEAR(values.alpha, c.alpha, 1e-6f) << "t " << c.time;
  }
}

TEST(QuadKeyframe, GeometryMovesOnlyOnDynamicQuadsAndUnknownModesChangeNothing) {
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

  QuadAnimatedValues values;
  values.alpha = 0.33f;
  EXPECT_TRUE(ApplyQuadKeyframes({Key(2, 0, 100, 0.0f, 1.0f)}, 50, true, values));
  EXPECT_FLOAT_EQ(values.alpha, 0.33f);
  EXPECT_EQ(values.corners[0], D3DXVECTOR2(0.0f, 0.0f));
}
