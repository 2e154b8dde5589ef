#include "app/LaunchSettings.h"

LaunchSettings& TheLaunchSettings() {
  static LaunchSettings settings;
  return settings;
}
