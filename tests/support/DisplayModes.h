#pragma once
// A display mode as the DXGI layer lists it, for tests that stand in for the machine's modes.
#include "platform/dxgi/dxgi.h"

namespace testing_support {

inline DXGI_MODE_DESC ModeDesc(UINT width, UINT height, UINT numerator = 60, UINT denominator = 1) {
  DXGI_MODE_DESC mode{};
  mode.Width = width;
  mode.Height = height;
  mode.RefreshRate = {numerator, denominator};
  mode.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  return mode;
}

}  // namespace testing_support
