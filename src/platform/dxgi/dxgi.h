#pragma once
// The DXGI subset the show calls: factory, first adapter and output, display-mode lists and the
// swap chain. Adapters and outputs come from SDL's displays and the OpenGL renderer; the swap
// chain presents an off-screen back buffer to the SDL window.
#include <cstdint>

#include "platform/dxgi/unknown.h"

enum DXGI_FORMAT : uint32_t {
  DXGI_FORMAT_UNKNOWN = 0,
  DXGI_FORMAT_R32G32B32A32_TYPELESS = 1,
  DXGI_FORMAT_R32G32B32A32_FLOAT = 2,
  DXGI_FORMAT_R32G32B32A32_UINT = 3,
  DXGI_FORMAT_R32G32B32A32_SINT = 4,
  DXGI_FORMAT_R32G32B32_TYPELESS = 5,
  DXGI_FORMAT_R32G32B32_FLOAT = 6,
  DXGI_FORMAT_R32G32B32_UINT = 7,
  DXGI_FORMAT_R32G32B32_SINT = 8,
  DXGI_FORMAT_R16G16B16A16_TYPELESS = 9,
  DXGI_FORMAT_R16G16B16A16_FLOAT = 10,
  DXGI_FORMAT_R16G16B16A16_UNORM = 11,
  DXGI_FORMAT_R32G32_TYPELESS = 15,
  DXGI_FORMAT_R32G32_FLOAT = 16,
  DXGI_FORMAT_R32G32_UINT = 17,
  DXGI_FORMAT_R32G32_SINT = 18,
  DXGI_FORMAT_R8G8B8A8_TYPELESS = 27,
  DXGI_FORMAT_R8G8B8A8_UNORM = 28,
  DXGI_FORMAT_R8G8B8A8_UNORM_SRGB = 29,
  DXGI_FORMAT_R8G8B8A8_UINT = 30,
  DXGI_FORMAT_R16G16_FLOAT = 34,
  DXGI_FORMAT_R32_TYPELESS = 39,
  DXGI_FORMAT_D32_FLOAT = 40,
  DXGI_FORMAT_R32_FLOAT = 41,
  DXGI_FORMAT_R32_UINT = 42,
  DXGI_FORMAT_R32_SINT = 43,
  DXGI_FORMAT_R24G8_TYPELESS = 44,
  DXGI_FORMAT_D24_UNORM_S8_UINT = 45,
  DXGI_FORMAT_R24_UNORM_X8_TYPELESS = 46,
  DXGI_FORMAT_X24_TYPELESS_G8_UINT = 47,
  DXGI_FORMAT_R8G8_UNORM = 49,
  DXGI_FORMAT_R16_FLOAT = 54,
  DXGI_FORMAT_R16_UINT = 57,
  DXGI_FORMAT_R8_UNORM = 61,
  DXGI_FORMAT_A8_UNORM = 65,
  DXGI_FORMAT_BC1_TYPELESS = 70,
  DXGI_FORMAT_BC1_UNORM = 71,
  DXGI_FORMAT_BC1_UNORM_SRGB = 72,
  DXGI_FORMAT_BC2_TYPELESS = 73,
  DXGI_FORMAT_BC2_UNORM = 74,
  DXGI_FORMAT_BC2_UNORM_SRGB = 75,
  DXGI_FORMAT_BC3_TYPELESS = 76,
  DXGI_FORMAT_BC3_UNORM = 77,
  DXGI_FORMAT_BC3_UNORM_SRGB = 78,
  DXGI_FORMAT_B8G8R8A8_UNORM = 87,
  DXGI_FORMAT_B8G8R8X8_UNORM = 88,
  DXGI_FORMAT_B8G8R8A8_TYPELESS = 90,
  DXGI_FORMAT_B8G8R8A8_UNORM_SRGB = 91,
};

enum DXGI_MODE_SCANLINE_ORDER : uint32_t {
  DXGI_MODE_SCANLINE_ORDER_UNSPECIFIED = 0,
  DXGI_MODE_SCANLINE_ORDER_PROGRESSIVE = 1,
};

