// Live reload in development mode: shaders saved in the sources and scenes rebuilt into the
// stage are taken in before the next frame, only when they compile or load; deleting a watched
// file changes nothing in the show.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "DevShowFixture.h"
#include "support/FileTree.h"
#include "support/ImageFixtures.h"
#include "app/LiveReload.h"
#include "demo/Demo.h"
#include "gfx/ShaderManager.h"
#include "scene/SceneLoader.h"

namespace fs = std::filesystem;

namespace {

int Brightest(const std::vector<uint8_t>& rgba) {
  int brightest = 0;
  for (size_t i = 0; i < rgba.size(); ++i)
    if (i % 4 != 3) brightest = std::max<int>(brightest, rgba[i]);
  return brightest;
}

// Bytes of colour that differ; the alpha the vignette leaves is no part of the picture.
size_t Differing(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  size_t count = a.size() == b.size() ? 0 : std::max(a.size(), b.size());
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) count += i % 4 != 3 && a[i] != b[i] ? 1 : 0;
  return count;
}

std::vector<uint8_t> Rows(const std::vector<uint8_t>& rgba, int first, int end) {
  return {rgba.begin() + first * 160 * 4, rgba.begin() + std::min<size_t>(rgba.size(), end * 160 * 4)};
}

// Pixels of rows [first, end) of a frame: dark ones, light ones the picture did not have there,
// and orange ones (one channel high, one low, whichever order the read-back gives).
struct Counts {
  size_t dark = 0, newLight = 0, orange = 0;
};
Counts Count(const std::vector<uint8_t>& frame, const std::vector<uint8_t>& picture, int first, int end) {
  Counts counts;
  for (size_t i = static_cast<size_t>(first) * 160 * 4; i < static_cast<size_t>(end) * 160 * 4; i += 4) {
    const uint8_t* p = &frame[i];
    const int high = std::max({p[0], p[1], p[2]}), low = std::min({p[0], p[1], p[2]});
    const int wasLow = std::min({picture[i], picture[i + 1], picture[i + 2]});
    counts.dark += high <= 64 ? 1 : 0;
    counts.newLight += low >= 160 && wasLow < 160 ? 1 : 0;
    counts.orange += high >= 200 && low <= 110 && p[1] >= 90 ? 1 : 0;
  }
  return counts;
}

// A copy of the repository's shaders and an empty data stage, watched by a paused show.
class LiveReloadTest : public dev_test::DevShowFixture {
 protected:
  void SetUp() override {
    DevShowFixture::SetUp();
    if (IsSkipped()) return;
    fs::create_directories(stage());
    fs::create_directories(shaders());
    fs::copy(dev_test::SourceDirectory() / "content" / "shaders", shaders());
    ShowOptions options = Options(60000);
    options.devSourceDirectory = sources.path().string();
    ASSERT_TRUE(Start(options));
    Frames(1);
    Press(SDLK_SPACE);  // a still picture: only what was reloaded changes it
  }

  fs::path shaders() const { return fs::path(LiveReload::ShaderDirectory(sources.path().string())); }
  fs::path stage() const { return fs::path(LiveReload::StageDirectory((sources.path() / "build").string())); }
  Demo& demo() { return *app->demo(); }
  TempDirectory sources;
};

