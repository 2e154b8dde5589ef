#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/Timer.h"
#include "demo/Demo.h"
#include "fx/ParticlePlacement.h"
#include "fx/ParticleSystem.h"
#include "gfx/RenderTarget.h"
#include "platform/dxgi/unknown.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "support/GpuTestDevice.h"
#include "support/TempDirectory.h"

namespace {

namespace fs = std::filesystem;

// The archive's staged data, as the build packs it into demo.dat.
fs::path StagedData() {
  const char* binary = std::getenv("PULSAR_BINARY_DIR");
  return fs::path(binary ? binary : ".") / "stage" / "engine_data";
}

class DemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(StagedData() / "loading.jpg")) GTEST_SKIP() << "no staged data at " << StagedData();
    fs::copy(StagedData(), directory.path() / "engine_data", fs::copy_options::recursive);
    window = testing_support::CreateTestWindow(kWidth, kHeight);
    ASSERT_NE(window, nullptr);
    timer.Initialize();
    platform::TakeShownMessageBoxes();
    liveBefore = IUnknown::LiveObjectCount();
  }
  void TearDown() override { platform::Window::Destroy(window); }

  bool InitializeDemo() { return demo.Initialize(kWidth, kHeight, false, false, 60, window, &timer, keys); }

  static constexpr int kWidth = 1366;
  static constexpr int kHeight = 768;
  TempDirectory directory{/*enter=*/true};
  platform::Window* window = nullptr;
  Timer timer;
  uint8_t keys[256] = {};
  Demo demo;
  long liveBefore = 0;
};

TEST_F(DemoTest, CreatesEverythingInOrderAndReleasesItAll) {
  ASSERT_TRUE(InitializeDemo());
  EXPECT_TRUE(platform::TakeShownMessageBoxes().empty());
  ASSERT_NE(demo.m_pQuadText_Credits, nullptr);
  ASSERT_NE(demo.m_pSound, nullptr);

  // Half and quarter targets truncate odd sizes.
  D3D11_TEXTURE2D_DESC desc{};
  demo.m_pRTT_4_1->texture->GetDesc(&desc);
  EXPECT_EQ(desc.Width, 683u);
  EXPECT_EQ(desc.Height, 384u);
  demo.m_pRTT_16_2->texture->GetDesc(&desc);
  EXPECT_EQ(desc.Width, 341u);
  EXPECT_EQ(desc.Height, 192u);
  demo.m_pTexture_1->texture->GetDesc(&desc);
  EXPECT_EQ(desc.Format, DXGI_FORMAT_R32G32B32A32_FLOAT);

  // The particle systems in the show's order: the specks continue the random sequence where
  // the second shell left it, exactly as placing the five presets one after another does.
  ASSERT_NE(demo.m_pSB_Qualle, nullptr);
  EXPECT_EQ(demo.m_pSB1->preset.type, 7);
  EXPECT_EQ(demo.m_pSB2->preset.type, 8);
  EXPECT_EQ(demo.m_pSB_Zelle1->preset.type, 10);
  EXPECT_EQ(demo.m_pSB_Zelle2->preset.type, 11);
  std::vector<Particle> placed;
  for (int32_t number : {7, 8, 10, 11, 18}) {
    const ParticlePreset preset = GetParticlePreset(number);
    placed.assign(static_cast<size_t>(preset.count), Particle{});
    std::vector<float> velocities(placed.size() * 3);
    PlaceParticles(preset, placed.data(), velocities.data());
  }
  EXPECT_EQ(demo.m_pSB_Qualle->particles[0].x, placed[0].x);
  EXPECT_EQ(demo.m_pSB_Qualle->particles[19999].z, placed[19999].z);
  EXPECT_NE(demo.m_pRadialBlur, nullptr);
  EXPECT_NE(demo.m_pDesignLines, nullptr);
  EXPECT_NE(demo.m_pGlitchKeyable, nullptr);
  EXPECT_NE(demo.m_pGlitchSound, nullptr);
  ASSERT_NE(demo.m_pSlide, nullptr);

  EXPECT_TRUE(demo.Frame(60));
  demo.Shutdown();
  EXPECT_EQ(demo.m_pSB1, nullptr);
  EXPECT_EQ(demo.m_pD3D11, nullptr);
  EXPECT_EQ(demo.m_pSlide, nullptr);
  EXPECT_EQ(demo.m_pRadialBlur, nullptr);
  EXPECT_EQ(demo.m_pSound, nullptr);
  EXPECT_EQ(demo.m_pQuadText_Credits, nullptr);
  EXPECT_EQ(IUnknown::LiveObjectCount(), liveBefore) << "Direct3D objects left behind";
  demo.Shutdown();  // a second Shutdown finds nothing to release
}

TEST_F(DemoTest, AFailedStepShowsItsOwnBoxAndLeavesEarlierMembersForShutdown) {
  fs::remove(fs::path("engine_data") / "ssao_PS.hlsl");
  EXPECT_FALSE(InitializeDemo());

  const std::vector<platform::MessageBoxRecord> boxes = platform::TakeShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, "missing shader file");
  EXPECT_EQ(boxes[0].text, "engine_data/ssao_PS.hlsl");
  EXPECT_EQ(boxes[1].caption, "rock'n'error");
  EXPECT_EQ(boxes[1].text, "m_pSM->InitShaders");

  // Everything before the shader programs exists; nothing after them was made.
  EXPECT_NE(demo.m_pD3D11, nullptr);
  EXPECT_NE(demo.m_pRSM, nullptr);
  EXPECT_NE(demo.m_pTextureCache, nullptr);
  EXPECT_EQ(demo.m_pUtility, nullptr);
  EXPECT_EQ(demo.m_pSound, nullptr);
  EXPECT_EQ(demo.m_pQuadLoading, nullptr);

  demo.Shutdown();
  EXPECT_EQ(demo.m_pD3D11, nullptr);
  EXPECT_EQ(IUnknown::LiveObjectCount(), liveBefore) << "Direct3D objects left behind";
}

}  // namespace
