#pragma once
// The director of the show: creates and owns every resource in a fixed order, draws one frame
// of the timeline per call, and releases everything in reverse order.
#include <cstdint>
#include <string_view>

#include "platform/win_types.h"

class D3D11Device;
class RenderStateManager;
class ShaderManager;
class Sound;
class Timer;

class Demo {
 public:
  Demo() = default;
  Demo(const Demo&) = delete;
  Demo& operator=(const Demo&) = delete;

  bool Initialize(int32_t width, int32_t height, bool vsync, bool fullScreen, int32_t refresh, HWND window,
                  Timer* timer, uint8_t* keys);
  bool Frame(int32_t fps);
  void Shutdown();
  void ReportError(std::string_view text);

  int64_t m_lastSample = 0;
  int16_t m_bDebugView = 0;
  float m_shadowA = 100.0f;
  float m_shadowB = 2500.0f;
  int32_t m_nScene = 0;
  int32_t m_fractal = 0;
  int32_t m_nFinalEffect = 0;
  int32_t m_width = 0;
  int32_t m_height = 0;
  bool m_bVSync = false;
  bool m_bFullScreen = false;
  int32_t m_refresh = 0;
  HWND m_hWnd = nullptr;
  uint8_t* m_pKeys = nullptr;
  Timer* m_pTimer = nullptr;
  D3D11Device* m_pD3D11 = nullptr;
  RenderStateManager* m_pRSM = nullptr;
  ShaderManager* m_pSM = nullptr;
  Sound* m_pSound = nullptr;
  int32_t m_nFps = 0;
};
