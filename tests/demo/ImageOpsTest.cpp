#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>

#include "DemoImageFixture.h"
#include "gfx/D3D11Device.h"
#include "gfx/ShaderManager.h"
#include "support/FloatTexture.h"

namespace {

using demo_test::DemoImageFixture;
using demo_test::TexelAt;

class ImageOpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(fixture.Create(&error)) << error;
  }

  // A picture of the target's size, every texel from f(x, y).
  template <class F>
  std::vector<float> Picture(RenderTarget* target, F f) {
    int w = 0, h = 0;
    DemoImageFixture::Size(target, &w, &h);
    std::vector<float> texels(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::array<float, 4> c = f(x, y);
        std::memcpy(&texels[(static_cast<size_t>(y) * w + x) * 4], c.data(), sizeof(c));
      }
    return texels;
  }

  DemoImageFixture fixture;
  Demo& demo = fixture.demo;
  static constexpr int W = DemoImageFixture::kWidth;
  static constexpr int H = DemoImageFixture::kHeight;
};

TEST_F(ImageOpsTest, BlurWithoutPassesIsTheReducedAndMagnifiedCopy) {
  const std::array<float, 4> left = {0.8f, 0.2f, 0.1f, 1.0f}, right = {0.1f, 0.3f, 0.9f, 1.0f};
  fixture.Write(demo.m_pRTT_1_1, Picture(demo.m_pRTT_1_1, [&](int x, int) { return x < W / 2 ? left : right; }));
  demo.Blur(0, demo.m_pRTT_1_1);
  const std::vector<float> blurred = fixture.Read(demo.m_pRTT_Blur);
  for (int y : {2, H / 2, H - 3}) {
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(TexelAt(blurred, W, 8, y)[c], left[c], 1e-4f);
      EXPECT_NEAR(TexelAt(blurred, W, W - 9, y)[c], right[c], 1e-4f);
    }
    // The edge is as soft as a quarter-size pixel magnified: in between right at it.
    const float atEdge = TexelAt(blurred, W, W / 2, y)[0];
    EXPECT_GT(atEdge, right[0] + 0.05f);
    EXPECT_LT(atEdge, left[0] - 0.05f);
  }
  int w = 0, h = 0;
  DemoImageFixture::Size(demo.m_pRTT_16_1, &w, &h);
  EXPECT_EQ(w, W / 4);
  EXPECT_NEAR(TexelAt(fixture.Read(demo.m_pRTT_16_1), w, 2, 2)[0], left[0], 1e-4f);
}

TEST_F(ImageOpsTest, TheTwoBlurDirectionsSpreadAlongXAndAlongY) {
  int w = 0, h = 0;
  DemoImageFixture::Size(demo.m_pRTT_16_1, &w, &h);
  const int cx = w / 2, cy = h / 2;
  const std::vector<float> dot = Picture(demo.m_pRTT_16_1, [&](int x, int y) {
    const float v = x == cx && y == cy ? 1.0f : 0.0f;
    return std::array<float, 4>{v, v, v, 1.0f};
  });
  BlurShader* blur = demo.m_pSM->blurShader;
  for (int32_t direction : {0, 1}) {
    fixture.Write(demo.m_pRTT_16_1, dot);
    Demo::PrepareTarget(demo.m_pRTT_16_2);
    blur->direction = direction;
    blur->sourceTexture = demo.m_pRTT_16_1->shaderResourceView;
    demo.m_pQuad_Blur_16->Render();
    const std::vector<float> out = fixture.Read(demo.m_pRTT_16_2);
    const int along = direction == 0 ? 1 : 0, across = direction == 0 ? 0 : 1;
    float sum = 0.0f;
    for (int d = -4; d <= 4; ++d) sum += TexelAt(out, w, cx + d * along, cy + d * across)[0];
    EXPECT_NEAR(sum, 1.0f, 1e-3f) << "direction " << direction << " keeps the energy on its axis";
    EXPECT_GT(TexelAt(out, w, cx + 2 * along, cy + 2 * across)[0], 0.05f) << direction;
    // Symmetric up to the sampler's filter-weight precision.
    EXPECT_NEAR(TexelAt(out, w, cx - 2 * along, cy - 2 * across)[0], TexelAt(out, w, cx + 2 * along, cy + 2 * across)[0],
                5e-3f);
    EXPECT_EQ(TexelAt(out, w, cx + across, cy + along)[0], 0.0f) << "direction " << direction << " spreads across";
  }

  // A whole pass spreads a full-size point equally both ways, and more with more passes.
  const std::vector<float> point = Picture(demo.m_pRTT_1_1, [&](int x, int y) {
    const float v = std::abs(x - W / 2) < 4 && std::abs(y - H / 2) < 4 ? 1.0f : 0.0f;
    return std::array<float, 4>{v, v, v, 1.0f};
  });
  fixture.Write(demo.m_pRTT_1_1, point);
  demo.Blur(1, demo.m_pRTT_1_1);
  const std::vector<float> once = fixture.Read(demo.m_pRTT_Blur);
  demo.Blur(4, demo.m_pRTT_1_1);
  const std::vector<float> four = fixture.Read(demo.m_pRTT_Blur);
  const float sideways = TexelAt(once, W, W / 2 + 12, H / 2)[0], downwards = TexelAt(once, W, W / 2, H / 2 + 12)[0];
  EXPECT_GT(sideways, 0.0f);
  EXPECT_NEAR(sideways, downwards, 0.1f * sideways);
  EXPECT_GT(TexelAt(four, W, W / 2 + 24, H / 2)[0], TexelAt(once, W, W / 2 + 24, H / 2)[0]);
  EXPECT_LT(TexelAt(four, W, W / 2, H / 2)[0], TexelAt(once, W, W / 2, H / 2)[0]);
}

