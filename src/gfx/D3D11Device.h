#pragma once
// The Direct3D device of the show: device, immediate context and one-buffer swap chain on the
// show window, the back-buffer view with the shared depth buffer, a default alpha-blend and
// rasterizer state, the full-screen viewport and the three orthographic projections.
#include <cstdint>

#include "math/d3dx_math.h"
#include "platform/d3d11/d3d11.h"

class D3D11Device {
 public:
  D3D11Device() = default;
  D3D11Device(const D3D11Device&) = delete;
  D3D11Device& operator=(const D3D11Device&) = delete;
  ~D3D11Device() { Shutdown(); }

  bool Initialize(int32_t screenWidth, int32_t screenHeight, bool vsync, HWND window, bool fullScreen,
                  float screenFar, float screenNear);
  void Shutdown();

  // Clears the back buffer to the colour and the depth buffer to 1.
  void BeginScene(float red, float green, float blue, float alpha);
  // Presents, waiting for the vertical blank when v-sync is on.
  void EndScene();
  // Back to the screen after off-screen passes: the back buffer with the shared depth view, and
  // the full viewport.
  void SetBackBufferRenderTarget();
  void ResetViewport();

  ID3D11Device* GetDevice() const { return m_device; }
  ID3D11DeviceContext* GetDeviceContext() const { return m_deviceContext; }
  IDXGISwapChain* GetSwapChain() const { return m_swapChain; }
  ID3D11DepthStencilView* GetDepthStencilView() const { return m_depthStencilView; }
  const D3DXMATRIX& GetWorldMatrix() const { return m_worldMatrix; }
  const D3DXMATRIX& GetOrthoMatrix() const { return m_orthoMatrix; }
  const D3DXMATRIX& GetHalfOrthoMatrix() const { return m_halfOrthoMatrix; }
  const D3DXMATRIX& GetQuarterOrthoMatrix() const { return m_quarterOrthoMatrix; }
  int32_t GetScreenWidth() const { return m_screenWidth; }
  int32_t GetScreenHeight() const { return m_screenHeight; }
  int32_t GetVideoCardMemory() const { return m_videoCardMemory; }
  const char* GetVideoCardDescription() const { return m_videoCardDescription; }

 private:
  bool m_vsyncEnabled = false;
  int32_t m_videoCardMemory = 0;
  char m_videoCardDescription[128] = {};
  IDXGISwapChain* m_swapChain = nullptr;
  ID3D11Device* m_device = nullptr;
  ID3D11DeviceContext* m_deviceContext = nullptr;
  ID3D11RenderTargetView* m_renderTargetView = nullptr;
  ID3D11Texture2D* m_depthStencilBuffer = nullptr;
  ID3D11DepthStencilState* m_depthStencilState = nullptr;
  ID3D11DepthStencilView* m_depthStencilView = nullptr;
  ID3D11BlendState* m_alphaBlendState = nullptr;
  ID3D11RasterizerState* m_rasterState = nullptr;
  D3DXMATRIX m_worldMatrix;
  D3DXMATRIX m_orthoMatrix;
  D3DXMATRIX m_halfOrthoMatrix;
  D3DXMATRIX m_quarterOrthoMatrix;
  int32_t m_screenWidth = 0;
  int32_t m_screenHeight = 0;
  D3D11_VIEWPORT m_viewport{};
};

// wcstombs_s into a 128-byte field: UTF-8, false when a character cannot be converted or the
// text with its terminating zero does not fit.
bool ConvertAdapterDescription(const WCHAR* description, char (&out)[128]);
