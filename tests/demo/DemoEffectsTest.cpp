#include <gtest/gtest.h>

#include "DemoImageFixture.h"
#include "fx/GlitchKeyable.h"
#include "fx/GlitchSound.h"
#include "fx/Slide.h"
#include "gfx/ShaderManager.h"
#include "sound/Sound.h"

namespace {

class DemoEffectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(fixture.Create(&error)) << error;
    demo.m_renderContext.sound = &sound;
    ASSERT_TRUE(demo.CreateRadialBlur() && demo.CreateDesignLines() && demo.CreateGlitches() && demo.CreateSlide());
  }

  const float* Shown(int i) const { return demo.m_pSM->postProcessShader->effectArray.get() + i * 4; }

  Sound sound;
  demo_test::DemoImageFixture fixture;
  Demo& demo = fixture.demo;
};

TEST_F(DemoEffectsTest, SlidesShowTheScenePictureInSixTransitions) {
  const std::vector<SlideKey>& keys = demo.m_pSlide->keys;
  ASSERT_EQ(keys.size(), 6u);
  const int32_t modes[] = {2, 3, 1, 1, 0, 1};
  const bool squeezes[] = {false, false, true, true, true, true};
  const int64_t starts[] = {140700, 146250, 151750, 156250, 156600, 156925};
  const int64_t ends[] = {141045, 146595, 152150, 156600, 156925, 157100};
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].mode, modes[i]) << i;
    EXPECT_EQ(keys[i].squeeze, squeezes[i]) << i;
    EXPECT_EQ(keys[i].start, starts[i]) << i;
    EXPECT_EQ(keys[i].end, ends[i]) << i;
    EXPECT_EQ(keys[i].interpolation, 1);
    EXPECT_EQ(keys[i].textureA, demo.m_pTexture_1->shaderResourceView);
    EXPECT_EQ(keys[i].textureB, demo.m_pTexture_1->shaderResourceView);
    EXPECT_EQ(keys[i].effectA, 0);
    EXPECT_EQ(keys[i].effectB, 0);
  }
}

TEST_F(DemoEffectsTest, TheSoundGlitchTakesOverAt151700) {
  // The keyed glitch copies its bands every frame.
  fixture.timer.elapsed = 116000;
  demo.UpdateGlitch();
  EXPECT_GT(Shown(0)[3] + Shown(1)[3] + Shown(2)[3], 0.0f);
  fixture.timer.elapsed = 151699;
  demo.UpdateGlitch();
  EXPECT_EQ(Shown(0)[3], 0.0f);
  EXPECT_FALSE(demo.m_bGlitchSoundStarted);

  sound.samples[0] = 0.4f;
  fixture.timer.elapsed = 151705;
  demo.UpdateGlitch();
  EXPECT_TRUE(demo.m_bGlitchSoundStarted);
  EXPECT_EQ(demo.m_pGlitchSound->lastUpdate, 151705);
  EXPECT_EQ(Shown(0)[3], 0.0f) << "the first sound update comes one interval later";
  fixture.timer.elapsed = 151772;
  demo.UpdateGlitch();
  EXPECT_FLOAT_EQ(Shown(0)[3], 10.0f);
  // Keyed windows no longer matter.
  fixture.timer.elapsed = 151800;
  demo.UpdateGlitch();
  EXPECT_FLOAT_EQ(Shown(0)[3], 10.0f);
}

}  // namespace
