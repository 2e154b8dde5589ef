// The lens on the show's own keys: which key wins where keys touch, what a gap keeps, and the
// projection it builds.
#include <gtest/gtest.h>

#include <cmath>

#include "app/Timer.h"
#include "demo/Lens.h"
#include "demo/ShowData.h"

namespace {

class LensTest : public ::testing::Test {
 protected:
  LensTest() {
    context.timer = &timer;
    context.width = 1280;
    context.height = 720;
  }

  float FovAt(Lens& lens, int64_t t) {
    timer.elapsed = t;
    lens.Update();
    return lens.fov;
  }

  Lens ShowLens() {
    Lens lens(context);
    for (const FovKey& key : show::FovKeys()) lens.AddKey(key);
    lens.SetFov(45.0f);
    return lens;
  }

  Timer timer;
  RenderContext context;
};

TEST_F(LensTest, TheLastCoveringKeyWinsWhereShowKeysTouch) {
  Lens lens = ShowLens();
  EXPECT_EQ(lens.keys.size(), 49u);
  for (int64_t t : {0, 1, 11750, 23499}) EXPECT_FLOAT_EQ(FovAt(lens, t), 45.0f) << t;
  const float almostOne = FovAt(lens, 46999);
  EXPECT_GT(almostOne, 1.0f);
  EXPECT_NEAR(almostOne, 1.0f, 1e-3f);
  EXPECT_FLOAT_EQ(FovAt(lens, 47000), 10.0f);  // not 1, the end of the key before
  EXPECT_FLOAT_EQ(FovAt(lens, 68000), 25.0f);  // not 30
  EXPECT_FLOAT_EQ(FovAt(lens, 48900), 35.0f);  // half-way along a cosine key
  EXPECT_FLOAT_EQ(FovAt(lens, 300000), 45.0f);
}

TEST_F(LensTest, AGapKeepsTheValueTheEarlierKeyReached) {
  Lens lens = ShowLens();
  EXPECT_FLOAT_EQ(FovAt(lens, 59000), 52.5f);
  for (int64_t t : {60000, 60001, 61000, 63499}) EXPECT_FLOAT_EQ(FovAt(lens, t), 45.0f) << t;
  EXPECT_FLOAT_EQ(FovAt(lens, 63500), 55.0f);
  // A lens whose keys start later keeps the value it was given.
  Lens late(context);
  late.AddKey({1, 1000, 2000, 10.0f, 20.0f});
  late.SetFov(33.0f);
  EXPECT_FLOAT_EQ(FovAt(late, 500), 33.0f);
  EXPECT_FLOAT_EQ(FovAt(late, 2000), 20.0f);
  EXPECT_FLOAT_EQ(FovAt(late, 2001), 20.0f);
}

TEST_F(LensTest, InterpolationCodesAndKeysOfNoLength) {
  Lens lens(context);
  lens.AddKey({0, 0, 1000, 10.0f, 20.0f});
  EXPECT_FLOAT_EQ(FovAt(lens, 250), 12.5f);  // linear
  lens.AddKey({7, 0, 1000, 80.0f, 90.0f});   // an unknown code changes nothing
  EXPECT_FLOAT_EQ(FovAt(lens, 500), 15.0f);
  lens.AddKey({1, 600, 600, 30.0f, 40.0f});  // taken at its end, never 0 / 0
  EXPECT_FLOAT_EQ(FovAt(lens, 600), 40.0f);
}

TEST_F(LensTest, ProjectionFollowsTheFieldOfViewAndTheScreen) {
  Lens lens(context);
  EXPECT_FLOAT_EQ(lens.aspect, 1.7777778f);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  EXPECT_EQ(lens.projection, identity);
  lens.SetFov(45.0f);
  D3DXMATRIX expected;
  D3DXMatrixPerspectiveFovLH(&expected, 0.785398163f, 1280.0f / 720.0f, 1.0f, 10000.0f);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(lens.projection.m[i / 4][i % 4], expected.m[i / 4][i % 4], 1e-6f) << i;
  // A narrower view magnifies: the x and y scales grow.
  const float wide = lens.projection._22;
  lens.SetFov(10.0f);
  EXPECT_GT(lens.projection._22, 4.0f * wide);
  EXPECT_FLOAT_EQ(lens.projection._11 * lens.aspect, lens.projection._22);
}

}  // namespace
