#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <vector>

#include "platform/d3d11/d3d11.h"
#include "platform/d3d11/gl_check.h"
#include "platform/png_file.h"
#include "platform/window.h"

struct SwapChainFactory {
  static IDXGISwapChain* Create() { return new IDXGISwapChain(); }
  static void Attach(IDXGISwapChain* swapChain, void* glContext, const DXGI_SWAP_CHAIN_DESC& desc) {
    swapChain->m_glContext = glContext;
    swapChain->m_desc = desc;
    swapChain->m_fullscreen = desc.Windowed ? FALSE : TRUE;
  }
  static HRESULT CreateBackBuffer(IDXGISwapChain* swapChain, ID3D11Device* device) {
    const DXGI_SWAP_CHAIN_DESC& desc = swapChain->m_desc;
    D3D11_TEXTURE2D_DESC texture{};
    texture.Width = desc.BufferDesc.Width;
    texture.Height = desc.BufferDesc.Height;
    texture.MipLevels = 1;
    texture.ArraySize = 1;
    texture.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    texture.SampleDesc = {1, 0};
    texture.Usage = D3D11_USAGE_DEFAULT;
    texture.BindFlags = D3D11_BIND_RENDER_TARGET |
                        ((desc.BufferUsage & DXGI_USAGE_SHADER_INPUT) != 0 ? D3D11_BIND_SHADER_RESOURCE : 0u);
    const HRESULT hr = device->CreateTexture2D(&texture, nullptr, &swapChain->m_backBuffer);
    if (FAILED(hr)) return hr;
    glCreateFramebuffers(1, &swapChain->m_presentFramebuffer);
    glNamedFramebufferTexture(swapChain->m_presentFramebuffer, GL_COLOR_ATTACHMENT0, swapChain->m_backBuffer->glName(),
                              0);
    glNamedFramebufferReadBuffer(swapChain->m_presentFramebuffer, GL_COLOR_ATTACHMENT0);
    return platform::d3d11::CheckGLError("swap chain back buffer") ? S_OK : E_FAIL;
  }
};

IDXGISwapChain::~IDXGISwapChain() {
  if (m_backBuffer != nullptr) m_backBuffer->Release();
  if (m_presentFramebuffer != 0) glDeleteFramebuffers(1, &m_presentFramebuffer);
  if (m_glContext != nullptr) {
    SDL_GL_MakeCurrent(m_desc.OutputWindow->sdlWindow(), nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_glContext));
  }
}

HRESULT IDXGISwapChain::Present(UINT SyncInterval, UINT /*Flags*/) {
  SDL_Window* window = m_desc.OutputWindow->sdlWindow();
  const int interval = SyncInterval > 0 ? 1 : 0;
  if (interval != m_lastSwapInterval) {
    // Some drivers (the headless one) have no v-sync to offer; the frame is presented either way.
    SDL_GL_SetSwapInterval(interval);
    m_lastSwapInterval = interval;
  }
  int drawableWidth = 0, drawableHeight = 0;
  SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
  const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
  glDisable(GL_SCISSOR_TEST);
  GLint drawFramebuffer = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
  // Row 0 of the back buffer is the top of the picture; row 0 of the window is its bottom.
  const GLint width = static_cast<GLint>(m_desc.BufferDesc.Width);
  const GLint height = static_cast<GLint>(m_desc.BufferDesc.Height);
  glBlitNamedFramebuffer(m_presentFramebuffer, 0, 0, 0, width, height, 0, drawableHeight, drawableWidth, 0,
                         GL_COLOR_BUFFER_BIT, width == drawableWidth && height == drawableHeight ? GL_NEAREST : GL_LINEAR);
  if (scissor) glEnable(GL_SCISSOR_TEST);
  SDL_GL_SwapWindow(window);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer));
  return platform::d3d11::CheckGLError("Present") ? S_OK : DXGI_ERROR_INVALID_CALL;
}

HRESULT IDXGISwapChain::GetBuffer(UINT Buffer, REFIID riid, void** ppSurface) {
  if (ppSurface == nullptr) return E_INVALIDARG;
  *ppSurface = nullptr;
  if (Buffer != 0) return DXGI_ERROR_INVALID_CALL;
  if (!(riid == __uuidof(ID3D11Texture2D)) && !(riid == __uuidof(ID3D11Resource))) return E_NOINTERFACE;
  m_backBuffer->AddRef();
  if (riid == __uuidof(ID3D11Resource)) {
    *ppSurface = static_cast<ID3D11Resource*>(m_backBuffer);
  } else {
    *ppSurface = m_backBuffer;
  }
  return S_OK;
}

HRESULT IDXGISwapChain::SetFullscreenState(BOOL Fullscreen, IDXGIOutput* /*pTarget*/) {
  // The window layer switched the display mode already; this only records the state.
  m_fullscreen = Fullscreen;
  return S_OK;
}

HRESULT IDXGISwapChain::GetFullscreenState(BOOL* pFullscreen, IDXGIOutput** ppTarget) {
  if (pFullscreen != nullptr) *pFullscreen = m_fullscreen;
  if (ppTarget != nullptr) *ppTarget = nullptr;
  return S_OK;
}

HRESULT IDXGISwapChain::GetDesc(DXGI_SWAP_CHAIN_DESC* pDesc) {
  if (pDesc == nullptr) return E_INVALIDARG;
  *pDesc = m_desc;
  return S_OK;
}

