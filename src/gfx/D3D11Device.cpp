#include "gfx/D3D11Device.h"

#include <cstring>
#include <memory>
#include <new>

#include "gfx/FrameProfiler.h"
#include "gfx/PipelineStateDescs.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/TextureDesc.h"

namespace {

// Appends the UTF-8 form of one character; false for values that are no character.
bool AppendUtf8(wchar_t c, std::string* out) {
  const uint32_t code = static_cast<uint32_t>(c);
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code >> 6)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    if (code >= 0xD800 && code <= 0xDFFF) return false;
    out->push_back(static_cast<char>(0xE0 | (code >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x110000) {
    out->push_back(static_cast<char>(0xF0 | (code >> 18)));
    out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool ConvertAdapterDescription(const WCHAR* description, char (&out)[128]) {
  std::string converted;
  for (size_t i = 0; i < 128 && description[i] != L'\0'; ++i) {
    if (!AppendUtf8(description[i], &converted)) return false;
  }
  if (converted.size() >= sizeof out) return false;
  std::memcpy(out, converted.c_str(), converted.size() + 1);
  return true;
}

bool D3D11Device::Initialize(int32_t screenWidth, int32_t screenHeight, bool vsync, HWND window, bool fullScreen,
                             float screenFar, float screenNear) {
  m_vsyncEnabled = vsync;
  m_screenWidth = screenWidth;
  m_screenHeight = screenHeight;

  IDXGIFactory* factory = nullptr;
  if (FAILED(CreateDXGIFactory(__uuidof(IDXGIFactory), reinterpret_cast<void**>(&factory)))) return false;
  IDXGIAdapter* adapter = nullptr;
  if (FAILED(factory->EnumAdapters(0, &adapter))) {
    factory->Release();
    return false;
  }
  IDXGIOutput* output = nullptr;
  if (FAILED(adapter->EnumOutputs(0, &output))) {
    adapter->Release();
    factory->Release();
    return false;
  }
  auto releaseEnumeration = [&] {
    output->Release();
    adapter->Release();
    factory->Release();
  };

  UINT modeCount = 0;
  if (FAILED(output->GetDisplayModeList(DXGI_FORMAT_R8G8B8A8_UNORM, DXGI_ENUM_MODES_INTERLACED, &modeCount, nullptr))) {
    releaseEnumeration();
    return false;
  }
  std::unique_ptr<DXGI_MODE_DESC[]> modes(new (std::nothrow) DXGI_MODE_DESC[modeCount > 0 ? modeCount : 1]);
  if (modes == nullptr ||
      FAILED(output->GetDisplayModeList(DXGI_FORMAT_R8G8B8A8_UNORM, DXGI_ENUM_MODES_INTERLACED, &modeCount,
                                        modes.get()))) {
    releaseEnumeration();
    return false;
  }
  // The last mode of the screen's size wins; without one, v-sync asks for 0/1.
  UINT numerator = 0;
  UINT denominator = 1;
  for (UINT i = 0; i < modeCount; ++i) {
    if (modes[i].Width == static_cast<UINT>(screenWidth) && modes[i].Height == static_cast<UINT>(screenHeight)) {
      numerator = modes[i].RefreshRate.Numerator;
      denominator = modes[i].RefreshRate.Denominator;
    }
  }

  DXGI_ADAPTER_DESC adapterDesc;
  if (FAILED(adapter->GetDesc(&adapterDesc))) {
    releaseEnumeration();
    return false;
  }
  m_videoCardMemory = static_cast<int32_t>(adapterDesc.DedicatedVideoMemory >> 20);
  if (!ConvertAdapterDescription(adapterDesc.Description, m_videoCardDescription)) {
    releaseEnumeration();
    return false;
  }
  modes.reset();
  releaseEnumeration();

  DXGI_SWAP_CHAIN_DESC swapChainDesc{};
  swapChainDesc.BufferCount = 1;
  swapChainDesc.BufferDesc.Width = static_cast<UINT>(screenWidth);
  swapChainDesc.BufferDesc.Height = static_cast<UINT>(screenHeight);
  swapChainDesc.BufferDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  swapChainDesc.BufferDesc.RefreshRate = m_vsyncEnabled ? DXGI_RATIONAL{numerator, denominator} : DXGI_RATIONAL{0, 1};
  swapChainDesc.BufferDesc.ScanlineOrdering = DXGI_MODE_SCANLINE_ORDER_UNSPECIFIED;
  swapChainDesc.BufferDesc.Scaling = DXGI_MODE_SCALING_UNSPECIFIED;
  swapChainDesc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
  swapChainDesc.OutputWindow = window;
  swapChainDesc.SampleDesc = {1, 0};
  swapChainDesc.Windowed = fullScreen ? FALSE : TRUE;
  swapChainDesc.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
  swapChainDesc.Flags = 0;

  const D3D_FEATURE_LEVEL featureLevel = D3D_FEATURE_LEVEL_11_0;
  if (FAILED(D3D11CreateDeviceAndSwapChain(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, 0, &featureLevel, 1,
                                           D3D11_SDK_VERSION, &swapChainDesc, &m_swapChain, &m_device, nullptr,
                                           &m_deviceContext))) {
    return false;
  }

  ID3D11Texture2D* backBuffer = nullptr;
  if (FAILED(m_swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(&backBuffer)))) {
    return false;
  }
  const HRESULT viewResult = m_device->CreateRenderTargetView(backBuffer, nullptr, &m_renderTargetView);
  backBuffer->Release();
  if (FAILED(viewResult)) return false;

  const D3D11_TEXTURE2D_DESC depthBufferDesc = SingleLevelTextureDesc(
      static_cast<UINT>(screenWidth), static_cast<UINT>(screenHeight), DXGI_FORMAT_D24_UNORM_S8_UINT,
      D3D11_BIND_DEPTH_STENCIL);
  if (FAILED(m_device->CreateTexture2D(&depthBufferDesc, nullptr, &m_depthStencilBuffer))) return false;

  const D3D11_DEPTH_STENCIL_DESC depthStencilDesc = DepthStencilDesc(TRUE, D3D11_DEPTH_WRITE_MASK_ALL);
  if (FAILED(m_device->CreateDepthStencilState(&depthStencilDesc, &m_depthStencilState))) return false;
  m_deviceContext->OMSetDepthStencilState(m_depthStencilState, 1);

  D3D11_DEPTH_STENCIL_VIEW_DESC depthStencilViewDesc{};
  depthStencilViewDesc.Format = DXGI_FORMAT_D24_UNORM_S8_UINT;
  depthStencilViewDesc.ViewDimension = D3D11_DSV_DIMENSION_TEXTURE2D;
  depthStencilViewDesc.Texture2D.MipSlice = 0;
  if (FAILED(m_device->CreateDepthStencilView(m_depthStencilBuffer, &depthStencilViewDesc, &m_depthStencilView))) {
    return false;
  }

  const D3D11_BLEND_DESC blendDesc = BlendDesc(TRUE, D3D11_BLEND_SRC_ALPHA, D3D11_BLEND_INV_SRC_ALPHA);
  if (FAILED(m_device->CreateBlendState(&blendDesc, &m_alphaBlendState))) return false;
  const float blendFactor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  m_deviceContext->OMSetBlendState(m_alphaBlendState, blendFactor, 0xFFFFFFFF);

  m_deviceContext->OMSetRenderTargets(1, &m_renderTargetView, m_depthStencilView);

  const D3D11_RASTERIZER_DESC rasterDesc = RasterizerDesc(D3D11_CULL_BACK);
  if (FAILED(m_device->CreateRasterizerState(&rasterDesc, &m_rasterState))) return false;
  m_deviceContext->RSSetState(m_rasterState);

  m_viewport = {0.0f, 0.0f, static_cast<float>(screenWidth), static_cast<float>(screenHeight), 0.0f, 1.0f};
  m_deviceContext->RSSetViewports(1, &m_viewport);

  D3DXMatrixIdentity(&m_worldMatrix);
  const float width = static_cast<float>(screenWidth);
  const float height = static_cast<float>(screenHeight);
  D3DXMatrixOrthoLH(&m_orthoMatrix, width, height, screenNear, screenFar);
  D3DXMatrixOrthoLH(&m_halfOrthoMatrix, width * 0.5f, height * 0.5f, screenNear, screenFar);
  D3DXMatrixOrthoLH(&m_quarterOrthoMatrix, width * 0.25f, height * 0.25f, screenNear, screenFar);
  return true;
}

void D3D11Device::Shutdown() {
  ReleaseAndForget(m_rasterState);
  ReleaseAndForget(m_alphaBlendState);
  ReleaseAndForget(m_depthStencilView);
  ReleaseAndForget(m_depthStencilState);
  ReleaseAndForget(m_depthStencilBuffer);
  ReleaseAndForget(m_renderTargetView);
  ReleaseAndForget(m_deviceContext);
  ReleaseAndForget(m_device);
  if (m_swapChain != nullptr) {
    m_swapChain->SetFullscreenState(FALSE, nullptr);
    ReleaseAndForget(m_swapChain);
  }
}

void D3D11Device::BeginScene(float red, float green, float blue, float alpha) {
  ProfilePass("back buffer");
  const float color[4] = {red, green, blue, alpha};
  m_deviceContext->ClearRenderTargetView(m_renderTargetView, color);
  m_deviceContext->ClearDepthStencilView(m_depthStencilView, D3D11_CLEAR_DEPTH, 1.0f, 0);
}

void D3D11Device::EndScene() {
  ProfilePass("present");
  m_swapChain->Present(m_vsyncEnabled ? 1 : 0, 0);
}

void D3D11Device::SetBackBufferRenderTarget() {
  ProfilePass("back buffer");
  m_deviceContext->OMSetRenderTargets(1, &m_renderTargetView, m_depthStencilView);
}

void D3D11Device::ResetViewport() { m_deviceContext->RSSetViewports(1, &m_viewport); }