TEST_F(ImageOpsTest, BloomKeepsTheSceneAndGlowsAroundItsHighlights) {
  const std::vector<float> scene = Picture(demo.m_pRTT_1_1, [&](int x, int y) {
    const bool hot = std::abs(x - W / 2) < 8 && std::abs(y - H / 2) < 8;
    return hot ? std::array<float, 4>{1.5f, 1.4f, 1.2f, 1.0f} : std::array<float, 4>{0.2f, 0.25f, 0.3f, 1.0f};
  });
  fixture.Write(demo.m_pRTT_1_1, scene);
  demo.Bloom();
  EXPECT_EQ(fixture.Read(demo.m_pRTT_1_1), scene) << "the unbloomed scene stays in m_pRTT_1_1";

  const std::vector<float> bright = fixture.Read(demo.m_pRTT_BrightPass);
  EXPECT_NEAR(TexelAt(bright, W, 10, 10)[0], 0.0f, 1e-4f) << "dark parts are cut";
  EXPECT_GT(TexelAt(bright, W, W / 2, H / 2)[0], 1.0f) << "highlights pass, above 1.0";

  const std::vector<float> bloomed = fixture.Read(demo.m_pRTT_1_2);
  EXPECT_NEAR(TexelAt(bloomed, W, 10, 10)[0], 0.2f, 1e-3f) << "far from highlights nothing changes";
  EXPECT_GT(TexelAt(bloomed, W, W / 2 + 14, H / 2)[0], 0.25f) << "a glow just outside the highlight";
  EXPECT_GE(TexelAt(bloomed, W, W / 2, H / 2)[0], 1.5f);
}

TEST_F(ImageOpsTest, OcclusionReadsTheHalfSizeDepthWithTheFullScreenSize) {
  int w = 0, h = 0;
  DemoImageFixture::Size(demo.m_pRTT_SSAO_normals_depth, &w, &h);
  EXPECT_EQ(w, W / 2);
  EXPECT_EQ(h, H / 2);
  // An open plane facing the camera.
  fixture.Write(demo.m_pRTT_SSAO_normals_depth,
                Picture(demo.m_pRTT_SSAO_normals_depth, [](int, int) { return std::array<float, 4>{0.1f, 0.5f, 0.5f, 1.0f}; }));
  demo.Occlusion();

  ID3D11DeviceContext* context = demo.m_pD3D11->GetDeviceContext();
  ID3D11ShaderResourceView* views[2] = {};
  context->PSGetShaderResources(0, 2, views);
  EXPECT_EQ(views[0], demo.m_pRTT_SSAO_normals_depth->shaderResourceView);
  EXPECT_EQ(views[1], demo.m_pQuad_Noise->texture);
  EXPECT_NE(views[1], nullptr) << "ssaonoise.png";
  for (ID3D11ShaderResourceView* view : views)
    if (view) view->Release();
  const std::vector<uint8_t> bytes =
      testing_support::ReadBoundConstantBuffer(demo.m_pD3D11->GetDevice(), context, true, 0);
  ASSERT_EQ(bytes.size(), 16u);
  float screen[4];
  std::memcpy(screen, bytes.data(), 16);
  EXPECT_EQ(screen[0], static_cast<float>(W));
  EXPECT_EQ(screen[1], static_cast<float>(H));
  EXPECT_EQ(screen[2], 0.0f);
  EXPECT_EQ(screen[3], 0.0f);

  const std::vector<float> open = fixture.Read(demo.m_pRTT_SSAO);
  for (size_t i = 0; i < open.size(); i += 4) ASSERT_EQ(open[i], 1.0f) << "a flat open surface stays clean";
}

TEST_F(ImageOpsTest, MixModesAddOccludeAndGlow) {
  const std::array<float, 4> picture = {0.5f, 0.4f, 0.2f, 1.0f};
  fixture.Write(demo.m_pRTT_1_1, Picture(demo.m_pRTT_1_1, [&](int, int) { return picture; }));
  // The blurred image: the picture itself on the left, brighter on the right.
  fixture.Write(demo.m_pRTT_Blur, Picture(demo.m_pRTT_Blur, [&](int x, int) {
    return x < W / 2 ? picture : std::array<float, 4>{0.9f, 0.9f, 0.9f, 1.0f};
  }));
  auto mixed = [&](int32_t mode) {
    Demo::PrepareTarget(demo.m_pRTT_1_2);
    demo.Mix(mode, demo.m_pRTT_1_1);
    return fixture.Read(demo.m_pRTT_1_2);
  };
  const std::vector<float> bloom = mixed(0), occluded = mixed(1), glow = mixed(2);
  for (int c = 0; c < 3; ++c) {
    // Bloom adds: more where the blurred bright pass is brighter.
    EXPECT_GT(TexelAt(bloom, W, 10, 10)[c], picture[c]);
    EXPECT_GT(TexelAt(bloom, W, W - 10, 10)[c], TexelAt(bloom, W, 10, 10)[c]);
    // Occlusion multiplies: white (open) would keep it, here the factors are below one.
    EXPECT_NEAR(TexelAt(occluded, W, 10, 10)[c], picture[c] * picture[c], 1e-5f);
    EXPECT_NEAR(TexelAt(occluded, W, W - 10, 10)[c], picture[c] * 0.9f, 1e-5f);
    // The glow leaves areas as bright as their blur alone and lightens the rest.
    EXPECT_NEAR(TexelAt(glow, W, 10, 10)[c], picture[c], 1e-5f);
    EXPECT_GT(TexelAt(glow, W, W - 10, 10)[c], picture[c] + 0.1f);
  }
}

}  // namespace