bool IDXGISwapChain::ReadBackBuffer(uint8_t* pixels) {
  const GLsizei bytes = static_cast<GLsizei>(m_desc.BufferDesc.Width * m_desc.BufferDesc.Height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTextureImage(m_backBuffer->glName(), 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes, pixels);
  return platform::d3d11::CheckGLError("ReadBackBuffer");
}

bool IDXGISwapChain::ReadPresentedPicture(uint8_t* pixels) {
  if (!ReadBackBuffer(pixels)) return false;
  const size_t count = static_cast<size_t>(m_desc.BufferDesc.Width) * m_desc.BufferDesc.Height;
  for (size_t i = 0; i < count; ++i) pixels[i * 4 + 3] = 255;
  return true;
}

bool IDXGISwapChain::SaveBackBufferPng(const char* path) {
  const int width = static_cast<int>(m_desc.BufferDesc.Width);
  const int height = static_cast<int>(m_desc.BufferDesc.Height);
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  if (!ReadPresentedPicture(pixels.data())) return false;
  if (!platform::WriteShowPng(path, width, height, pixels.data())) {
    std::fprintf(stderr, "dxgi: could not write %s\n", path);
    return false;
  }
  return true;
}

HRESULT D3D11CreateDeviceAndSwapChain(IDXGIAdapter* /*pAdapter*/, D3D_DRIVER_TYPE DriverType, void* Software,
                                      UINT /*Flags*/, const D3D_FEATURE_LEVEL* pFeatureLevels, UINT FeatureLevels,
                                      UINT SDKVersion, const DXGI_SWAP_CHAIN_DESC* pSwapChainDesc,
                                      IDXGISwapChain** ppSwapChain, ID3D11Device** ppDevice,
                                      D3D_FEATURE_LEVEL* pFeatureLevel, ID3D11DeviceContext** ppImmediateContext) {
  if (ppSwapChain != nullptr) *ppSwapChain = nullptr;
  if (ppDevice != nullptr) *ppDevice = nullptr;
  if (ppImmediateContext != nullptr) *ppImmediateContext = nullptr;
  if (SDKVersion != D3D11_SDK_VERSION || Software != nullptr || pSwapChainDesc == nullptr ||
      pSwapChainDesc->OutputWindow == nullptr || pSwapChainDesc->BufferCount == 0) {
    return E_INVALIDARG;
  }
  if (DriverType != D3D_DRIVER_TYPE_HARDWARE && DriverType != D3D_DRIVER_TYPE_UNKNOWN) {
    platform::d3d11::ReportNotImplemented("a driver type other than hardware");
    return E_NOTIMPL;
  }
  bool levelOffered = pFeatureLevels == nullptr;
  for (UINT i = 0; i < FeatureLevels && pFeatureLevels != nullptr; ++i) {
    levelOffered = levelOffered || pFeatureLevels[i] == D3D_FEATURE_LEVEL_11_0;
  }
  if (!levelOffered) return E_INVALIDARG;

  DXGI_SWAP_CHAIN_DESC desc = *pSwapChainDesc;
  platform::Window* window = desc.OutputWindow;
  if (desc.BufferDesc.Width == 0) desc.BufferDesc.Width = static_cast<UINT>(window->width());
  if (desc.BufferDesc.Height == 0) desc.BufferDesc.Height = static_cast<UINT>(window->height());
  if (desc.BufferDesc.Width == 0 || desc.BufferDesc.Height == 0) return E_INVALIDARG;

  SDL_GLContext context = SDL_GL_CreateContext(window->sdlWindow());
  if (context == nullptr) {
    std::fprintf(stderr, "d3d11: no OpenGL context on the window: %s\n", SDL_GetError());
    return DXGI_ERROR_UNSUPPORTED;
  }
  SDL_GL_MakeCurrent(window->sdlWindow(), context);
  if (epoxy_gl_version() < 45) {
    std::fprintf(stderr, "d3d11: OpenGL 4.5 is needed, the driver offers %d.%d\n", epoxy_gl_version() / 10,
                 epoxy_gl_version() % 10);
    SDL_GL_MakeCurrent(window->sdlWindow(), nullptr);
    SDL_GL_DeleteContext(context);
    return DXGI_ERROR_UNSUPPORTED;
  }
  platform::d3d11::InstallGLDebugOutput();
  // Direct3D's clip space, depth range and top-row-first targets.
  glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
  glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);

  IDXGISwapChain* swapChain = SwapChainFactory::Create();
  SwapChainFactory::Attach(swapChain, context, desc);
  auto* device = new ID3D11Device();
  device->m_swapChain = swapChain;
  device->m_immediateContext = new ID3D11DeviceContext(device);
  const HRESULT hr = SwapChainFactory::CreateBackBuffer(swapChain, device);
  if (FAILED(hr)) {
    device->Release();
    swapChain->Release();
    return hr;
  }
  if (pFeatureLevel != nullptr) *pFeatureLevel = D3D_FEATURE_LEVEL_11_0;
  if (ppImmediateContext != nullptr) device->GetImmediateContext(ppImmediateContext);
  if (ppDevice != nullptr) {
    *ppDevice = device;
  } else {
    device->Release();
  }
  if (ppSwapChain != nullptr) {
    *ppSwapChain = swapChain;
  } else {
    swapChain->Release();
  }
  return S_OK;
}
