#include "demo/Demo.h"

#include <new>

#include "app/Timer.h"
#include "gfx/D3D11Device.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "platform/audio.h"
#include "platform/message_box.h"
#include "sound/Sound.h"

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

  m_pD3D11 = new (std::nothrow) D3D11Device();
  if (!m_pD3D11) return false;
  if (!m_pD3D11->Initialize(m_width, m_height, m_bVSync, m_hWnd, m_bFullScreen, 10000.0f, 1.0f)) {
    ReportError("m_pD3D11->Initialize");
    return false;
  }

  m_pRSM = new (std::nothrow) RenderStateManager();
  if (!m_pRSM) return false;
  if (!m_pRSM->Initialize(m_pD3D11->GetDevice(), m_pD3D11->GetDeviceContext())) {
    ReportError("m_pRSM->Initialize");
    return false;
  }

  m_pSM = new (std::nothrow) ShaderManager();
  if (!m_pSM) return false;
  if (!m_pSM->InitShaders(m_hWnd, m_pD3D11->GetDevice(), m_pD3D11->GetDeviceContext(), m_pTimer)) {
    ReportError("m_pSM->InitShaders");
    return false;
  }

  m_pSound = new (std::nothrow) Sound();
  if (!m_pSound) return false;
  if (!m_pSound->Create()) {
    ReportError("m_pSound->Create");
    return false;
  }

  m_lastSample = m_pTimer->elapsed;
  platform::BASS_ChannelPlay(m_pSound->stream, false);
  return true;
}

bool Demo::Frame(int32_t fps) {
  if (m_pSound) m_pSound->Update();
  m_nFps = fps;
  if (m_pD3D11) {
    m_pD3D11->BeginScene(0.0f, 0.0f, 0.0f, 1.0f);
    m_pD3D11->EndScene();
  }
  return true;
}

void Demo::Shutdown() {
  // The sound library ends first: its threads still read the music file and our buffers.
  if (m_pSound) {
    platform::BASS_Free();
    delete m_pSound;
    m_pSound = nullptr;
  }
  if (m_pSM) {
    m_pSM->Shutdown();
    delete m_pSM;
    m_pSM = nullptr;
  }
  if (m_pRSM) {
    m_pRSM->Shutdown();
    delete m_pRSM;
    m_pRSM = nullptr;
  }
  // The device goes last: everything above was created on it.
  if (m_pD3D11) {
    m_pD3D11->Shutdown();
    delete m_pD3D11;
    m_pD3D11 = nullptr;
  }
}

void Demo::ReportError(std::string_view text) {
  platform::MessageBox(m_hWnd, text, "rock'n'error", MB_ICONERROR);
}
