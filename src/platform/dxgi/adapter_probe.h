#pragma once
// What the one adapter is: the GL renderer string and, where the driver tells it, dedicated memory.
#include <cstddef>
#include <string>

namespace platform::dxgi {

struct AdapterInfo {
  bool known = false;
  std::wstring description;
  size_t dedicatedVideoMemory = 0;  // bytes
};

// Queried once through the current GL context, or a hidden probe window when none is current.
const AdapterInfo& ProbeAdapter();

}  // namespace platform::dxgi
