// Specialised pixel programs made in the background: when a draw gets one, what a failed one
// leaves, and a reloaded program's set changing places with the live one.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "gfx/shaders/PixelShaderVariants.h"
#include "support/GpuTestDevice.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDirectory.h"

namespace {

// LEVEL is the key; key 99 names a macro that does not exist, so its program cannot compile.
const char* kSource = R"(
float4 Level_PS(float4 position : SV_POSITION) : SV_TARGET
{
#if LEVEL == 99
    return float4(UNDEFINED_LEVEL, 0.0f, 0.0f, 1.0f);
#else
    return float4(LEVEL / 255.0f, 0.0f, 0.0f, 1.0f);
#endif
}
)";

class PixelShaderVariantsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gpu.Create(8, 8));
    const std::string path = (directory.path() / "level_PS.hlsl").string();
    std::ofstream(path) << kSource;
    variants.Configure(gpu.device, Recipe(path));
  }
  void TearDown() override { variants.Release(); }

  static PixelShaderVariants::Recipe Recipe(const std::string& path) {
    PixelShaderVariants::Recipe recipe;
    recipe.path = path;
    recipe.entryPoint = "Level_PS";
    recipe.definesOf = [](uint32_t key) { return PixelShaderVariants::Defines{{"LEVEL", std::to_string(key)}}; };
    recipe.describe = [](uint32_t key) { return "level " + std::to_string(key); };
    return recipe;
  }

  TempDirectory directory;
  ScopedEnvironment cache{"PULSAR_SHADER_CACHE", (directory.path() / "cache").c_str()};
  testing_support::GpuTestDevice gpu;
  PixelShaderVariants variants;
};

TEST_F(PixelShaderVariantsTest, ProgramsAreMadeOnceEachAndAFindThatWaitsGetsItsOwnAtOnce) {
  variants.Request(10);
  variants.Request(10);
  variants.Request(20);
  ASSERT_TRUE(variants.WaitForAll());
  EXPECT_EQ(variants.MadeCount(), 2u);
  ID3D11PixelShader* ten = variants.Find(10);
  ASSERT_NE(ten, nullptr);
  EXPECT_EQ(variants.Find(10), ten) << "a made program is kept, not made again";
  EXPECT_NE(variants.Find(20), ten);

  // A key never asked for: without waiting the draw goes on (the general program) while it is
  // made; a waiting Find returns it at once.
  variants.waitToFind = true;
  EXPECT_NE(variants.Find(30), nullptr);
  variants.waitToFind = false;
  variants.Find(40);
  EXPECT_TRUE(variants.WaitForAll());
  EXPECT_NE(variants.Find(40), nullptr);
  EXPECT_EQ(variants.MadeCount(), 4u);
}

// Programs asked for ahead are created one per MakeNext, in the order asked: a frame never pays
// for a whole batch of them.
TEST_F(PixelShaderVariantsTest, ProgramsAskedForAheadAreCreatedOneAtATimeInTheOrderAsked) {
  const uint32_t asked[] = {7, 3, 11, 5, 9, 1};
  for (uint32_t key : asked) variants.Request(key);
  size_t made = 0;
  for (int call = 0; call < 20000 && made < 6; ++call) {
    variants.MakeNext();
    const size_t now = variants.MadeCount();
    ASSERT_LE(now, made + 1) << "more than one program created by one call";
    if (now == made) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    made = now;
    for (size_t i = 0; i < made; ++i) ASSERT_TRUE(variants.Decided(asked[i])) << "made out of order";
  }
  EXPECT_EQ(made, 6u);
  // A Find creates its own program at once, ahead of others already translated.
  variants.Request(20);
  variants.Request(21);
  variants.waitToFind = true;
  EXPECT_NE(variants.Find(21), nullptr);
  EXPECT_TRUE(variants.WaitForAll());
  EXPECT_EQ(variants.MadeCount(), 8u);
}

TEST_F(PixelShaderVariantsTest, AProgramThatCannotCompileLeavesItsDrawsToTheGeneralOneAndTheRestAreMade) {
  variants.waitToFind = true;
  testing::internal::CaptureStderr();
  EXPECT_EQ(variants.Find(99), nullptr);
  EXPECT_EQ(variants.Find(99), nullptr) << "asked again, it is not compiled again";
  variants.Request(5);
  EXPECT_FALSE(variants.WaitForAll());
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("level 99"), std::string::npos) << said;
  EXPECT_EQ(said.find("level 5"), std::string::npos) << said;
  EXPECT_NE(variants.Find(5), nullptr);
}

TEST_F(PixelShaderVariantsTest, SwappedSetsTradeProgramsAndWorkUnderWayButNotTheirWaiting) {
  ASSERT_NE((variants.waitToFind = true, variants.Find(1)), nullptr);
  ID3D11PixelShader* live = variants.Find(1);

  // A reloaded program's set, still translating what it was asked for.
  PixelShaderVariants fresh;
  fresh.Configure(gpu.device, Recipe((directory.path() / "level_PS.hlsl").string()));
  fresh.Request(2);
  variants.Swap(fresh);
  EXPECT_TRUE(variants.waitToFind) << "waiting belongs to the holder";
  EXPECT_FALSE(fresh.waitToFind);
  EXPECT_TRUE(variants.WaitForAll());
  EXPECT_EQ(variants.MadeCount(), 1u);
  EXPECT_NE(variants.Find(2), nullptr);
  EXPECT_NE(variants.Find(1), live) << "nothing made from the old source stays in use";
  EXPECT_EQ(fresh.Find(1), live);
  fresh.Release();
}

}  // namespace
