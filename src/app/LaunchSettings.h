#pragma once
// What the launcher (or the command line in its place) leaves behind for the Application.
#include <cstdint>
#include <vector>

struct DisplayMode {
  uint32_t width = 0;
  uint32_t height = 0;
};

struct LaunchSettings {
  bool start = false;
  bool vsync = false;
  bool fullScreen = false;
  int32_t defaultIndex = 0;
  int32_t selectedIndex = 0;
  uint32_t highestRefresh = 0;
  std::vector<DisplayMode> modes;
};

// Process-wide, zero at program start, lives for the whole run.
LaunchSettings& TheLaunchSettings();

struct ScreenSize {
  int32_t width = 0;
  int32_t height = 0;
};

// The mode at the selected index. With none selected inside the list (an empty list, or the
// desktop's mode not listed and nothing picked) the desktop's size rather than a window of
// nothing, and `fallback` where the desktop's size is unknown too.
ScreenSize ChosenScreenSize(const LaunchSettings& settings, ScreenSize desktop, ScreenSize fallback);
