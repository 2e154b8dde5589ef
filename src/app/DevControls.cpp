#include "app/DevControls.h"

#include <algorithm>
#include <cstdio>

#include "app/Timer.h"
#include "demo/CueSheet.h"
#include "demo/Demo.h"
#include "demo/ShowData.h"
#include "sound/Sound.h"

bool DevControls::Create(Demo* demo, Timer* timer, const uint8_t* keys, StartFunction start, int64_t endMs) {
  if (!demo || !timer || !keys || !start) return false;
  m_pDemo = demo;
  m_pTimer = timer;
  m_keys = keys;
  m_start = std::move(start);
  m_endMs = std::max<int64_t>(0, endMs);
  m_paused = false;
  return true;
}

void DevControls::Shutdown() {
  m_pDemo = nullptr;
  m_pTimer = nullptr;
  m_keys = nullptr;
  m_start = nullptr;
}

int64_t DevControls::ShowTime() const {
  if (!m_pTimer) return 0;
  return m_paused ? m_pausedAt : m_pTimer->elapsed;
}

bool DevControls::KeyDown(uint8_t virtualKey) {
  if (!m_pDemo) return false;
  const bool shift = m_keys[VK_SHIFT] != 0;
  const int64_t now = ShowTime();
  switch (virtualKey) {
    case VK_SPACE: SetPaused(!m_paused); return true;
    case VK_LEFT: Seek(now - (shift ? kBar : kSecond)); return true;
    case VK_RIGHT: Seek(now + (shift ? kBar : kSecond)); return true;
    case VK_PRIOR: Seek(PreviousSceneStart(now)); return true;
    case VK_NEXT: Seek(NextSceneStart(now, m_endMs)); return true;
    case VK_HOME: Seek(0); return true;
    case VK_D: m_pDemo->m_bDebugView = m_pDemo->m_bDebugView ? 0 : 1; return true;
    default: return false;
  }
}

void DevControls::Seek(int64_t showTime) {
  if (!m_pDemo) return;
  const int64_t target = std::clamp<int64_t>(showTime, 0, m_endMs);
  m_start(target);
  if (m_paused) {
    // The start set the music playing from the new time; a paused show keeps it still there.
    m_pausedAt = target;
    if (m_pDemo->m_pSound) {
      m_pDemo->m_pSound->Pause();
      m_pDemo->m_pSound->SetPosition(target);
    }
  }
}

void DevControls::SetPaused(bool paused) {
  if (!m_pDemo || paused == m_paused) return;
  Sound* sound = m_pDemo->m_pSound;
  if (paused) {
    m_pausedAt = m_pTimer->elapsed;
    m_paused = true;
    // The music stops where the picture stops, to the sample, whatever was still buffered.
    if (sound) {
      sound->Pause();
      sound->SetPosition(m_pausedAt);
    }
    return;
  }
  m_paused = false;
  if (sound) {
    sound->SetPosition(m_pausedAt);
    sound->Resume();
  }
}

void DevControls::AfterTimerFrame() {
  if (!m_pTimer) return;
  // At its end the show waits for the next key instead of closing.
  if (!m_paused && m_pTimer->elapsed >= m_endMs) {
    m_pTimer->Hold(m_endMs);
    SetPaused(true);
  }
  if (m_paused) m_pTimer->Hold(m_pausedAt);
}

int64_t DevControls::PreviousSceneStart(int64_t showTime) {
  int64_t previous = 0;
  for (const cue::SceneSlot& slot : cue::kSchedule)
    if (slot.start < showTime - kSceneStartGrace) previous = slot.start;
  return previous;
}

int64_t DevControls::NextSceneStart(int64_t showTime, int64_t endMs) {
  for (const cue::SceneSlot& slot : cue::kSchedule)
    if (slot.start > showTime) return std::min(slot.start, endMs);
  return endMs;
}

std::string DevControls::SceneName(int64_t showTime) {
  const std::vector<int32_t> updated = show::ScenesUpdatedAt(std::max<int64_t>(showTime, show::kFlagAppears));
  std::string name = updated.empty() ? "" : show::SceneFileName(updated.front());
  // "tunnel1.c4e" is the tunnel, "flagge2.c4e" the flag.
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() >= '0' && name.back() <= '9') name.pop_back();
  return name;
}

std::string DevControls::Title(double frameMilliseconds, const std::string& problem) const {
  const int64_t t = ShowTime();
  char line[160];
  std::snprintf(line, sizeof(line), "Pulsar  %lld:%02lld.%03lld  %s  %.1f ms%s", static_cast<long long>(t / 60000),
                static_cast<long long>(t / 1000 % 60), static_cast<long long>(t % 1000), SceneName(t).c_str(),
                frameMilliseconds, m_paused ? "  paused" : "");
  std::string title = line;
  if (!problem.empty()) title += "  |  " + problem.substr(0, problem.find('\n'));
  return title;
}
