// The Application's development mode: the keys that pause and seek, live reload from the
// sources, and the window title that says where the show is.
#include <chrono>
#include <cstdio>
#include <new>

#include "app/Application.h"
#include "app/DevControls.h"
#include "app/LiveReload.h"
#include "app/Timer.h"
#include "demo/Demo.h"
#include "platform/message_box.h"

namespace {

int64_t SteadyNanoseconds() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// The title changes a few times a second: often enough to read, rarely enough to cost nothing.
constexpr int64_t kTitleInterval = 250'000'000;

}  // namespace

bool Application::InitializeDevMode() {
  m_pDev = new (std::nothrow) DevControls();
  if (!m_pDev || !m_pDev->Create(m_pDemo, m_pTimer, m_keyStates,
                                 [this](int64_t showTime) { StartShowAt(showTime, true); }, m_options.endAtMs)) {
    return false;
  }
  // A failed reload says so on stderr and on screen; nothing may stop the show to ask.
  platform::SetInteractiveMessageBoxes(false);
  platform::TakeShownMessageBoxes();
  m_titleSince = SteadyNanoseconds();
  if (m_options.devSourceDirectory.empty()) return true;

  m_pReload = new (std::nothrow) LiveReload();
  if (!m_pReload) return false;
  const std::string& source = m_options.devSourceDirectory;
  if (!m_pReload->Create(source, source + "/build", m_pDemo)) {
    std::fprintf(stderr, "%s has no %s to watch; the show cannot reload from it.\n", source.c_str(),
                 LiveReload::ShaderDirectory(source).c_str());
    return false;
  }
  std::fprintf(stderr, "Watching %s and %s.\n", LiveReload::ShaderDirectory(source).c_str(),
               LiveReload::StageDirectory(source + "/build").c_str());
  return true;
}

void Application::BeforeDevFrame() {
  m_pDev->AfterTimerFrame();
  if (!m_pReload) return;
  m_pReload->Apply();
  // Drawn over every frame until the file that failed loads.
  m_pDemo->m_reloadProblem = m_pReload->problem();
}

void Application::AfterDevFrame() {
  ++m_titleFrames;
  const int64_t now = SteadyNanoseconds();
  if (now - m_titleSince < kTitleInterval) return;
  m_titleFrameMs = static_cast<double>(now - m_titleSince) / 1e6 / static_cast<double>(m_titleFrames);
  m_titleFrames = 0;
  m_titleSince = now;
  if (m_hWnd) m_hWnd->SetTitle(m_pDev->Title(m_titleFrameMs, m_pReload ? m_pReload->problem() : std::string()));
}