enum DXGI_MODE_SCALING : uint32_t {
  DXGI_MODE_SCALING_UNSPECIFIED = 0,
  DXGI_MODE_SCALING_CENTERED = 1,
  DXGI_MODE_SCALING_STRETCHED = 2,
};

enum DXGI_MODE_ROTATION : uint32_t {
  DXGI_MODE_ROTATION_UNSPECIFIED = 0,
  DXGI_MODE_ROTATION_IDENTITY = 1,
};

enum DXGI_SWAP_EFFECT : uint32_t {
  DXGI_SWAP_EFFECT_DISCARD = 0,
  DXGI_SWAP_EFFECT_SEQUENTIAL = 1,
};

using DXGI_USAGE = UINT;
constexpr DXGI_USAGE DXGI_USAGE_SHADER_INPUT = 0x10;
constexpr DXGI_USAGE DXGI_USAGE_RENDER_TARGET_OUTPUT = 0x20;

constexpr UINT DXGI_ENUM_MODES_INTERLACED = 1;
constexpr UINT DXGI_ENUM_MODES_SCALING = 2;

constexpr HRESULT DXGI_ERROR_INVALID_CALL = static_cast<HRESULT>(0x887A0001u);
constexpr HRESULT DXGI_ERROR_NOT_FOUND = static_cast<HRESULT>(0x887A0002u);
constexpr HRESULT DXGI_ERROR_MORE_DATA = static_cast<HRESULT>(0x887A0003u);
constexpr HRESULT DXGI_ERROR_UNSUPPORTED = static_cast<HRESULT>(0x887A0004u);

struct DXGI_RATIONAL {
  UINT Numerator;
  UINT Denominator;
};

struct DXGI_MODE_DESC {
  UINT Width;
  UINT Height;
  DXGI_RATIONAL RefreshRate;
  DXGI_FORMAT Format;
  DXGI_MODE_SCANLINE_ORDER ScanlineOrdering;
  DXGI_MODE_SCALING Scaling;
};

struct DXGI_SAMPLE_DESC {
  UINT Count;
  UINT Quality;
};

struct DXGI_SWAP_CHAIN_DESC {
  DXGI_MODE_DESC BufferDesc;
  DXGI_SAMPLE_DESC SampleDesc;
  DXGI_USAGE BufferUsage;
  UINT BufferCount;
  HWND OutputWindow;
  BOOL Windowed;
  DXGI_SWAP_EFFECT SwapEffect;
  UINT Flags;
};

struct DXGI_ADAPTER_DESC {
  WCHAR Description[128];
  UINT VendorId;
  UINT DeviceId;
  UINT SubSysId;
  UINT Revision;
  SIZE_T DedicatedVideoMemory;
  SIZE_T DedicatedSystemMemory;
  SIZE_T SharedSystemMemory;
  LUID AdapterLuid;
};

struct DXGI_ADAPTER_DESC1 {
  WCHAR Description[128];
  UINT VendorId;
  UINT DeviceId;
  UINT SubSysId;
  UINT Revision;
  SIZE_T DedicatedVideoMemory;
  SIZE_T DedicatedSystemMemory;
  SIZE_T SharedSystemMemory;
  LUID AdapterLuid;
  UINT Flags;
};

struct DXGI_OUTPUT_DESC {
  WCHAR DeviceName[32];
  RECT DesktopCoordinates;
  BOOL AttachedToDesktop;
  DXGI_MODE_ROTATION Rotation;
  void* Monitor;
};

PULSAR_DECLARE_IID(IDXGIFactory, 0x7b7166ec, 0x21c7, 0x44ae, 0xb2, 0x1a, 0xc9, 0xae, 0x32, 0x1a, 0xe3, 0x69)
PULSAR_DECLARE_IID(IDXGIFactory1, 0x770aae78, 0xf26f, 0x4dba, 0xa8, 0x29, 0x25, 0x3c, 0x83, 0xd1, 0xb3, 0x87)

