#pragma once
// What the launcher offers: the first adapter's description, its first output's name, the
// output's resolutions and the highest whole refresh rate of any of its modes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/LaunchSettings.h"
#include "platform/dxgi/dxgi.h"

// Built while the dialog initialises, discarded afterwards.
struct DisplayInfo {
  std::vector<DisplayMode> modes;
  std::string adapterDescription;  // UTF-8, at most 127 bytes
  std::string outputName;          // UTF-8, at most 127 bytes
  uint32_t highestRefresh = 0;
  std::string refreshText;
};

// Walks factory, adapter 0 and output 0 and fills what it reaches; false when a step failed
// (whatever was filled before that stays usable).
bool EnumerateDisplay(DisplayInfo* info);

// The same highest refresh without the adapter's description (which needs the GL renderer), for
// runs that skip the launcher.
uint32_t HighestRefreshOfFirstOutput();

// Sizes in the order returned, adjacent equal sizes once, then sorted by width and height
// (stable): equal sizes that were not adjacent stay twice.
std::vector<DisplayMode> ModeListFrom(const DXGI_MODE_DESC* modes, size_t count);

// Highest refresh in whole Hz (numerator / denominator, truncated); a zero denominator does not
// count.
uint32_t HighestRefresh(const DXGI_MODE_DESC* modes, size_t count);

// Index of the first mode of the desktop's size; the list's length (no selection) when none
// matches.
int32_t DesktopModeIndex(const std::vector<DisplayMode>& modes, uint32_t desktopWidth, uint32_t desktopHeight);

// "1280 x 720", as the drop-down list shows a mode.
std::string ModeText(const DisplayMode& mode);

// The output line: name, " @", the refresh text and "Hz".
std::string OutputLine(const DisplayInfo& info);
