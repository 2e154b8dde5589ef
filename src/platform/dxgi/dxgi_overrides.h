#pragma once
// Tests stand in for the machine: a display-mode list or an adapter description of their choosing.
// An empty optional goes back to what SDL and the GL renderer report.
#include <optional>
#include <string>
#include <vector>

#include "platform/dxgi/dxgi.h"

namespace platform::dxgi {

void OverrideDisplayModes(std::optional<std::vector<DXGI_MODE_DESC>> modes);

// The same for a whole run, from the environment variable PULSAR_DISPLAY_MODES: a comma-separated
// list of WIDTHxHEIGHT@HZ or WIDTHxHEIGHT@NUMERATOR/DENOMINATOR, in the order the display would
// report them ("1024x768@60,800x600@60000/1001"). Lets the launcher be tried with mode lists the
// machine does not have; a malformed list is refused as a whole (nullopt).
std::optional<std::vector<DXGI_MODE_DESC>> ParseDisplayModes(const char* text);
void OverrideAdapterDescription(std::optional<std::wstring> description);

}  // namespace platform::dxgi
