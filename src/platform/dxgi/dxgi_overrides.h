#pragma once
// Tests stand in for the machine: a display-mode list or an adapter description of their choosing.
// An empty optional goes back to what SDL and the GL renderer report.
#include <optional>
#include <string>
#include <vector>

#include "platform/dxgi/dxgi.h"

namespace platform::dxgi {

void OverrideDisplayModes(std::optional<std::vector<DXGI_MODE_DESC>> modes);
void OverrideAdapterDescription(std::optional<std::wstring> description);

}  // namespace platform::dxgi
