// The effects drawn from layers of screen-wide geometry: the radial blur and the design lines.
#include <gtest/gtest.h>

#include <cmath>

#include "PostProcessFixture.h"
#include "fx/DesignLines.h"
#include "fx/RadialBlur.h"
#include "gfx/RenderTarget.h"
#include "support/FloatTexture.h"

namespace {

TEST(RadialBlurLayers, AlphasFallToSumJustUnderOneAndTexturesZoomIn) {
  QuadVertex vertices[RadialBlur::kVertexCount];
  BuildRadialBlurLayers(1280, 720, 0.005f, 0.06f, vertices);
  float sum = 0.0f;
  for (int i = 0; i < RadialBlur::kLayerCount; ++i) {
    const QuadVertex* layer = vertices + i * 6;
    const float c = i * 0.005f;
    for (int k = 0; k < 6; ++k) {
      EXPECT_FLOAT_EQ(layer[k].a, 0.001875f * (32 - i)) << "layer " << i;
      EXPECT_EQ(layer[k].r + layer[k].g + layer[k].b, 0.0f);
      EXPECT_EQ(layer[k].z, 1.0f);
      // Every layer covers the whole screen; its texture rectangle is inset by i × 0.005.
      EXPECT_NEAR(std::fabs(layer[k].x), 640.0f, 1e-3f);
      EXPECT_NEAR(std::fabs(layer[k].y), 360.0f, 1e-3f);
      const bool left = layer[k].x < 0.0f, top = layer[k].y > 0.0f;
      EXPECT_FLOAT_EQ(layer[k].u, left ? c : 1.0f - c);
      EXPECT_FLOAT_EQ(layer[k].v, top ? c : 1.0f - c);
    }
    sum += layer[0].a;
  }
  EXPECT_FLOAT_EQ(vertices[0].a, 0.06f);
  EXPECT_NEAR(sum, 0.99f, 1e-5f);
  // The innermost layer shows the central 69 % of the source.
  EXPECT_NEAR(vertices[31 * 6 + 4].u - vertices[31 * 6].u, 0.69f, 1e-5f);
}

class ScreenLayersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(fixture.Create(&error)) << error;
  }
  fx_test::PostProcessFixture fixture;
};

TEST_F(ScreenLayersTest, RadialBlurKeepsTheSourcesBrightnessJustUnder) {
  RadialBlur blur(fixture.context);
  ASSERT_TRUE(blur.Create());
  blur.sourceTexture = fixture.SolidTexture(200, 100, 40);
  // A float target as in the show: an 8-bit one would round away the faint inner layers.
  RenderTarget target(fixture.context);
  ASSERT_TRUE(target.Create(1.0f));
  target.SetAsTarget();
  target.Clear();
  blur.Render();
  const std::vector<float> texels =
      testing_support::ReadFloatTexture(fixture.gpu.device, fixture.gpu.context, target.texture);
  ASSERT_FALSE(texels.empty());
  // Additive layers weighted by their alphas: 0.99 of the source, not 32 copies of it.
  for (int x : {3, fixture.kWidth / 2, fixture.kWidth - 4}) {
    const float* t = &texels[(static_cast<size_t>(fixture.kHeight / 3) * fixture.kWidth + x) * 4];
    EXPECT_NEAR(t[0], 0.99f * 200.0f / 255.0f, 2e-3f);
    EXPECT_NEAR(t[1], 0.99f * 100.0f / 255.0f, 2e-3f);
    EXPECT_NEAR(t[2], 0.99f * 40.0f / 255.0f, 2e-3f);
  }
}

TEST_F(ScreenLayersTest, DesignLinesStartInsideTheScreenAndWrapWhenTheyReachTheTop) {
  DesignLines lines(fixture.context);
  ASSERT_TRUE(lines.Create());
  const float top = fixture.kHeight * 0.5f;  // 48
  for (int i = 0; i < lines.lineCount; ++i) {
    const DesignLine& line = lines.lines[i];
    EXPECT_TRUE(line.y >= -top && line.y <= top && line.thickness >= 5.0f && line.thickness <= 15.0f &&
                line.speed >= 0.1f && line.speed <= 64.1f && line.alpha >= 0.0f && line.alpha <= 0.5f)
        << "line " << i;
  }
  DesignLine& line = lines.lines[0];
  line = {top - 1.0f, 12.0f, 10.0f, 0.4f};
  lines.lines[1] = {top - 2.0f, 12.0f, 10.0f, 0.4f};
  lines.Move(10);  // 10 ms × 10 × 0.01 = one pixel
  EXPECT_FLOAT_EQ(line.y, -top - 12.0f) << "reaching the top edge exactly wraps in the same frame";
  EXPECT_FLOAT_EQ(lines.lines[1].y, top - 1.0f);
  // A long pause moves a line by that one frame's delta only, and wraps it once.
  lines.Move(100000);
  EXPECT_FLOAT_EQ(lines.lines[1].y, -top - 12.0f);
}

TEST_F(ScreenLayersTest, DesignLinesAreBrighterAndMoreOpaqueAtTheirUpperEdge) {
  DesignLines lines(fixture.context);
  ASSERT_TRUE(lines.Create());
  // Every bar in the same place: 20 pixels from y = -10 (screen rows 38 to 58).
  for (int i = 0; i < lines.lineCount; ++i) lines.lines[i] = {-10.0f, 20.0f, 0.0f, 0.5f};
  lines.BuildVertices();
  const QuadVertex* v = lines.vertices.get();
  EXPECT_FLOAT_EQ(v[0].y, -10.0f);
  EXPECT_FLOAT_EQ(v[0].a, 0.125f);
  EXPECT_FLOAT_EQ(v[0].r, 0.15f);
  EXPECT_FLOAT_EQ(v[2].y, 10.0f);
  EXPECT_FLOAT_EQ(v[2].a, 0.5f);
  EXPECT_FLOAT_EQ(v[4].x, fixture.kWidth * 0.5f);

  fixture.ClearBackBuffer();
  fixture.timer.delta = 0;
  lines.Render();
  const std::vector<uint8_t> pixels = fixture.gpu.ReadPixels();
  const int centre = fixture.kHeight / 2;
  const int upper = fixture.Pixel(pixels, 80, centre - 8).g;
  const int lower = fixture.Pixel(pixels, 80, centre + 8).g;
  EXPECT_GT(upper, 30) << "the bars must show: their vertex alpha is their opacity";
  EXPECT_GT(upper, lower + 20);
  EXPECT_EQ(fixture.Pixel(pixels, 80, 5).g, 0) << "nothing outside the bars";
  EXPECT_NEAR(fixture.Pixel(pixels, 2, centre - 8).g, upper, 2) << "the bars span the whole width";
}

}  // namespace
