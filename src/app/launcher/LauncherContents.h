#pragma once
// What the launcher's controls show once the dialog has initialised, and the launch settings
// that go with it. Kept apart from the toolkit so the choices can be checked without a display.
#include <cstdint>
#include <string>
#include <vector>

#include "app/LaunchSettings.h"

struct DisplayInfo;

struct LauncherContents {
  std::string outputLine;
  std::string adapterLine;
  std::vector<std::string> resolutions;  // drop-down entries, in mode-list order
  int32_t selection = -1;                // -1: no entry selected
  bool vsync = true;
  bool fullScreen = true;
};

// Enumerates the display and initialises the dialog's contents from it, as the dialog does when it
// opens. Free of the toolkit's and the display layer's headers, which disagree about TRUE.
LauncherContents PrepareLauncher(bool vsync, LaunchSettings* settings);

// Copies the enumeration into the settings (mode list, highest refresh), preselects the desktop's
// mode and ticks both boxes (v-sync as the command line asked).
LauncherContents InitializeLauncher(const DisplayInfo& info, uint32_t desktopWidth, uint32_t desktopHeight,
                                    bool vsync, LaunchSettings* settings);
