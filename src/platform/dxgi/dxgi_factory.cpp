#include <SDL.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string_view>

#include "platform/dxgi/adapter_probe.h"
#include "platform/dxgi/dxgi.h"
#include "platform/dxgi/dxgi_overrides.h"

namespace {

std::optional<std::vector<DXGI_MODE_DESC>> ModesFromEnvironment() {
  const char* text = std::getenv("PULSAR_DISPLAY_MODES");
  if (text == nullptr) return std::nullopt;
  auto modes = platform::dxgi::ParseDisplayModes(text);
  if (!modes) std::fprintf(stderr, "dxgi: PULSAR_DISPLAY_MODES \"%s\" is not a mode list; ignored\n", text);
  return modes;
}

std::optional<std::vector<DXGI_MODE_DESC>>& ModeOverride() {
  static std::optional<std::vector<DXGI_MODE_DESC>> modes = ModesFromEnvironment();
  return modes;
}

bool ParseNumber(std::string_view text, UINT* value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseMode(std::string_view text, DXGI_MODE_DESC* mode) {
  const size_t x = text.find('x');
  const size_t at = text.find('@');
  if (x == std::string_view::npos || at == std::string_view::npos || at < x) return false;
  const std::string_view rate = text.substr(at + 1);
  const size_t slash = rate.find('/');
  *mode = {};
  mode->RefreshRate.Denominator = 1;
  if (!ParseNumber(text.substr(0, x), &mode->Width) || !ParseNumber(text.substr(x + 1, at - x - 1), &mode->Height) ||
      !ParseNumber(rate.substr(0, slash), &mode->RefreshRate.Numerator)) {
    return false;
  }
  if (slash != std::string_view::npos && !ParseNumber(rate.substr(slash + 1), &mode->RefreshRate.Denominator)) {
    return false;
  }
  mode->Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  mode->ScanlineOrdering = DXGI_MODE_SCANLINE_ORDER_PROGRESSIVE;
  return true;
}

std::optional<std::wstring>& DescriptionOverride() {
  static std::optional<std::wstring> description;
  return description;
}

// SDL lists modes largest first; DXGI lists them smallest first, lower refresh rates first.
std::vector<DXGI_MODE_DESC> ModesOfDisplay(int display, DXGI_FORMAT format) {
  if (ModeOverride().has_value()) return *ModeOverride();
  std::vector<DXGI_MODE_DESC> modes;
  const int count = SDL_GetNumDisplayModes(display);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(display, i, &mode) != 0) continue;
    DXGI_MODE_DESC desc{};
    desc.Width = static_cast<UINT>(mode.w);
    desc.Height = static_cast<UINT>(mode.h);
    desc.RefreshRate = {static_cast<UINT>(mode.refresh_rate), 1};
    desc.Format = format;
    desc.ScanlineOrdering = DXGI_MODE_SCANLINE_ORDER_PROGRESSIVE;
    desc.Scaling = DXGI_MODE_SCALING_UNSPECIFIED;
    modes.push_back(desc);
  }
  std::stable_sort(modes.begin(), modes.end(), [](const DXGI_MODE_DESC& a, const DXGI_MODE_DESC& b) {
    if (a.Width != b.Width) return a.Width < b.Width;
    if (a.Height != b.Height) return a.Height < b.Height;
    return a.RefreshRate.Numerator < b.RefreshRate.Numerator;
  });
  return modes;
}

void CopyDescription(const std::wstring& text, WCHAR (&out)[128]) {
  std::memset(out, 0, sizeof out);
  const size_t count = std::min(text.size(), static_cast<size_t>(127));
  std::wmemcpy(out, text.data(), count);
}

}  // namespace

namespace platform::dxgi {
std::optional<std::vector<DXGI_MODE_DESC>> ParseDisplayModes(const char* text) {
  std::vector<DXGI_MODE_DESC> modes;
  std::string_view rest = text;
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    DXGI_MODE_DESC mode;
    if (!ParseMode(rest.substr(0, comma), &mode)) return std::nullopt;
    modes.push_back(mode);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  return modes;
}

void OverrideDisplayModes(std::optional<std::vector<DXGI_MODE_DESC>> modes) { ModeOverride() = std::move(modes); }
void OverrideAdapterDescription(std::optional<std::wstring> description) {
  DescriptionOverride() = std::move(description);
}
}  // namespace platform::dxgi

