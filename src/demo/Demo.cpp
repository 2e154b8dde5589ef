#include "demo/Demo.h"

#include "app/Timer.h"
#include "platform/message_box.h"

bool Demo::Initialize(int32_t width, int32_t height, bool vsync, bool fullScreen, int32_t refresh, HWND window,
                      Timer* timer, uint8_t* keys) {
  m_width = width;
  m_height = height;
  m_bVSync = vsync;
  m_bFullScreen = fullScreen;
  m_refresh = refresh;
  m_hWnd = window;
  m_pTimer = timer;
  m_pKeys = keys;

  m_lastSample = m_pTimer->elapsed;
  return true;
}

bool Demo::Frame(int32_t fps) {
  m_nFps = fps;
  return true;
}

void Demo::Shutdown() {}

void Demo::ReportError(std::string_view text) {
  platform::MessageBox(m_hWnd, text, "rock'n'error", MB_ICONERROR);
}
