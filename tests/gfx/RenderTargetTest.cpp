// Render targets on llvmpipe: sizes truncated from the screen, float format, binding and clear.
#include <gtest/gtest.h>

#include "gfx/RenderTarget.h"
#include "support/GpuTestDevice.h"

namespace {

RenderContext ContextFor(testing_support::GpuTestDevice& gpu, int width, int height) {
  RenderContext rc;
  rc.device = gpu.device;
  rc.context = gpu.context;
  rc.depthStencilView = gpu.depthView;
  rc.width = width;
  rc.height = height;
  return rc;
}

}  // namespace

TEST(RenderTarget, SizesAreTheScreenTimesTheFactorTruncated) {
  testing_support::GpuTestDevice gpu;
  ASSERT_TRUE(gpu.Create(64, 64));
  const RenderContext rc = ContextFor(gpu, 1366, 768);
  struct Case {
    float factor;
    UINT width, height;
    float viewportWidth;
  } cases[] = {{1.0f, 1366, 768, 1366.0f}, {0.5f, 683, 384, 683.0f}, {0.25f, 341, 192, 341.5f}};
  for (const Case& c : cases) {
    RenderTarget target(rc);
    ASSERT_TRUE(target.Create(c.factor));
    D3D11_TEXTURE2D_DESC desc;
    target.texture->GetDesc(&desc);
    EXPECT_EQ(desc.Width, c.width);
    EXPECT_EQ(desc.Height, c.height);
    EXPECT_EQ(desc.Format, DXGI_FORMAT_R32G32B32A32_FLOAT);
    EXPECT_EQ(target.viewport.Width, c.viewportWidth);
    EXPECT_FLOAT_EQ(target.aspect, 1366.0f / 768.0f);
  }
  testing_support::ExpectNoGLErrors();
}

TEST(RenderTarget, SetAsTargetBindsItsViewportAndClearMakesItOpaqueBlack) {
  testing_support::GpuTestDevice gpu;
  ASSERT_TRUE(gpu.Create(64, 32));
  RenderTarget target(ContextFor(gpu, 64, 32));
  ASSERT_TRUE(target.Create(0.5f));
  target.SetAsTarget();
  D3D11_VIEWPORT viewport;
  UINT count = 1;
  gpu.context->RSGetViewports(&count, &viewport);
  EXPECT_EQ(viewport.Width, 32.0f);
  EXPECT_EQ(viewport.Height, 16.0f);
  ID3D11RenderTargetView* bound = nullptr;
  ID3D11DepthStencilView* depth = nullptr;
  gpu.context->OMGetRenderTargets(1, &bound, &depth);
  EXPECT_EQ(bound, target.renderTargetView);
  EXPECT_EQ(depth, gpu.depthView);
  if (bound) bound->Release();
  if (depth) depth->Release();
  target.Clear();
  testing_support::ExpectNoGLErrors();
}

TEST(RenderTarget, ShutdownToleratesAFailedOrMissingCreate) {
  RenderContext empty;
  RenderTarget target(empty);
  EXPECT_FALSE(target.Create(1.0f));  // no device
  target.Shutdown();
  target.Shutdown();
  EXPECT_EQ(target.texture, nullptr);
}
