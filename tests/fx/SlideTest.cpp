#include <gtest/gtest.h>

#include "PostProcessFixture.h"
#include "fx/Slide.h"

namespace {

struct Variant {
  int32_t mode;
  bool squeeze;
  SlideRect aAtStart, bAtStart, aAtEnd, bAtEnd;
};

// At progress 0 rectangle A covers the screen and B is empty or just outside; at 100 B covers it.
const Variant kVariants[] = {
    {0, false, {0, 0, 100, 100}, {0, 100, 100, 200}, {0, -100, 100, 0}, {0, 0, 100, 100}},
    {0, true, {0, 0, 100, 100}, {0, 100, 100, 100}, {0, 0, 100, 0}, {0, 0, 100, 100}},
    {1, false, {0, 0, 100, 100}, {0, -100, 100, 0}, {0, 100, 100, 200}, {0, 0, 100, 100}},
    {1, true, {0, 0, 100, 100}, {0, 0, 100, 0}, {0, 100, 100, 100}, {0, 0, 100, 100}},
    {2, false, {0, 0, 100, 100}, {100, 0, 200, 100}, {-100, 0, 0, 100}, {0, 0, 100, 100}},
    {2, true, {0, 0, 100, 100}, {100, 0, 100, 100}, {0, 0, 0, 100}, {0, 0, 100, 100}},
    {3, false, {0, 0, 100, 100}, {-100, 0, 0, 100}, {100, 0, 200, 100}, {0, 0, 100, 100}},
    {3, true, {0, 0, 100, 100}, {0, 0, 0, 100}, {100, 0, 100, 100}, {0, 0, 100, 100}},
};

void ExpectRect(const SlideRect& actual, const SlideRect& expected, const char* what, const Variant& v) {
  EXPECT_FLOAT_EQ(actual.left, expected.left) << what << " mode " << v.mode << " squeeze " << v.squeeze;
  EXPECT_FLOAT_EQ(actual.top, expected.top) << what << " mode " << v.mode << " squeeze " << v.squeeze;
  EXPECT_FLOAT_EQ(actual.right, expected.right) << what << " mode " << v.mode << " squeeze " << v.squeeze;
  EXPECT_FLOAT_EQ(actual.bottom, expected.bottom) << what << " mode " << v.mode << " squeeze " << v.squeeze;
}

float Area(const SlideRect& r) { return (r.right - r.left) * (r.bottom - r.top); }

TEST(SlideRectangles, EveryVariantGoesFromAToB) {
  for (const Variant& v : kVariants) {
    SlideRect a, b;
    SlideRectangles(v.mode, v.squeeze, 0.0f, &a, &b);
    ExpectRect(a, v.aAtStart, "A at 0", v);
    ExpectRect(b, v.bAtStart, "B at 0", v);
    SlideRectangles(v.mode, v.squeeze, 100.0f, &a, &b);
    ExpectRect(a, v.aAtEnd, "A at 100", v);
    ExpectRect(b, v.bAtEnd, "B at 100", v);
    // Half-way the two share the screen and touch without overlapping.
    SlideRectangles(v.mode, v.squeeze, 40.0f, &a, &b);
    EXPECT_FLOAT_EQ(Area(a), v.squeeze ? 6000.0f : 10000.0f) << v.mode << v.squeeze;
    EXPECT_FLOAT_EQ(Area(b), v.squeeze ? 4000.0f : 10000.0f) << v.mode << v.squeeze;
    const bool vertical = v.mode < 2;
    const float seam = vertical ? (v.mode == 0 ? a.bottom : a.top) : (v.mode == 2 ? a.right : a.left);
    const float otherSeam = vertical ? (v.mode == 0 ? b.top : b.bottom) : (v.mode == 2 ? b.left : b.right);
    EXPECT_FLOAT_EQ(seam, otherSeam) << v.mode << v.squeeze;
  }
  SlideRect a, b;
  SlideRectangles(4, false, 50.0f, &a, &b);
  EXPECT_EQ(Area(a), 0.0f);
  EXPECT_EQ(Area(b), 0.0f);
  EXPECT_EQ(a.left, 0.0f);
  EXPECT_EQ(a.top, 0.0f);
}

class SlideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(fixture.Create(&error)) << error;
    red = fixture.SolidTexture(255, 0, 0);
    blue = fixture.SolidTexture(0, 0, 255);
  }

  SlideKey Key(int32_t mode, bool squeeze, int64_t start, int64_t end, int32_t interpolation = 1) const {
    SlideKey key;
    key.mode = mode;
    key.squeeze = squeeze;
    key.interpolation = interpolation;
    key.start = start;
    key.end = end;
    key.textureA = red;
    key.textureB = blue;
    return key;
  }

  fx_test::PostProcessFixture fixture;
  ID3D11ShaderResourceView* red = nullptr;
  ID3D11ShaderResourceView* blue = nullptr;
};

