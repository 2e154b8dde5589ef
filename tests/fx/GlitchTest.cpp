#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/Timer.h"
#include "fx/GlitchKeyable.h"
#include "fx/GlitchSound.h"
#include "gfx/ShaderManager.h"
#include "platform/crt_rand.h"
#include "sound/Sound.h"

namespace {

// The glitch objects on a context with a post-processing program whose effect array exists but
// was never compiled: they only copy into it.
class GlitchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shaders.postProcessShader = new PostProcessShader();
    shaders.postProcessShader->effectArray.reset(new float[PostProcessShader::kArrayEntries * 4]());
    context.timer = &timer;
    context.sound = &sound;
    context.shaders = &shaders;
    context.width = 1920;
    context.height = 1080;
    platform::srand(1337);
  }

  const float* Entry(const GlitchEntries& glitch, int i) const { return glitch.entries.get() + i * 4; }
  const float* ShaderEntry(int i) const { return shaders.postProcessShader->effectArray.get() + i * 4; }
  static bool IsNeutral(const float* e) { return e[0] == 1.0f && e[1] == 1.0f && e[2] == 1.0f && e[3] == 0.0f; }

  Timer timer;
  Sound sound;
  ShaderManager shaders;
  RenderContext context;
};

TEST_F(GlitchTest, KeyListFollowsTheShowsWindows) {
  GlitchKeyable glitch(context);
  ASSERT_TRUE(glitch.Create());
  ASSERT_EQ(glitch.keys.size(), 21u);
  const GlitchKey& first = glitch.keys[0];
  EXPECT_EQ(first.start, 93800);
  EXPECT_EQ(first.end, 94550);
  EXPECT_EQ(first.step, 1);
  EXPECT_FLOAT_EQ(first.amplitude, 10.0f);
  EXPECT_EQ(glitch.keys[4].step, 16);
  for (int k = 0; k < 8; ++k) {
    const GlitchKey& green = glitch.keys[5 + k];
    EXPECT_EQ(green.start, 70025 + 2760 * k);
    EXPECT_EQ(green.end, green.start + 690);
    EXPECT_EQ(green.step, 30);  // 1920 / 64
    EXPECT_EQ(green.band, 30);
    EXPECT_FLOAT_EQ(green.amplitude, 50.0f);
    EXPECT_TRUE(green.green);
    EXPECT_FALSE(green.red || green.blue);
    const GlitchKey& fine = glitch.keys[13 + k];
    EXPECT_EQ(fine.start, 115850 + 2760 * k);
    EXPECT_EQ(fine.end, fine.start + 690);
    EXPECT_EQ(fine.step, 1);
    EXPECT_FLOAT_EQ(fine.amplitude, 15.0f);
    EXPECT_FALSE(fine.red || fine.green || fine.blue);
  }
}

TEST_F(GlitchTest, OutsideEveryWindowTheScreenWidthOfEntriesIsNeutral) {
  GlitchKeyable glitch(context);
  ASSERT_TRUE(glitch.Create());
  for (int64_t t : {0, 50000, 70024, 70716, 151699}) {
    timer.elapsed = t;
    glitch.Update();
    for (int i = 0; i < 1920; ++i) ASSERT_TRUE(IsNeutral(Entry(glitch, i))) << t << " entry " << i;
    // Entries the picture does not read are left alone.
    EXPECT_EQ(Entry(glitch, 1920)[0], 0.0f);
  }
  glitch.CopyIntoShader();
  EXPECT_TRUE(IsNeutral(ShaderEntry(0)));
  EXPECT_TRUE(IsNeutral(ShaderEntry(1919)));
}

TEST_F(GlitchTest, GreenBandsAt70025RampAcrossEachBandAndFadeOverTheWindow) {
  GlitchKeyable glitch(context);
  ASSERT_TRUE(glitch.Create());
  float largestAtStart = 0.0f;
  timer.elapsed = 70025;
  glitch.Update();
  for (int band = 0; band < 64; ++band) {
    const float u = Entry(glitch, band * 30)[3];
    largestAtStart = std::max(largestAtStart, u);
    // Half the amplitude at the window's start.
    ASSERT_GE(u, 0.0f);
    ASSERT_LE(u, 25.0f);
    for (int k = 0; k < 30; ++k) {
      const float* e = Entry(glitch, band * 30 + k);
      ASSERT_EQ(e[3], u) << "one amount per band";
      ASSERT_EQ(e[0], 1.0f);
      ASSERT_EQ(e[2], 1.0f);
      ASSERT_FLOAT_EQ(e[1], u * k / 30.0f * 0.5f) << "band " << band << " entry " << k;
    }
  }
  EXPECT_GT(largestAtStart, 12.0f) << "64 draws should reach the upper half of 0..25";

  // At the window's end the amount has fallen to 50 cos 1 - 25 (about 2.0).
  timer.elapsed = 70715;
  glitch.Update();
  for (int i = 0; i < 1920; ++i) ASSERT_LE(Entry(glitch, i)[3], 50.0f * std::cos(1.0f) - 25.0f + 1e-4f);
}

