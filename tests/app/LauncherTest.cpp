// The launcher's choices without its window: the display enumeration over given mode lists, what
// the dialog preselects, and the screen size the Application takes from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/LaunchSettings.h"
#include "app/launcher/DisplayEnumeration.h"
#include "app/launcher/LauncherContents.h"
#include "platform/dxgi/dxgi_overrides.h"
#include "support/DisplayModes.h"
#include "support/GpuTestDevice.h"

namespace {

using testing_support::ModeDesc;

std::vector<std::string> Texts(const std::vector<DisplayMode>& modes) {
  std::vector<std::string> texts;
  for (const DisplayMode& mode : modes) texts.push_back(ModeText(mode));
  return texts;
}

std::vector<std::string> ListOf(const std::vector<DXGI_MODE_DESC>& modes) {
  return Texts(ModeListFrom(modes.data(), modes.size()));
}

uint32_t HighestOf(const std::vector<DXGI_MODE_DESC>& modes) { return HighestRefresh(modes.data(), modes.size()); }

DisplayInfo InfoWith(std::vector<DisplayMode> modes) {
  DisplayInfo info;
  info.modes = std::move(modes);
  info.outputName = "screen";
  info.adapterDescription = "llvmpipe";
  info.highestRefresh = 60;
  info.refreshText = "60";
  return info;
}

TEST(LauncherModeList, SortsByWidthThenHeight) {
  EXPECT_EQ(ListOf({ModeDesc(1280, 1024), ModeDesc(800, 600), ModeDesc(1280, 720), ModeDesc(1024, 768)}),
            (std::vector<std::string>{"800 x 600", "1024 x 768", "1280 x 720", "1280 x 1024"}));
}

TEST(LauncherModeList, DropsAdjacentDuplicatesOnlyBeforeSorting) {
  // One entry per refresh rate next to each other collapse; the late 800 x 600 was not adjacent
  // to the first when returned, so it stays, and sorting puts the two side by side.
  EXPECT_EQ(ListOf({ModeDesc(800, 600, 60), ModeDesc(800, 600, 75), ModeDesc(1024, 768), ModeDesc(800, 600, 85)}),
            (std::vector<std::string>{"800 x 600", "800 x 600", "1024 x 768"}));
  // Same width, other height is no duplicate.
  EXPECT_EQ(ListOf({ModeDesc(1280, 720), ModeDesc(1280, 800)}), (std::vector<std::string>{"1280 x 720", "1280 x 800"}));
  EXPECT_TRUE(ListOf({}).empty());
}

TEST(LauncherModeList, HighestRefreshIsWholeHertzOverAllModes) {
  // 59.94 Hz counts as 59, whatever mode the user picks later.
  EXPECT_EQ(HighestOf({ModeDesc(1920, 1080, 60000, 1001)}), 59u);
  EXPECT_EQ(HighestOf({ModeDesc(640, 480, 75), ModeDesc(1920, 1080, 60000, 1001), ModeDesc(800, 600, 144000, 1000)}), 144u);
  // A zero denominator cannot be divided and does not count.
  EXPECT_EQ(HighestOf({ModeDesc(800, 600, 60), ModeDesc(1024, 768, 240, 0)}), 60u);
  EXPECT_EQ(HighestOf({ModeDesc(800, 600, 0, 0)}), 0u);
  EXPECT_EQ(HighestOf({}), 0u);
}

TEST(LauncherContents, PreselectsTheDesktopModeAndTicksBothBoxes) {
  LaunchSettings settings;
  const LauncherContents contents =
      InitializeLauncher(InfoWith({{800, 600}, {1024, 768}, {1280, 720}}), 1024, 768, true, &settings);
  EXPECT_EQ(contents.resolutions, (std::vector<std::string>{"800 x 600", "1024 x 768", "1280 x 720"}));
  EXPECT_EQ(contents.selection, 1);
  EXPECT_EQ(settings.defaultIndex, 1);
  EXPECT_EQ(settings.selectedIndex, 1);
  EXPECT_EQ(settings.modes.size(), 3u);
  EXPECT_EQ(settings.highestRefresh, 60u);
  EXPECT_TRUE(contents.vsync && contents.fullScreen && settings.vsync && settings.fullScreen);
  EXPECT_FALSE(settings.start);
  EXPECT_EQ(contents.outputLine, "screen @60Hz");
  EXPECT_EQ(contents.adapterLine, "llvmpipe");

  const ScreenSize size = ChosenScreenSize(settings, {1024, 768}, {1280, 720});
  EXPECT_EQ(size.width, 1024);
  EXPECT_EQ(size.height, 768);
  settings.selectedIndex = 2;
  EXPECT_EQ(ChosenScreenSize(settings, {1024, 768}, {1280, 720}).height, 720);

  // The command line's --no-vsync carries into the box.
  EXPECT_FALSE(InitializeLauncher(InfoWith({{800, 600}}), 800, 600, false, &settings).vsync);
}

TEST(LauncherContents, SelectsNothingWhenTheDesktopModeIsNotListedAndStartsAtTheDesktopSize) {
  LaunchSettings settings;
  const LauncherContents contents = InitializeLauncher(InfoWith({{800, 600}, {1024, 768}}), 1920, 1080, true, &settings);
  EXPECT_EQ(contents.selection, -1);
  EXPECT_EQ(settings.defaultIndex, 2);
  // "Demo!" with nothing picked: the desktop's size, not a window of nothing.
  const ScreenSize size = ChosenScreenSize(settings, {1920, 1080}, {1280, 720});
  EXPECT_EQ(size.width, 1920);
  EXPECT_EQ(size.height, 1080);
  // Neither a mode nor the desktop's size known.
  EXPECT_EQ(ChosenScreenSize(settings, {0, 0}, {1280, 720}).width, 1280);
}

TEST(LauncherContents, AnEmptyListLeavesNothingSelectedAndDemoGivesTheDesktopSize) {
  LaunchSettings settings;
  settings.modes = {{640, 480}};  // whatever an earlier run left is replaced
  DisplayInfo nothing;  // the enumeration reached no output
  const LauncherContents contents = InitializeLauncher(nothing, 1024, 768, true, &settings);
  EXPECT_TRUE(contents.resolutions.empty());
  EXPECT_TRUE(settings.modes.empty());
  EXPECT_EQ(contents.selection, -1);
  EXPECT_EQ(contents.outputLine, " @Hz");
  const ScreenSize size = ChosenScreenSize(settings, {1024, 768}, {1280, 720});
  EXPECT_EQ(size.width, 1024);
  EXPECT_EQ(size.height, 768);
}

class DisplayEnumerationTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(testing_support::StartHeadlessVideo()); }
  void TearDown() override {
    platform::dxgi::OverrideDisplayModes(std::nullopt);
    platform::dxgi::OverrideAdapterDescription(std::nullopt);
  }
};

