// The Demo's creation sequence and its release, through the real objects on llvmpipe.
#include <gtest/gtest.h>

#include <filesystem>

#include "DemoFixture.h"
#include "demo/Lens.h"
#include "diag/DebugFont.h"
#include "fx/ParticlePlacement.h"
#include "fx/ParticleSystem.h"
#include "gfx/RenderTarget.h"
#include "platform/audio.h"
#include "platform/dxgi/unknown.h"
#include "platform/message_box.h"
#include "scene/SceneLoader.h"
#include "sound/Sound.h"

namespace {

namespace fs = std::filesystem;
using demo_test::DemoFixture;

// True when the music stream was ever started.
bool MusicStarted(const Demo& demo) {
  float block[2];
  return platform::BASS_ChannelGetData(demo.m_pSound->stream, block, BASS_DATA_FLOAT | sizeof(block)) >= 0;
}

using DemoTest = DemoFixture;

TEST_F(DemoTest, CreatesEverythingInOrderAndReleasesItAll) {
  Open(1366, 768);
  ASSERT_TRUE(InitializeDemo());
  EXPECT_TRUE(platform::TakeShownMessageBoxes().empty());
  ASSERT_NE(demo.m_pQuadText_Credits, nullptr);
  ASSERT_NE(demo.m_pSound, nullptr);
  EXPECT_TRUE(MusicStarted(demo));

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


  // "Arial" resolves to an installed face; the font borrows the device.
  ASSERT_NE(demo.m_pFont, nullptr);
  EXPECT_EQ(demo.m_pFont->colour, 0xFFFF00FFu);
  ASSERT_NE(demo.m_pFont->fontWrapper, nullptr);
  EXPECT_FALSE(demo.m_pFont->fontWrapper->file.empty());

  // The lens was made last of the drawing objects, on the same context as the first.
  ASSERT_NE(demo.m_pLens, nullptr);
  EXPECT_FLOAT_EQ(demo.m_pLens->fov, 45.0f);
  EXPECT_EQ(demo.m_pLens->keys.size(), 49u);
  EXPECT_EQ(demo.m_pLens->m_renderContext.timer, demo.m_pQuadLoading->m_renderContext.timer);
  EXPECT_EQ(demo.m_pLens->m_renderContext.sound, demo.m_pQuadLoading->m_renderContext.sound);

  // The eleven scenes in index order, on their first camera, with their own events.
  ASSERT_NE(demo.m_pScenes, nullptr);
  ASSERT_EQ(demo.m_pScenes->scenes.size(), 11u);
  EXPECT_EQ(demo.m_pScenes->scenes[0]->speedEvents.size(), 4u);
  EXPECT_EQ(demo.m_pScenes->scenes[4]->speedEvents.size(), 12u);
  EXPECT_EQ(demo.m_pScenes->scenes[9]->rollEvents.size(), 2u);
  EXPECT_TRUE(demo.m_pScenes->scenes[7]->cameraUpFollowsRotation);
  for (const auto& scene : demo.m_pScenes->scenes) EXPECT_EQ(scene->currentCamera, 0);

  FrameAt(0);
  demo.Shutdown();
  EXPECT_EQ(demo.m_pSB1, nullptr);
  EXPECT_EQ(demo.m_pD3D11, nullptr);
  EXPECT_EQ(demo.m_pSlide, nullptr);
  EXPECT_EQ(demo.m_pRadialBlur, nullptr);
  EXPECT_EQ(demo.m_pSound, nullptr);
  EXPECT_EQ(demo.m_pFont, nullptr);
  EXPECT_EQ(demo.m_pLens, nullptr);
  EXPECT_EQ(demo.m_pScenes, nullptr);
  EXPECT_EQ(demo.m_pQuadText_Credits, nullptr);
  EXPECT_EQ(IUnknown::LiveObjectCount(), liveBefore) << "Direct3D objects left behind";
  demo.Shutdown();  // a second Shutdown finds nothing to release
}

TEST_F(DemoTest, AFailedShaderStepShowsItsOwnBoxAndLeavesEarlierMembersForShutdown) {
  Open(320, 180);
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
  EXPECT_NE(demo.m_pFont, nullptr);
  EXPECT_NE(demo.m_pRSM, nullptr);
  EXPECT_NE(demo.m_pTextureCache, nullptr);
  EXPECT_EQ(demo.m_pUtility, nullptr);
  EXPECT_EQ(demo.m_pSound, nullptr);
  EXPECT_EQ(demo.m_pQuadLoading, nullptr);

  demo.Shutdown();
  EXPECT_EQ(demo.m_pD3D11, nullptr);
  EXPECT_EQ(IUnknown::LiveObjectCount(), liveBefore) << "Direct3D objects left behind";
}

// A one-pixel screen has no half-size targets: the fifth target is the first to fail.
TEST_F(DemoTest, AFailedRenderTargetIsNamedOnceAndTheMusicNeverStarts) {
  Open(1, 1);
  EXPECT_FALSE(InitializeDemo());
  const std::vector<platform::MessageBoxRecord> boxes = platform::TakeShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "m_pRTT_4_1->Create");
  EXPECT_EQ(boxes[0].caption, "rock'n'error");
  EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_ICONERROR));

  for (RenderTarget* made : {demo.m_pTexture_1, demo.m_pTexture_2, demo.m_pRTT_1_1, demo.m_pRTT_1_2}) {
    ASSERT_NE(made, nullptr);
    EXPECT_NE(made->shaderResourceView, nullptr);
  }
  EXPECT_NE(demo.m_pRTT_4_1, nullptr);  // kept for Shutdown
  EXPECT_EQ(demo.m_pRTT_4_2, nullptr);
  EXPECT_EQ(demo.m_pQuad_Blur_4, nullptr);
  EXPECT_EQ(demo.m_pLens, nullptr);
  // The loader reads the scene files ahead from the start; no scene was loaded.
  ASSERT_NE(demo.m_pScenes, nullptr);
  EXPECT_TRUE(demo.m_pScenes->scenes.empty());
  ASSERT_NE(demo.m_pSound, nullptr);
  EXPECT_FALSE(MusicStarted(demo));

  demo.Shutdown();
  EXPECT_EQ(demo.m_pRTT_4_1, nullptr);
  EXPECT_EQ(IUnknown::LiveObjectCount(), liveBefore) << "Direct3D objects left behind";
}

}  // namespace