HRESULT IDXGIOutput::GetDesc(DXGI_OUTPUT_DESC* pDesc) {
  if (pDesc == nullptr) return E_INVALIDARG;
  *pDesc = {};
  const char* name = SDL_GetDisplayName(m_displayIndex);
  const std::string text = name != nullptr ? name : "display";
  for (size_t i = 0; i < text.size() && i < 31; ++i) pDesc->DeviceName[i] = static_cast<unsigned char>(text[i]);
  SDL_Rect bounds{};
  SDL_GetDisplayBounds(m_displayIndex, &bounds);
  pDesc->DesktopCoordinates = {bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
  pDesc->AttachedToDesktop = TRUE;
  pDesc->Rotation = DXGI_MODE_ROTATION_IDENTITY;
  return S_OK;
}

HRESULT IDXGIOutput::GetDisplayModeList(DXGI_FORMAT EnumFormat, UINT /*Flags*/, UINT* pNumModes,
                                        DXGI_MODE_DESC* pDesc) {
  if (pNumModes == nullptr) return DXGI_ERROR_INVALID_CALL;
  std::vector<DXGI_MODE_DESC> modes;
  if (EnumFormat == DXGI_FORMAT_R8G8B8A8_UNORM || EnumFormat == DXGI_FORMAT_B8G8R8A8_UNORM) {
    modes = ModesOfDisplay(m_displayIndex, EnumFormat);
  }
  const UINT count = static_cast<UINT>(modes.size());
  if (pDesc == nullptr) {
    *pNumModes = count;
    return S_OK;
  }
  const UINT copied = std::min(*pNumModes, count);
  std::copy(modes.begin(), modes.begin() + copied, pDesc);
  *pNumModes = copied;
  return copied < count ? DXGI_ERROR_MORE_DATA : S_OK;
}

HRESULT IDXGIAdapter::EnumOutputs(UINT Output, IDXGIOutput** ppOutput) {
  if (ppOutput == nullptr) return DXGI_ERROR_INVALID_CALL;
  *ppOutput = nullptr;
  const int displays = SDL_GetNumVideoDisplays();
  if (displays < 0 || Output >= static_cast<UINT>(displays)) return DXGI_ERROR_NOT_FOUND;
  *ppOutput = new IDXGIOutput(static_cast<int>(Output));
  return S_OK;
}

HRESULT IDXGIAdapter::GetDesc(DXGI_ADAPTER_DESC* pDesc) {
  if (pDesc == nullptr) return E_INVALIDARG;
  *pDesc = {};
  if (DescriptionOverride().has_value()) {
    // Copied whole: a description that does not fit the field is what the override is for.
    const std::wstring& text = *DescriptionOverride();
    std::memset(pDesc->Description, 0, sizeof pDesc->Description);
    std::wmemcpy(pDesc->Description, text.data(), std::min(text.size(), static_cast<size_t>(127)));
    return S_OK;
  }
  const platform::dxgi::AdapterInfo& info = platform::dxgi::ProbeAdapter();
  if (!info.known) return DXGI_ERROR_UNSUPPORTED;
  CopyDescription(info.description, pDesc->Description);
  pDesc->DedicatedVideoMemory = info.dedicatedVideoMemory;
  return S_OK;
}

HRESULT IDXGIAdapter1::GetDesc1(DXGI_ADAPTER_DESC1* pDesc) {
  if (pDesc == nullptr) return E_INVALIDARG;
  DXGI_ADAPTER_DESC desc;
  const HRESULT hr = GetDesc(&desc);
  if (FAILED(hr)) return hr;
  *pDesc = {};
  std::memcpy(pDesc->Description, desc.Description, sizeof desc.Description);
  pDesc->DedicatedVideoMemory = desc.DedicatedVideoMemory;
  return S_OK;
}

HRESULT IDXGIFactory::EnumAdapters(UINT Adapter, IDXGIAdapter** ppAdapter) {
  if (ppAdapter == nullptr) return DXGI_ERROR_INVALID_CALL;
  *ppAdapter = nullptr;
  if (Adapter != 0) return DXGI_ERROR_NOT_FOUND;
  *ppAdapter = new IDXGIAdapter();
  return S_OK;
}

HRESULT IDXGIFactory1::EnumAdapters1(UINT Adapter, IDXGIAdapter1** ppAdapter) {
  if (ppAdapter == nullptr) return DXGI_ERROR_INVALID_CALL;
  *ppAdapter = nullptr;
  if (Adapter != 0) return DXGI_ERROR_NOT_FOUND;
  *ppAdapter = new IDXGIAdapter1();
  return S_OK;
}

HRESULT CreateDXGIFactory(REFIID riid, void** ppFactory) {
  if (ppFactory == nullptr) return E_INVALIDARG;
  *ppFactory = nullptr;
  if (riid == __uuidof(IDXGIFactory1)) {
    *ppFactory = new IDXGIFactory1();
  } else if (riid == __uuidof(IDXGIFactory)) {
    *ppFactory = static_cast<IDXGIFactory*>(new IDXGIFactory());
  } else {
    return E_NOINTERFACE;
  }
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
    std::fprintf(stderr, "dxgi: SDL video is not initialised; there are no outputs\n");
  }
  return S_OK;
}

HRESULT CreateDXGIFactory1(REFIID riid, void** ppFactory) { return CreateDXGIFactory(riid, ppFactory); }
