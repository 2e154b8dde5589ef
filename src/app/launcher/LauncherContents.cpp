#include "app/launcher/LauncherContents.h"

#include "app/launcher/DisplayEnumeration.h"
#include "platform/window.h"

LauncherContents PrepareLauncher(bool vsync, LaunchSettings* settings) {
  // Whatever the enumeration reached is shown; what it missed stays empty.
  DisplayInfo info;
  EnumerateDisplay(&info);
  return InitializeLauncher(info, static_cast<uint32_t>(platform::DesktopWidth()),
                            static_cast<uint32_t>(platform::DesktopHeight()), vsync, settings);
}

LauncherContents InitializeLauncher(const DisplayInfo& info, uint32_t desktopWidth, uint32_t desktopHeight,
                                    bool vsync, LaunchSettings* settings) {
  LauncherContents contents;
  settings->highestRefresh = info.highestRefresh;
  contents.outputLine = OutputLine(info);
  contents.adapterLine = info.adapterDescription;
  settings->modes = info.modes;
  for (const DisplayMode& mode : settings->modes) contents.resolutions.push_back(ModeText(mode));

  // An index past the end selects nothing until the user picks an entry.
  settings->defaultIndex = DesktopModeIndex(settings->modes, desktopWidth, desktopHeight);
  settings->selectedIndex = settings->defaultIndex;
  if (static_cast<size_t>(settings->defaultIndex) < settings->modes.size()) contents.selection = settings->defaultIndex;

  settings->vsync = contents.vsync = vsync;
  settings->fullScreen = contents.fullScreen = true;
  settings->start = false;
  return contents;
}
