// The scene compositions' own state through the real Demo: the blob's and the cell's turning
// particles, the lens the particles are seen through, and the glitch hand-over.
#include <gtest/gtest.h>

#include <set>

#include "DemoFixture.h"
#include "gfx/D3D11Device.h"
#include "gfx/RenderTarget.h"
#include "gfx/ShaderManager.h"
#include "scene/Scene.h"
#include "demo/Lens.h"
#include "fx/GlitchSound.h"
#include "sound/Sound.h"
#include "support/FloatTexture.h"
#include "support/GpuTestDevice.h"

namespace {

class DemoScenesTest : public demo_test::SmallShowFixture {
 protected:

  // How far one blob frame of delta ms turns the particles at a music peak.
  float BlobTurn(float peak, int64_t delta) {
    timer.elapsed = 140000;
    timer.delta = delta;
    demo.m_pSound->peak = peak;
    const float before = demo.m_blobAngle;
    demo.SceneBlob(demo.m_pTexture_1);
    return demo.m_blobAngle - before;
  }

  // Marks the target, draws the frame at t and tells whether the frame drew into the target.
  bool FrameDrawsInto(RenderTarget* target, int64_t t) {
    ID3D11Device* device = demo.m_pD3D11->GetDevice();
    ID3D11DeviceContext* context = demo.m_pD3D11->GetDeviceContext();
    std::vector<float> marked = testing_support::ReadFloatTexture(device, context, target->texture);
    EXPECT_FALSE(marked.empty());
    for (size_t i = 0; i < marked.size(); ++i) marked[i] = i % 4 == 3 ? 1.0f : 0.25f;
    testing_support::WriteFloatTexture(context, target->texture, marked);
    FrameAt(t);
    return testing_support::ReadFloatTexture(device, context, target->texture) != marked;
  }
};

// Before the magnet's first frame each of its material programs and its shadow pass's states
// have been drawn once where nothing shows, and so have the passes every composition shares:
// one draw at a time at least a fifth of a second apart, so its first frame compiles none of them.
TEST_F(DemoScenesTest, TheMagnetsProgramsAreRehearsedInTheSecondsBeforeItsFirstFrame) {
  demo.m_pSM->WaitForSpecialisedPrograms(true);
  const Scene* magnet = demo.SceneAt(4);
  ASSERT_NE(magnet, nullptr);
  std::set<uint32_t> keys;
  for (const auto& [position, key] : magnet->MaterialProgramKeys(true)) keys.insert(key);
  ASSERT_GT(keys.size(), 2u);
  const size_t casters = magnet->ShadowCasterSamples().size();
  ASSERT_GE(casters, 1u);
  // Targets the tunnel never draws into, marked: the rehearsal's draws must leave them alone.
  ID3D11Device* device = demo.m_pD3D11->GetDevice();
  ID3D11DeviceContext* context = demo.m_pD3D11->GetDeviceContext();
  std::vector<std::vector<float>> marks;
  const std::vector<RenderTarget*> marked = {demo.m_pRTT_DepthMap, demo.m_pRTT_SSAO, demo.m_pRTT_BrightPass};
  for (RenderTarget* target : marked) {
    std::vector<float> texels = testing_support::ReadFloatTexture(device, context, target->texture);
    ASSERT_FALSE(texels.empty());
    for (size_t i = 0; i < texels.size(); ++i) texels[i] = 0.125f + 0.25f * static_cast<float>(i % 3);
    testing_support::WriteFloatTexture(context, target->texture, texels);
    marks.push_back(texels);
  }

  FrameAt(38900);
  EXPECT_NE(demo.m_rehearsal.firstDrawn, 47000) << "eight seconds ahead is soon enough";
  int64_t lastDraw = -1;
  size_t meshes = 0, draws = 0;
  for (int64_t t = 39000; t < 47000; t += 100) {
    const bool started = demo.m_rehearsal.firstDrawn == 47000;
    const size_t pendingBefore = started ? demo.m_rehearsal.pending.size() : keys.size() + casters;
    const int64_t drawnBefore = started ? demo.m_rehearsal.lastDrawn : -1;
    FrameAt(t);
    ASSERT_EQ(demo.m_rehearsal.firstDrawn, 47000);
    const size_t pendingAfter = demo.m_rehearsal.pending.size();
    ASSERT_LE(pendingAfter + 1, pendingBefore + 1) << "at " << t;
    if (pendingAfter + 1 == pendingBefore) ++meshes;
    if (demo.m_rehearsal.lastDrawn != drawnBefore) {
      EXPECT_TRUE(lastDraw < 0 || t - lastDraw >= 200) << "two draws within a fifth of a second at " << t;
      lastDraw = t;
      ++draws;
    }
  }
  EXPECT_TRUE(demo.m_rehearsal.pending.empty());
  EXPECT_EQ(meshes, keys.size() + casters) << "one mesh for each program and each shadow state";
  for (uint32_t key : keys) EXPECT_EQ(demo.m_rehearsal.drawnKeys.count(key), 1u) << key;
  EXPECT_EQ(demo.m_rehearsal.passesDrawn, Demo::Rehearsal::kPassCount);
  EXPECT_EQ(draws, meshes + Demo::Rehearsal::kPassCount);
  for (size_t i = 0; i < marked.size(); ++i)
    EXPECT_EQ(testing_support::ReadFloatTexture(device, context, marked[i]->texture), marks[i]) << "target " << i;
  testing_support::ExpectNoGLErrors();
}

// The tunnel's second half reaches the screen only through the cross-fader: before its first
// key the half is not drawn, yet its clock keeps pace with the first half's, so the fade opens
// on the frame a drawn half would show.
TEST_F(DemoScenesTest, TheTunnelsSecondHalfIsDrawnOnlyWhileTheCrossFaderShowsIt) {
  Scene* second = demo.SceneAt(8);
  ASSERT_NE(second, nullptr);
  FrameAt(31000);
  const int64_t clockBefore = second->time;
  EXPECT_FALSE(FrameDrawsInto(demo.m_pTexture_2, 31700)) << "drawn with no fader over it";
  EXPECT_GT(second->time, clockBefore) << "the undrawn half's clock stands still";
  EXPECT_TRUE(FrameDrawsInto(demo.m_pTexture_2, 31800)) << "not drawn under the fade";
  testing_support::ExpectNoGLErrors();
}

// From 197 s the black fader hides everything but the credits: the logo is no longer drawn,
// and its clock runs on.
TEST_F(DemoScenesTest, TheLogoIsNotDrawnUnderTheFullBlackFader) {
  Scene* logo = demo.SceneAt(10);
  ASSERT_NE(logo, nullptr);
  EXPECT_TRUE(FrameDrawsInto(demo.m_pTexture_1, 196900)) << "not drawn while the fade still shows it";
  const int64_t clockBefore = logo->time;
  EXPECT_FALSE(FrameDrawsInto(demo.m_pTexture_1, 197100)) << "drawn under full black";
  EXPECT_GT(logo->time, clockBefore) << "the hidden logo's clock stands still";
  testing_support::ExpectNoGLErrors();
}

TEST_F(DemoScenesTest, TheBlobTurnsTenTimesFasterFromHalfPeak) {
  const float slow = BlobTurn(0.49f, 40);
  const float fast = BlobTurn(0.5f, 40);
  EXPECT_NEAR(slow, 0.0005f * 3.1415927f * 40.0f, 1e-5f);
  EXPECT_NEAR(fast, 10.0f * slow, 1e-4f);
  EXPECT_FLOAT_EQ(BlobTurn(1.0f, 0), 0.0f);
  // The angle wraps once past 360.
  demo.m_blobAngle = 359.99f;
  BlobTurn(1.0f, 40);
  EXPECT_NEAR(demo.m_blobAngle, 359.99f + 0.6283185f - 360.0f, 1e-3f);
  testing_support::ExpectNoGLErrors();
}

TEST_F(DemoScenesTest, WithoutTimeTheCellsShellsStandStill) {
  timer.elapsed = 80000;
  timer.delta = 0;
  demo.SceneZelle(demo.m_pTexture_1);
  EXPECT_FLOAT_EQ(demo.m_zelleAngle, 0.0f);
  timer.delta = 100;
  demo.SceneZelle(demo.m_pTexture_1);
  EXPECT_NEAR(demo.m_zelleAngle, 0.31415929f, 1e-6f);
  // The shells were seen through 45 degrees; the cell gets the keyed lens, here the start of
  // the key that begins at 80000 (not the end of the one that ends there).
  EXPECT_FLOAT_EQ(demo.m_pLens->fov, 30.0f);
}

TEST_F(DemoScenesTest, TheJellyfishSpecksAlwaysSeeFortyFiveDegrees) {
  FrameAt(94000);  // the keys say about 58 degrees here
  EXPECT_FLOAT_EQ(demo.m_pLens->fov, 45.0f);
  timer.elapsed = 94000;
  demo.m_pLens->Update();
  EXPECT_GT(demo.m_pLens->fov, 50.0f);
}

TEST_F(DemoScenesTest, TheSoundGlitchTakesOverAt151700Once) {
  FrameAt(151660);
  FrameAt(151699);
  EXPECT_FALSE(demo.m_bGlitchSoundStarted);
  FrameAt(151700);
  EXPECT_TRUE(demo.m_bGlitchSoundStarted);
  EXPECT_EQ(demo.m_pGlitchSound->lastUpdate, 151700);
  FrameAt(151740);
  EXPECT_EQ(demo.m_pGlitchSound->lastUpdate, 151700);  // its interval has not passed
  FrameAt(151780);
  EXPECT_EQ(demo.m_pGlitchSound->lastUpdate, 151780);
}

}  // namespace
