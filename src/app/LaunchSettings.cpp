#include "app/LaunchSettings.h"

#include <cstddef>

LaunchSettings& TheLaunchSettings() {
  static LaunchSettings settings;
  return settings;
}

ScreenSize ChosenScreenSize(const LaunchSettings& settings, ScreenSize desktop, ScreenSize fallback) {
  ScreenSize size;
  if (settings.selectedIndex >= 0 && static_cast<size_t>(settings.selectedIndex) < settings.modes.size()) {
    const DisplayMode& mode = settings.modes[static_cast<size_t>(settings.selectedIndex)];
    size = {static_cast<int32_t>(mode.width), static_cast<int32_t>(mode.height)};
  }
  if (size.width > 0 && size.height > 0) return size;
  return desktop.width > 0 && desktop.height > 0 ? desktop : fallback;
}