TEST_F(SlideTest, TouchingWindowsGoToTheEarlierKey) {
  Slide slide(fixture.context);
  ASSERT_TRUE(slide.Create());
  slide.AddKey(Key(1, true, 156250, 156600));
  slide.AddKey(Key(0, true, 156600, 156925));
  fixture.timer.elapsed = 156600;
  ASSERT_TRUE(slide.FindActiveKey());
  EXPECT_EQ(slide.activeKey, 0);
  EXPECT_FLOAT_EQ(slide.progress, 100.0f);
  fixture.timer.elapsed = 156601;
  ASSERT_TRUE(slide.FindActiveKey());
  EXPECT_EQ(slide.activeKey, 1);
  EXPECT_NEAR(slide.progress, 0.0f, 0.01f);
  // Cosine: half-way is half the progress, a quarter of the way much less than a quarter.
  fixture.timer.elapsed = 156250 + 175;
  ASSERT_TRUE(slide.FindActiveKey());
  EXPECT_NEAR(slide.progress, 50.0f, 0.01f);
  slide.keys[0].interpolation = 0;
  fixture.timer.elapsed = 156250 + 70;
  ASSERT_TRUE(slide.FindActiveKey());
  EXPECT_NEAR(slide.progress, 20.0f, 0.01f);
  fixture.timer.elapsed = 156249;
  EXPECT_FALSE(slide.FindActiveKey());
  fixture.timer.elapsed = 156926;
  EXPECT_FALSE(slide.FindActiveKey());
}

TEST_F(SlideTest, DrawsBothRectanglesWithTheirOwnTextures) {
  Slide slide(fixture.context);
  ASSERT_TRUE(slide.Create());
  slide.AddKey(Key(2, false, 1000, 2000, 0));  // push left, linear
  fixture.timer.elapsed = 1250;                 // a quarter: B covers the right quarter
  fixture.ClearBackBuffer();
  slide.Render();
  std::vector<uint8_t> pixels = fixture.gpu.ReadPixels();
  const int w = fixture.kWidth, h = fixture.kHeight;
  for (int y : {2, h / 2, h - 3}) {
    const testing_support::Rgba left = fixture.Pixel(pixels, 4, y);
    const testing_support::Rgba leftOfSeam = fixture.Pixel(pixels, w * 3 / 4 - 3, y);
    const testing_support::Rgba rightOfSeam = fixture.Pixel(pixels, w * 3 / 4 + 3, y);
    const testing_support::Rgba right = fixture.Pixel(pixels, w - 3, y);
    EXPECT_GT(left.r, 200);
    EXPECT_LT(left.b, 50);
    EXPECT_GT(leftOfSeam.r, 200);
    EXPECT_GT(rightOfSeam.b, 200) << "rectangle B is drawn from the second six indices";
    EXPECT_LT(rightOfSeam.r, 50);
    EXPECT_GT(right.b, 200);
  }

  // Between windows nothing is drawn: the frame keeps what it had.
  fixture.timer.elapsed = 2001;
  fixture.gpu.BindBackBuffer();
  fixture.gpu.Clear(0.0f, 1.0f, 0.0f, 1.0f);
  slide.Render();
  pixels = fixture.gpu.ReadPixels();
  EXPECT_EQ(fixture.Pixel(pixels, 4, 4).g, 255);
  EXPECT_EQ(fixture.Pixel(pixels, w - 3, h - 3).r, 0);
}

}  // namespace
