#include <gtest/gtest.h>

#include <algorithm>

#include "DemoImageFixture.h"
#include "LabScene.h"
#include "scene/SceneLoader.h"

namespace {

using demo_test::DemoImageFixture;
using demo_test::TexelAt;

// The occlusion pass on the lab scene's camera depth pass, as the logo scene composes it.
class LabOcclusionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(fixture.Create(&error)) << error;
    ASSERT_TRUE(lab::WriteLabContent("engine_data"));
    loader = std::make_unique<SceneLoader>(fixture.demo.m_renderContext);
    ASSERT_TRUE(loader->Load("lab.c4e"));
    scene = loader->scenes.back().get();
    scene->Restart();
    scene->currentCamera = 0;
    scene->Update(0, 4000);
    D3DXMatrixPerspectiveFovLH(&projection, 3.14159265f / 4.0f, static_cast<float>(W) / H, 1.0f, 10000.0f);
  }
  void TearDown() override { loader.reset(); }

  // Where a world point lands on the screen.
  void Project(const D3DXVECTOR3& world, int* x, int* y) const {
    const D3DXMATRIX view = scene->RenderView();
    D3DXMATRIX viewProjection;
    D3DXMatrixMultiply(&viewProjection, &view, &projection);
    D3DXVECTOR3 clip;
    D3DXVec3TransformCoord(&clip, &world, &viewProjection);
    *x = static_cast<int>((clip.x * 0.5f + 0.5f) * W);
    *y = static_cast<int>((0.5f - clip.y * 0.5f) * H);
  }

  // The darkest and the mean value of a square of the occlusion image.
  static void Window(const std::vector<float>& image, int cx, int cy, int radius, float* darkest, float* mean) {
    *darkest = 1.0f;
    float sum = 0.0f;
    int count = 0;
    for (int y = std::max(cy - radius, 0); y <= std::min(cy + radius, H - 1); ++y)
      for (int x = std::max(cx - radius, 0); x <= std::min(cx + radius, W - 1); ++x) {
        const float v = TexelAt(image, W, x, y)[0];
        *darkest = std::min(*darkest, v);
        sum += v;
        ++count;
      }
    *mean = sum / count;
  }

  DemoImageFixture fixture;
  std::unique_ptr<SceneLoader> loader;
  Scene* scene = nullptr;
  D3DXMATRIX projection;
  static constexpr int W = DemoImageFixture::kWidth;
  static constexpr int H = DemoImageFixture::kHeight;
};

TEST_F(LabOcclusionTest, ContactsDarkenAndOpenSurfacesStayClean) {
  Demo& demo = fixture.demo;
  Demo::PrepareTarget(demo.m_pRTT_SSAO_normals_depth);
  scene->DepthRender(projection);
  demo.Occlusion();
  const std::vector<float> occlusion = fixture.Read(demo.m_pRTT_SSAO);

  float darkest = 0.0f, mean = 0.0f;
  int x = 0, y = 0;
  // Where the pedestal (a 90-unit box on the floor at the centre) stands on the floor.
  Project(D3DXVECTOR3(0.0f, 0.0f, 0.0f), &x, &y);
  Window(occlusion, x, y, 24, &darkest, &mean);
  EXPECT_LT(darkest, 0.4f) << "the pedestal's foot at " << x << ", " << y;
  // Where the chrome ball sits on the pedestal's top.
  Project(D3DXVECTOR3(0.0f, 90.0f, 0.0f), &x, &y);
  Window(occlusion, x, y, 12, &darkest, &mean);
  EXPECT_LT(darkest, 0.5f) << "under the ball at " << x << ", " << y;
  // Open floor in the near corner and the backdrop above everything.
  Window(occlusion, 20, H - 12, 8, &darkest, &mean);
  EXPECT_GT(mean, 0.97f) << "open floor";
  Window(occlusion, 20, 12, 8, &darkest, &mean);
  EXPECT_GT(mean, 0.97f) << "backdrop";
}

}  // namespace
