// D3D11Device and RenderStateManager as the show creates them: mode walk, adapter description,
// default bindings, orthographic projections placing quads where the screen expects them.
#include <gtest/gtest.h>

#include <string>

#include "gfx/D3D11Device.h"
#include "gfx/RenderStateManager.h"
#include "platform/dxgi/dxgi_overrides.h"
#include "support/DisplayModes.h"
#include "support/GpuTestDevice.h"

using testing_support::CreateTestWindow;
using testing_support::ExpectNoGLErrors;

namespace {

using testing_support::ModeDesc;

class D3D11DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = CreateTestWindow(80, 60);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    device.Shutdown();
    platform::dxgi::OverrideDisplayModes(std::nullopt);
    platform::dxgi::OverrideAdapterDescription(std::nullopt);
    if (window != nullptr) platform::Window::Destroy(window);
  }
  DXGI_RATIONAL RequestedRefreshRate() {
    DXGI_SWAP_CHAIN_DESC desc;
    device.GetSwapChain()->GetDesc(&desc);
    return desc.BufferDesc.RefreshRate;
  }

  platform::Window* window = nullptr;
  D3D11Device device;
};

TEST_F(D3D11DeviceTest, VsyncTakesTheRefreshRateOfTheLastModeOfTheScreenSize) {
  platform::dxgi::OverrideDisplayModes(std::vector<DXGI_MODE_DESC>{
      ModeDesc(80, 60, 60000, 1001), ModeDesc(80, 60, 75, 1), ModeDesc(1024, 768, 120, 1), ModeDesc(80, 60, 50, 1),
      ModeDesc(640, 480, 144, 1)});
  ASSERT_TRUE(device.Initialize(80, 60, true, window, false, 10000.0f, 1.0f));
  EXPECT_EQ(RequestedRefreshRate().Numerator, 50u);
  EXPECT_EQ(RequestedRefreshRate().Denominator, 1u);
  ExpectNoGLErrors();
}

TEST_F(D3D11DeviceTest, WithoutVsyncOrAMatchingModeTheRateIsZeroOverOne) {
  platform::dxgi::OverrideDisplayModes(std::vector<DXGI_MODE_DESC>{ModeDesc(80, 60, 60, 1)});
  ASSERT_TRUE(device.Initialize(80, 60, false, window, false, 10000.0f, 1.0f));
  EXPECT_EQ(RequestedRefreshRate().Numerator, 0u);
  EXPECT_EQ(RequestedRefreshRate().Denominator, 1u);
  device.Shutdown();
  platform::dxgi::OverrideDisplayModes(std::vector<DXGI_MODE_DESC>{ModeDesc(800, 600, 60, 1)});
  ASSERT_TRUE(device.Initialize(80, 60, true, window, false, 10000.0f, 1.0f));
  EXPECT_EQ(RequestedRefreshRate().Numerator, 0u);
  EXPECT_EQ(RequestedRefreshRate().Denominator, 1u);
}

TEST_F(D3D11DeviceTest, ADescriptionTooLongForTheFieldFailsInitialize) {
  // 127 characters fit with their terminating zero; as two-byte characters they do not.
  platform::dxgi::OverrideAdapterDescription(std::wstring(127, L'a'));
  EXPECT_TRUE(device.Initialize(80, 60, false, window, false, 10000.0f, 1.0f));
  EXPECT_EQ(std::string(device.GetVideoCardDescription()), std::string(127, 'a'));
  device.Shutdown();
  platform::dxgi::OverrideAdapterDescription(std::wstring(64, L'\u00e9'));
  EXPECT_FALSE(device.Initialize(80, 60, false, window, false, 10000.0f, 1.0f));
  EXPECT_EQ(device.GetDevice(), nullptr);
  device.Shutdown();
}

TEST_F(D3D11DeviceTest, BeginSceneClearsAndEndScenePresentsHeadless) {
  ASSERT_TRUE(device.Initialize(80, 60, false, window, false, 10000.0f, 1.0f));
  device.BeginScene(0.0f, 1.0f, 0.0f, 1.0f);
  std::vector<uint8_t> pixels(80 * 60 * 4);
  ASSERT_TRUE(device.GetSwapChain()->ReadBackBuffer(pixels.data()));
  EXPECT_EQ(pixels[(30 * 80 + 40) * 4 + 1], 255);
  // A clear to transparent green is still opaque green on screen, and so in a screenshot.
  device.BeginScene(0.0f, 0.6f, 0.0f, 0.0f);
  ASSERT_TRUE(device.GetSwapChain()->ReadBackBuffer(pixels.data()));
  EXPECT_EQ(pixels[(30 * 80 + 40) * 4 + 3], 0);
  ASSERT_TRUE(device.GetSwapChain()->ReadPresentedPicture(pixels.data()));
  EXPECT_EQ(pixels[(30 * 80 + 40) * 4 + 1], 153);
  EXPECT_EQ(pixels[(30 * 80 + 40) * 4 + 3], 255);
  device.EndScene();
  device.EndScene();
  ExpectNoGLErrors();
}