// One display of SDL (output 0 is the primary display).
class IDXGIOutput : public IUnknown {
 public:
  HRESULT GetDesc(DXGI_OUTPUT_DESC* pDesc);
  // Modes of this display for the format, largest refresh last within one size, sizes ascending.
  // With pDesc null only the count is returned.
  HRESULT GetDisplayModeList(DXGI_FORMAT EnumFormat, UINT Flags, UINT* pNumModes, DXGI_MODE_DESC* pDesc);

 private:
  friend class IDXGIAdapter;
  explicit IDXGIOutput(int displayIndex) : m_displayIndex(displayIndex) {}
  int m_displayIndex;
};

// The OpenGL renderer behind every display.
class IDXGIAdapter : public IUnknown {
 public:
  HRESULT EnumOutputs(UINT Output, IDXGIOutput** ppOutput);
  HRESULT GetDesc(DXGI_ADAPTER_DESC* pDesc);

 protected:
  friend class IDXGIFactory;
  IDXGIAdapter() = default;
};

class IDXGIAdapter1 : public IDXGIAdapter {
 public:
  HRESULT GetDesc1(DXGI_ADAPTER_DESC1* pDesc);

 private:
  friend class IDXGIFactory1;
  IDXGIAdapter1() = default;
};

class IDXGIFactory : public IUnknown {
 public:
  HRESULT EnumAdapters(UINT Adapter, IDXGIAdapter** ppAdapter);

 protected:
  friend HRESULT CreateDXGIFactory(REFIID riid, void** ppFactory);
  friend HRESULT CreateDXGIFactory1(REFIID riid, void** ppFactory);
  IDXGIFactory() = default;
};

class IDXGIFactory1 : public IDXGIFactory {
 public:
  HRESULT EnumAdapters1(UINT Adapter, IDXGIAdapter1** ppAdapter);

 private:
  friend HRESULT CreateDXGIFactory(REFIID riid, void** ppFactory);
  friend HRESULT CreateDXGIFactory1(REFIID riid, void** ppFactory);
  IDXGIFactory1() = default;
};

// Needs SDL video (platform::InitializeVideo) for outputs and modes.
HRESULT CreateDXGIFactory(REFIID riid, void** ppFactory);
HRESULT CreateDXGIFactory1(REFIID riid, void** ppFactory);

class ID3D11Texture2D;
class ID3D11Device;

// One back buffer off-screen (RGBA8), presented to the window flipped; owns the GL context.
class IDXGISwapChain : public IUnknown {
 public:
  HRESULT Present(UINT SyncInterval, UINT Flags);
  HRESULT GetBuffer(UINT Buffer, REFIID riid, void** ppSurface);
  HRESULT SetFullscreenState(BOOL Fullscreen, IDXGIOutput* pTarget);
  HRESULT GetFullscreenState(BOOL* pFullscreen, IDXGIOutput** ppTarget);
  HRESULT GetDesc(DXGI_SWAP_CHAIN_DESC* pDesc);

  // Not part of DXGI: reads the back buffer as RGBA8, top row first (width × height × 4 bytes),
  // and writes it to a PNG. Both work without a display.
  bool ReadBackBuffer(uint8_t* pixels);
  // The picture as the window shows it: presenting ignores the back buffer's alpha, which the
  // show's blended overlays leave anywhere between 0 and 1, so every pixel comes back opaque.
  bool ReadPresentedPicture(uint8_t* pixels);
  bool SaveBackBufferPng(const char* path);

  // The layer's own: the GL context this swap chain created on its window.
  void* glContext() const { return m_glContext; }

 private:
  friend struct SwapChainFactory;
  IDXGISwapChain() = default;
  ~IDXGISwapChain() override;

  DXGI_SWAP_CHAIN_DESC m_desc{};
  void* m_glContext = nullptr;
  ID3D11Texture2D* m_backBuffer = nullptr;
  uint32_t m_presentFramebuffer = 0;
  BOOL m_fullscreen = FALSE;
  int m_lastSwapInterval = -1;
};