TEST_F(LiveReloadTest, ABrokenShaderKeepsTheOldProgramAndReportsItsLineAFixedOneIsDrawnNextFrame) {
  const fs::path file = shaders() / "c4e_PS.hlsl";
  const std::string original = ReadWholeFile(file);
  ID3D11PixelShader* const before = demo().m_pSM->c4eShader->pixelShader;
  const std::vector<uint8_t> picture = Pixels();
  ASSERT_GT(Brightest(picture), 40) << "the magnet is on screen";

  // Line 3 of the file becomes nonsense.
  const size_t third = original.find('\n', original.find('\n') + 1) + 1;
  WriteWholeFile(file, original.substr(0, third) + "this is not a shader ;\n" + original.substr(third));
  Frames(1);
  EXPECT_EQ(demo().m_pSM->c4eShader->pixelShader, before);
  const std::string problem = app->liveReload()->problem();
  EXPECT_NE(problem.find("c4e_PS.hlsl"), std::string::npos) << problem;
  EXPECT_NE(problem.find(":3:"), std::string::npos) << "the line of the error: " << problem;
  EXPECT_EQ(problem.find(app->dataDirectory()), std::string::npos) << "files named without the private copy's path";
  EXPECT_EQ(demo().m_reloadProblem, problem) << "the message goes on screen";
  const std::vector<std::wstring> shown = demo().ReloadProblemLines();
  ASSERT_EQ(shown.size(), 2u) << "a small window: two lines of the message, no heading";
  EXPECT_EQ(shown[0].substr(0, 14), L"c4e_PS.hlsl:3:") << "the file and line first";
  const std::vector<uint8_t> withMessage = Pixels();
  EXPECT_EQ(Differing(Rows(withMessage, 0, 45), Rows(picture, 0, 45)), 0u) << "the old program still draws";
  // Across the bottom a dark box with light text in it under an orange rule.
  const Counts bottom = Count(withMessage, picture, 45, 90);
  EXPECT_GT(bottom.dark, 160u * 25) << "most of the box is dark over the magnet";
  EXPECT_GT(bottom.newLight, 20u) << "the message's letters";
  EXPECT_GT(bottom.orange, 160u) << "the rule";

  // Every surface red: the next frame shows it.
  std::string red = original;
  const std::string entry = "float4 c4e_PS(PixelInputType input) : SV_TARGET";
  ASSERT_NE(red.find(entry), std::string::npos);
  red.replace(red.find(entry), entry.size(), "float4 c4e_PS_lit(PixelInputType input)");
  red += "\n" + entry + "\n{\n    return float4(1.0f, 0.0f, 0.0f, 1.0f);\n}\n";
  WriteWholeFile(file, red);
  Frames(1);
  EXPECT_NE(demo().m_pSM->c4eShader->pixelShader, before);
  EXPECT_EQ(app->liveReload()->problem(), "");
  EXPECT_EQ(demo().m_reloadProblem, "") << "the message leaves the screen";
  const std::vector<uint8_t> reddened = Pixels();
  EXPECT_GT(Differing(reddened, picture), reddened.size() / 20);

  WriteWholeFile(file, original);
  Frames(1);
  EXPECT_EQ(Differing(Pixels(), picture), 0u) << "the original program again";

  ID3D11PixelShader* const restored = demo().m_pSM->c4eShader->pixelShader;
  fs::remove(file);
  Frames(2);
  EXPECT_EQ(demo().m_pSM->c4eShader->pixelShader, restored) << "a deleted source changes nothing";
  EXPECT_EQ(Differing(Pixels(), picture), 0u);
}

TEST_F(LiveReloadTest, ARebuiltSceneReloadsInPlaceWithItsEventsAndClock) {
  const Scene* old = demo().m_pScenes->scenes[4].get();
  const std::vector<SpeedEvent> events = old->speedEvents;
  const int64_t time = old->time;
  const int32_t camera = old->currentCamera;
  const float speed = old->speed;
  ASSERT_TRUE(events[3].fired) << "60 s is past the magnet's jump at 58 s";
  ASSERT_FALSE(events[4].fired);
  const std::vector<uint8_t> picture = Pixels();

  fs::copy_file(dev_test::BuiltStage() / "magnet.c4e", stage() / "magnet.c4e");
  Frames(1);
  const Scene* reloaded = demo().m_pScenes->scenes[4].get();
  ASSERT_NE(reloaded, old);
  ASSERT_EQ(reloaded->speedEvents.size(), events.size());
  for (size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(reloaded->speedEvents[i].fired, events[i].fired) << i;
    EXPECT_EQ(reloaded->speedEvents[i].time, events[i].time) << i;
    EXPECT_EQ(reloaded->speedEvents[i].jumpFrame, events[i].jumpFrame) << i;
  }
  EXPECT_EQ(reloaded->time, time);
  EXPECT_EQ(reloaded->currentCamera, camera);
  EXPECT_EQ(reloaded->speed, speed);
  EXPECT_EQ(app->liveReload()->problem(), "");
  EXPECT_EQ(Differing(Pixels(), picture), 0u) << "the same file gives the same picture";

  // A scene cut short keeps the loaded one and says which file.
  const std::string bytes = ReadWholeFile(stage() / "magnet.c4e");
  WriteWholeFile(stage() / "magnet.c4e", bytes.substr(0, bytes.size() / 2));
  Frames(1);
  EXPECT_EQ(demo().m_pScenes->scenes[4].get(), reloaded);
  EXPECT_NE(app->liveReload()->problem().find("magnet.c4e"), std::string::npos) << app->liveReload()->problem();
  fs::remove(stage() / "magnet.c4e");
  Frames(1);
  EXPECT_EQ(demo().m_pScenes->scenes[4].get(), reloaded);

  // Back in play the reloaded scene meets its next event on time: 63.5 s, speed 0.5, frame 150.
  Press(SDLK_SPACE);
  Frames(static_cast<int>((63500 - 60000) / kStep) + 2);
  EXPECT_TRUE(demo().m_pScenes->scenes[4]->speedEvents[4].fired);
  EXPECT_EQ(demo().m_pScenes->scenes[4]->speed, 0.5f);
}

