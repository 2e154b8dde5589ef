#include "demo/Demo.h"

#include <new>

#include "app/Timer.h"
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
  return true;
}

void Demo::Shutdown() {
  // The sound library ends first: its threads still read the music file and our buffers.
  if (m_pSound) {
    platform::BASS_Free();
    delete m_pSound;
    m_pSound = nullptr;
  }
}

void Demo::ReportError(std::string_view text) {
  platform::MessageBox(m_hWnd, text, "rock'n'error", MB_ICONERROR);
}