TEST_F(DisplayEnumerationTest, WalksTheFirstAdapterAndOutput) {
  platform::dxgi::OverrideAdapterDescription(L"Test Adapter \u00e9");
  platform::dxgi::OverrideDisplayModes(std::vector<DXGI_MODE_DESC>{
      ModeDesc(1280, 720, 60000, 1001), ModeDesc(1280, 720, 50), ModeDesc(800, 600, 56), ModeDesc(1024, 768, 75, 0)});
  DisplayInfo info;
  ASSERT_TRUE(EnumerateDisplay(&info));
  EXPECT_EQ(info.adapterDescription, "Test Adapter \xc3\xa9");
  EXPECT_FALSE(info.outputName.empty());
  EXPECT_EQ(Texts(info.modes), (std::vector<std::string>{"800 x 600", "1024 x 768", "1280 x 720"}));
  EXPECT_EQ(info.highestRefresh, 59u);
  EXPECT_EQ(OutputLine(info), info.outputName + " @59Hz");
}

TEST_F(DisplayEnumerationTest, AnUnconvertibleAdapterNameEndsTheEnumerationEarly) {
  platform::dxgi::OverrideAdapterDescription(std::wstring(1, static_cast<wchar_t>(0xD800)));
  platform::dxgi::OverrideDisplayModes(std::vector<DXGI_MODE_DESC>{ModeDesc(800, 600)});
  DisplayInfo info;
  EXPECT_FALSE(EnumerateDisplay(&info));
  EXPECT_TRUE(info.adapterDescription.empty());
  EXPECT_TRUE(info.modes.empty());
  EXPECT_EQ(OutputLine(info), " @Hz");
  // Runs without the launcher still learn the refresh rate: they do not need the adapter's name.
  EXPECT_EQ(HighestRefreshOfFirstOutput(), 60u);
}

}  // namespace