TEST_F(GlitchTest, ScreenWidthsOutsideTheTableStaySafe) {
  // Narrower than 64 pixels: the banded keys step by one and write nothing.
  context.width = 32;
  GlitchKeyable narrow(context);
  ASSERT_TRUE(narrow.Create());
  EXPECT_EQ(narrow.keys[5].step, 1);
  EXPECT_EQ(narrow.keys[5].band, 0);
  timer.elapsed = 60000;
  narrow.Update();
  timer.elapsed = 70025;
  narrow.Update();
  for (int i = 0; i < 32; ++i) EXPECT_TRUE(IsNeutral(Entry(narrow, i)));

  // Wider than the table: every entry is written, nothing past it (the table is exactly
  // 4,096 entries, so a write past it would corrupt the heap the next checks read).
  context.width = 8000;
  GlitchKeyable wide(context);
  ASSERT_TRUE(wide.Create());
  EXPECT_EQ(wide.keys[5].band, 125);
  for (int64_t t : {116000, 70025, 50000}) {
    timer.elapsed = t;
    wide.Update();
  }
  for (int i = 0; i < GlitchEntries::kEntryCount; ++i) ASSERT_TRUE(IsNeutral(Entry(wide, i)));
}

TEST_F(GlitchTest, SoundEntriesFollowTheLeftChannelFourEntriesASample) {
  GlitchSound glitch(context);
  ASSERT_TRUE(glitch.Create());
  for (int i = 0; i < Sound::kSampleCount; ++i) sound.samples[i] = 0.0f;
  sound.samples[0] = 0.5f;
  sound.samples[1] = 0.9f;        // right channel: never used
  sound.samples[2] = -0.02f;
  sound.samples[4] = 0.0099f;     // below the threshold
  sound.samples[6] = 0.01f;       // at it
  sound.samples[8] = std::numeric_limits<float>::quiet_NaN();
  sound.samples[510] = 0.2f;
  timer.elapsed = 160000;
  glitch.Update();

  const float expected[] = {12.5f, -0.5f, 0.0f, 0.25f, 0.0f};
  for (int s = 0; s < 5; ++s)
    for (int r = 0; r < 4; ++r) {
      const float* e = ShaderEntry(s * 4 + r);
      EXPECT_FLOAT_EQ(e[3], expected[s]) << "sample " << 2 * s;
      const float c = expected[s] == 0.0f ? 1.0f : 0.9f;
      EXPECT_EQ(e[0], c);
      EXPECT_EQ(e[1], c);
      EXPECT_EQ(e[2], c);
    }
  // The 1,024-entry pattern repeats four times.
  EXPECT_FLOAT_EQ(ShaderEntry(1020)[3], 5.0f);
  EXPECT_FLOAT_EQ(ShaderEntry(1024)[3], 12.5f);
  EXPECT_FLOAT_EQ(ShaderEntry(4095)[3], 5.0f);

  // The gain scales what follows.
  glitch.gain = 10.0f;
  timer.elapsed += 67;
  glitch.Update();
  EXPECT_FLOAT_EQ(ShaderEntry(0)[3], 5.0f);
}

TEST_F(GlitchTest, SoundGlitchUpdatesAtMostEvery67Milliseconds) {
  GlitchSound glitch(context);
  ASSERT_TRUE(glitch.Create());
  sound.samples[0] = 0.4f;
  timer.elapsed = 151700;
  glitch.lastUpdate = timer.elapsed;  // the Demo's hand-over
  glitch.Update();
  EXPECT_EQ(ShaderEntry(0)[3], 0.0f) << "no update in the hand-over frame";
  timer.elapsed = 151766;
  glitch.Update();
  EXPECT_EQ(ShaderEntry(0)[3], 0.0f);
  timer.elapsed = 151767;
  glitch.Update();
  EXPECT_FLOAT_EQ(ShaderEntry(0)[3], 10.0f);
  sound.samples[0] = 0.0f;
  timer.elapsed = 151800;
  glitch.Update();
  EXPECT_FLOAT_EQ(ShaderEntry(0)[3], 10.0f) << "frames in between keep the last entries";
  timer.elapsed = 151834;
  glitch.Update();
  EXPECT_TRUE(IsNeutral(ShaderEntry(0))) << "silence is neutral";
  for (int i = 0; i < GlitchEntries::kEntryCount; ++i) ASSERT_TRUE(IsNeutral(ShaderEntry(i)));
}

}  // namespace