TEST_F(D3D11DeviceTest, InitializeBindsTheBackBufferDepthStateBlendAndViewport) {
  ASSERT_TRUE(device.Initialize(80, 60, false, window, false, 10000.0f, 1.0f));
  ID3D11DeviceContext* context = device.GetDeviceContext();
  ID3D11RenderTargetView* target = nullptr;
  ID3D11DepthStencilView* depth = nullptr;
  context->OMGetRenderTargets(1, &target, &depth);
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(depth, device.GetDepthStencilView());
  target->Release();
  depth->Release();
  ID3D11DepthStencilState* depthState = nullptr;
  UINT reference = 0;
  context->OMGetDepthStencilState(&depthState, &reference);
  ASSERT_NE(depthState, nullptr);
  EXPECT_EQ(reference, 1u);
  D3D11_DEPTH_STENCIL_DESC depthDesc;
  depthState->GetDesc(&depthDesc);
  EXPECT_EQ(depthDesc.FrontFace.StencilDepthFailOp, D3D11_STENCIL_OP_INCR);
  EXPECT_EQ(depthDesc.BackFace.StencilDepthFailOp, D3D11_STENCIL_OP_DECR);
  depthState->Release();
  D3D11_VIEWPORT viewport;
  UINT count = 1;
  context->RSGetViewports(&count, &viewport);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(viewport.Width, 80.0f);
  EXPECT_EQ(viewport.Height, 60.0f);
  EXPECT_EQ(viewport.MaxDepth, 1.0f);
}

// Where D3DXMatrixOrthoLH puts a box is checked in the math tests; here each size class's sizes and planes.
TEST_F(D3D11DeviceTest, OrthoMatricesCoverTheScreenItsHalfAndItsQuarter) {
  ASSERT_TRUE(device.Initialize(80, 60, false, window, false, 10000.0f, 1.0f));
  struct Case {
    const D3DXMATRIX* matrix;
    float width, height;
  };
  for (const Case& c : {Case{&device.GetOrthoMatrix(), 80, 60}, Case{&device.GetHalfOrthoMatrix(), 40, 30},
                        Case{&device.GetQuarterOrthoMatrix(), 20, 15}}) {
    D3DXMATRIX expected;
    D3DXMatrixOrthoLH(&expected, c.width, c.height, 1.0f, 10000.0f);
    for (int i = 0; i < 16; ++i) {
      EXPECT_NEAR(c.matrix->m[i / 4][i % 4], expected.m[i / 4][i % 4], 1e-7f) << c.width << " element " << i;
    }
  }
  EXPECT_TRUE(D3DXMatrixIsIdentity(&device.GetWorldMatrix()));
}

TEST_F(D3D11DeviceTest, ShutdownWithoutInitializeAndTwiceIsHarmless) {
  device.Shutdown();
  const long liveBefore = IUnknown::LiveObjectCount();
  ASSERT_TRUE(device.Initialize(80, 60, false, window, false, 10000.0f, 1.0f));
  device.Shutdown();
  EXPECT_EQ(IUnknown::LiveObjectCount(), liveBefore);
  device.Shutdown();
  EXPECT_EQ(device.GetDevice(), nullptr);
}

class RenderStateManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gpu.Create(16, 16)); }
  testing_support::GpuTestDevice gpu;
  RenderStateManager states;
};

TEST_F(RenderStateManagerTest, InitializeBindsCullBackOpaqueAndDepthOn) {
  states.Shutdown();  // before Initialize: nothing to release
  ASSERT_TRUE(states.Initialize(gpu.device, gpu.context));
  ID3D11RasterizerState* raster = nullptr;
  gpu.context->RSGetState(&raster);
  EXPECT_EQ(raster, states.rasterCullBack);
  raster->Release();
  ID3D11BlendState* blend = nullptr;
  float factor[4] = {1, 1, 1, 1};
  UINT mask = 0;
  gpu.context->OMGetBlendState(&blend, factor, &mask);
  EXPECT_EQ(blend, states.blendOpaque);
  EXPECT_EQ(factor[0] + factor[1] + factor[2] + factor[3], 0.0f);
  EXPECT_EQ(mask, 0xffffffffu);
  blend->Release();
  ID3D11DepthStencilState* depth = nullptr;
  UINT reference = 0;
  gpu.context->OMGetDepthStencilState(&depth, &reference);
  EXPECT_EQ(depth, states.depthOn);
  EXPECT_EQ(reference, 1u);
  depth->Release();

  const long liveBefore = IUnknown::LiveObjectCount();
  states.Shutdown();
  // The three bound states live on in the context until it lets them go, as in Direct3D.
  EXPECT_EQ(IUnknown::LiveObjectCount(), liveBefore - 6);
  gpu.context->ClearState();
  EXPECT_EQ(IUnknown::LiveObjectCount(), liveBefore - 9);
  EXPECT_EQ(states.depthOff, nullptr);
  EXPECT_EQ(states.rasterCullNone, nullptr);
  states.Shutdown();
  EXPECT_EQ(IUnknown::LiveObjectCount(), liveBefore - 9);
  ExpectNoGLErrors();
}

}  // namespace