TEST_F(LiveReloadTest, ARewrittenPictureIsDrawnNextFrameAndABrokenOneKeepsTheOld) {
  // The magnet's floor plate, read from its PNG header: width and height, big-endian.
  const std::string plate = ReadWholeFile(dev_test::BuiltStage() / "magnet_plate.png");
  ASSERT_GT(plate.size(), 24u);
  const auto word = [&plate](size_t at) {
    return static_cast<int>(static_cast<uint8_t>(plate[at])) << 24 | static_cast<uint8_t>(plate[at + 1]) << 16 |
           static_cast<uint8_t>(plate[at + 2]) << 8 | static_cast<uint8_t>(plate[at + 3]);
  };
  const int width = word(16), height = word(20);
  const std::vector<uint8_t> picture = Pixels();

  std::vector<uint8_t> red(static_cast<size_t>(width) * height * 4, 0);
  for (size_t i = 0; i < red.size(); i += 4) red[i] = red[i + 3] = 255;
  WriteBytes(stage() / "magnet_plate.png", EncodePng(width, height, red));
  Frames(1);
  EXPECT_EQ(app->liveReload()->problem(), "");
  const std::vector<uint8_t> reddened = Pixels();
  EXPECT_GT(Differing(reddened, picture), reddened.size() / 20) << "the floor is red from the next frame";

  // Cut short: the red floor stays and the reason is on screen.
  WriteWholeFile(stage() / "magnet_plate.png", plate.substr(0, plate.size() / 3));
  Frames(1);
  const std::string problem = app->liveReload()->problem();
  EXPECT_NE(problem.find("magnet_plate.png"), std::string::npos) << problem;
  EXPECT_EQ(demo().m_reloadProblem, problem);
  EXPECT_EQ(Differing(Rows(Pixels(), 0, 45), Rows(reddened, 0, 45)), 0u);

  // Another size cannot take the place of the one the scene holds.
  WriteBytes(stage() / "magnet_plate.png", EncodePng(width / 2, height / 2, std::vector<uint8_t>(red.begin(), red.begin() + red.size() / 4)));
  Frames(1);
  EXPECT_NE(app->liveReload()->problem().find("next start"), std::string::npos) << app->liveReload()->problem();

  WriteWholeFile(stage() / "magnet_plate.png", plate);
  Frames(1);
  EXPECT_EQ(app->liveReload()->problem(), "");
  EXPECT_EQ(Differing(Pixels(), picture), 0u) << "the original floor again, and no box";
}

TEST_F(LiveReloadTest, FilesThatAreNotTheShowsAreLeftAlone) {
  WriteWholeFile(shaders() / "notes.txt", "not a shader");
  WriteWholeFile(shaders() / "c4e_PS.hlsl~", "an editor's backup");
  WriteWholeFile(stage() / "lab.c4e", ReadWholeFile(dev_test::BuiltStage() / "lab.c4e"));
  WriteWholeFile(shaders() / "extra_PS.hlsl", "float4 Extra_PS() : SV_Target { return 1; }");
  Frames(1);
  EXPECT_EQ(app->liveReload()->problem(), "");
  EXPECT_FALSE(fs::exists(app->dataDirectory() + "/engine_data/notes.txt"));
  EXPECT_FALSE(fs::exists(app->dataDirectory() + "/engine_data/c4e_PS.hlsl~"));
}

}  // namespace
