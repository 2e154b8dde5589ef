#include "app/launcher/DisplayEnumeration.h"

#include <algorithm>
#include <string>

#include "gfx/D3D11Device.h"
#include "gfx/ReleaseAndForget.h"

namespace {

// The output's modes for the show's back-buffer format; interlaced modes are not listed.
bool EnumerateModes(IDXGIOutput* output, DisplayInfo* info) {
  UINT count = 0;
  if (FAILED(output->GetDisplayModeList(DXGI_FORMAT_R8G8B8A8_UNORM, 0, &count, nullptr))) return false;
  std::vector<DXGI_MODE_DESC> modes;
  if (count > 0) {
    // The list may shrink between the two calls; it never grows past what was counted.
    modes.resize(count);
    if (FAILED(output->GetDisplayModeList(DXGI_FORMAT_R8G8B8A8_UNORM, 0, &count, modes.data()))) return false;
    modes.resize(count);
  }
  info->modes = ModeListFrom(modes.data(), modes.size());
  info->highestRefresh = HighestRefresh(modes.data(), modes.size());
  info->refreshText = std::to_string(info->highestRefresh);
  return true;
}

bool EnumerateOutput(IDXGIAdapter1* adapter, DisplayInfo* info) {
  IDXGIOutput* output = nullptr;
  if (FAILED(adapter->EnumOutputs(0, &output))) return false;
  DXGI_OUTPUT_DESC outputDesc{};
  char name[128] = {};
  bool ok = SUCCEEDED(output->GetDesc(&outputDesc)) && ConvertAdapterDescription(outputDesc.DeviceName, name);
  if (ok) {
    info->outputName = name;
    ok = EnumerateModes(output, info);
  }
  ReleaseAndForget(output);
  return ok;
}

}  // namespace

bool EnumerateDisplay(DisplayInfo* info) {
  IDXGIFactory1* factory = nullptr;
  if (FAILED(CreateDXGIFactory1(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(&factory)))) return false;
  IDXGIAdapter1* adapter = nullptr;
  DXGI_ADAPTER_DESC1 adapterDesc{};
  char description[128] = {};
  bool ok = SUCCEEDED(factory->EnumAdapters1(0, &adapter)) && SUCCEEDED(adapter->GetDesc1(&adapterDesc)) &&
            ConvertAdapterDescription(adapterDesc.Description, description);
  if (ok) {
    info->adapterDescription = description;
    ok = EnumerateOutput(adapter, info);
  }
  ReleaseAndForget(adapter);
  ReleaseAndForget(factory);
  return ok;
}

uint32_t HighestRefreshOfFirstOutput() {
  IDXGIFactory1* factory = nullptr;
  IDXGIAdapter1* adapter = nullptr;
  IDXGIOutput* output = nullptr;
  DisplayInfo info;
  if (SUCCEEDED(CreateDXGIFactory1(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->EnumAdapters1(0, &adapter)) && SUCCEEDED(adapter->EnumOutputs(0, &output))) {
    EnumerateModes(output, &info);
  }
  ReleaseAndForget(output);
  ReleaseAndForget(adapter);
  ReleaseAndForget(factory);
  return info.highestRefresh;
}

std::vector<DisplayMode> ModeListFrom(const DXGI_MODE_DESC* modes, size_t count) {
  std::vector<DisplayMode> list;
  list.reserve(count);
  for (size_t i = 0; i < count; ++i) list.push_back({modes[i].Width, modes[i].Height});
  // One entry per size as long as equal sizes come next to each other (one per refresh rate).
  list.erase(std::unique(list.begin(), list.end(),
                         [](const DisplayMode& a, const DisplayMode& b) {
                           return a.width == b.width && a.height == b.height;
                         }),
             list.end());
  std::stable_sort(list.begin(), list.end(), [](const DisplayMode& a, const DisplayMode& b) {
    return a.width != b.width ? a.width < b.width : a.height < b.height;
  });
  return list;
}

uint32_t HighestRefresh(const DXGI_MODE_DESC* modes, size_t count) {
  uint32_t highest = 0;
  for (size_t i = 0; i < count; ++i) {
    const DXGI_RATIONAL& rate = modes[i].RefreshRate;
    if (rate.Denominator == 0) continue;
    highest = std::max(highest, rate.Numerator / rate.Denominator);
  }
  return highest;
}

int32_t DesktopModeIndex(const std::vector<DisplayMode>& modes, uint32_t desktopWidth, uint32_t desktopHeight) {
  int32_t index = 0;
  for (const DisplayMode& mode : modes) {
    if (mode.width == desktopWidth && mode.height == desktopHeight) break;
    ++index;
  }
  return index;
}

std::string ModeText(const DisplayMode& mode) {
  return std::to_string(mode.width) + " x " + std::to_string(mode.height);
}

std::string OutputLine(const DisplayInfo& info) { return info.outputName + " @" + info.refreshText + "Hz"; }
