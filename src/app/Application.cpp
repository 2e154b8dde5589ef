#include "app/Application.h"

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>

#include "app/ArchiveLocation.h"
#include "app/ArchiveUnpacker.h"
#include "app/DataDirectory.h"
#include "app/DevControls.h"
#include "app/LiveReload.h"
#include "app/LaunchSettings.h"
#include "app/OutputFiles.h"
#include "app/StopSignals.h"
#include "app/Timer.h"
#include "app/VideoRecorder.h"
#include "app/launcher/DisplayEnumeration.h"
#include "app/launcher/LauncherDialog.h"
#include "demo/Demo.h"
#include "gfx/FrameProfiler.h"
#include "gfx/ShaderManager.h"
#include "gfx/ShutdownAndDelete.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/crt_rand.h"
#include "platform/message_box.h"
#include "sound/Sound.h"

namespace {

Application* g_application = nullptr;

constexpr int32_t kDefaultWindowWidth = 1280;
constexpr int32_t kDefaultWindowHeight = 720;
// The calendar time reproducible runs see (it seeds the design lines): 2026-01-01 00:00 UTC.
constexpr int64_t kReproducibleCalendarTime = 1767225600;

void DispatchMessage(const MSG& message) {
  if (Application* application = TheApplication()) {
    application->WndProc(message.hwnd, message.message, message.wParam, message.lParam);
  }
}

}  // namespace

Application* TheApplication() { return g_application; }

bool Application::Initialize() {
  // A video needs its encoder: say so before anything is unpacked or loaded.
  if (!m_options.videoPath.empty() && FfmpegProcess::FindOnPath("ffmpeg").empty()) {
    std::fprintf(stderr, "--video needs ffmpeg, which is not on PATH (on Debian: apt-get install ffmpeg); "
                         "nothing was saved.\n");
    return false;
  }
  // Nothing of the user's is written over: say so before anything is unpacked or loaded.
  const std::string inTheWay = OutputInTheWay(
      {m_options.screenshotPath, m_options.captureDirectory, m_options.profilePath, m_options.videoPath});
  if (!inTheWay.empty()) {
    std::fprintf(stderr, "%s\n", inTheWay.c_str());
    return false;
  }
  // What is recorded depends on show time alone: the music is decoded against the stepped
  // clock instead of played, and the one seed taken from the calendar is fixed.
  const bool recording = !m_options.captureDirectory.empty() || !m_options.videoPath.empty();
  platform::UseOfflineOutput(recording);
  platform::FixCalendarTime(recording ? kReproducibleCalendarTime : -1);
  if (SteppedClock()) {
    platform::UseManualClock(0);
  } else if (m_options.clock == ClockKind::FixedStep) {
    platform::UseFixedStepClock(m_options.clockStepMs);
  } else {
    platform::UseSteadyClock();
  }
  return InitializeTimer() && ChooseLaunchSettings() && UnpackData() && StartReadingScenes() && CreateMainWindow() &&
         InitializeDemo();
}

bool Application::InitializeTimer() {
  m_pTimer = new (std::nothrow) Timer();
  if (!m_pTimer) return false;
  if (!m_pTimer->Initialize()) {
    platform::MessageBox(m_hWnd, "Could not initialize the Timer object.", "Error", MB_OK);
    return false;
  }
  m_keyStates = new (std::nothrow) uint8_t[256]();
  return m_keyStates != nullptr;
}

void Application::FillLaunchSettingsFromOptions() {
  LaunchSettings& settings = TheLaunchSettings();
  DisplayMode mode{static_cast<uint32_t>(m_options.width), static_cast<uint32_t>(m_options.height)};
  if (mode.width == 0 || mode.height == 0) {
    const bool desktopKnown = platform::DesktopWidth() > 0 && platform::DesktopHeight() > 0;
    if (m_options.fullScreen && desktopKnown) {
      mode = {static_cast<uint32_t>(platform::DesktopWidth()), static_cast<uint32_t>(platform::DesktopHeight())};
    } else {
      mode = {kDefaultWindowWidth, kDefaultWindowHeight};
    }
  }
  settings.start = true;
  settings.vsync = m_options.vsync;
  settings.fullScreen = m_options.fullScreen;
  settings.highestRefresh = HighestRefreshOfFirstOutput();
  settings.modes = {mode};
  settings.defaultIndex = 0;
  settings.selectedIndex = 0;
}

bool Application::InitializeWindows() { return ChooseLaunchSettings() && UnpackData() && CreateMainWindow(); }

bool Application::ChooseLaunchSettings() {
  const platform::VideoMode videoMode =
      m_options.headless ? platform::VideoMode::Headless : platform::VideoMode::Automatic;
  if (!platform::InitializeVideo(videoMode)) return false;
  m_videoStarted = true;
  platform::SetInteractiveMessageBoxes(!platform::IsHeadless());

  // The dialog asks only where there is a display to show it on.
  const bool asked = m_options.launcher && !platform::IsHeadless() && ShowLauncherDialog(m_options.vsync);
  if (!asked) FillLaunchSettingsFromOptions();
  LaunchSettings& settings = TheLaunchSettings();
  if (!settings.start) {
    settings.modes.clear();
    m_declined = true;
    return false;
  }
  return true;
}

bool Application::CreateMainWindow() {
  LaunchSettings& settings = TheLaunchSettings();
  m_vsync = settings.vsync;
  m_fullScreen = settings.fullScreen;
  m_highestRefresh = settings.highestRefresh;
  const ScreenSize size = ChosenScreenSize(settings, {platform::DesktopWidth(), platform::DesktopHeight()},
                                           {kDefaultWindowWidth, kDefaultWindowHeight});
  m_screenWidth = size.width;
  m_screenHeight = size.height;
  settings.modes.clear();

  g_application = this;
  m_className = "engine";

  platform::WindowDesc desc;
  desc.title = "engine";
  desc.width = m_screenWidth;
  desc.height = m_screenHeight;
  desc.fullScreen = m_fullScreen;
  if (!m_fullScreen) {
    desc.x = (platform::DesktopWidth() - m_screenWidth) / 2;
    desc.y = (platform::DesktopHeight() - m_screenHeight) / 2;
  }
  m_hWnd = platform::Window::Create(desc);
  if (!m_hWnd) return false;

  m_hWnd->Show();
  m_hWnd->Focus();
  platform::ShowCursor(false);
  return true;
}

// A show without its data cannot start: say which file and why before anything looks for one.
bool Application::UnpackData() {
  std::string archive;
  std::string error;
  bool unpacked = FindArchive(m_options.dataFile, ProgramDirectory(), &archive, &error);
  if (unpacked) {
    const auto lock = LockDataDirectoryForSignals();
    unpacked = m_dataDirectory.Create(&error);
    SetDirectoryRemovedBySignal(m_dataDirectory.path());
    unpacked = unpacked && UnpackArchive(archive, m_dataDirectory.path(), &error);
  }
  if (!unpacked) {
    platform::MessageBox(nullptr, "The show cannot start: " + error, "Error", MB_OK);
    return false;
  }
  SetDataRoot(m_dataDirectory.path());
  return true;
}

bool Application::StartReadingScenes() {
  m_pDemo = new (std::nothrow) Demo();
  if (!m_pDemo) return false;
  m_pDemo->StartReadingScenes();
  return true;
}

bool Application::InitializeDemo() {
  if (!m_pDemo) m_pDemo = new (std::nothrow) Demo();
  if (!m_pDemo) return false;
  m_pDemo->m_bDebugView = m_options.debugView ? 1 : 0;
  m_pDemo->m_bPrintOverlay = m_options.printOverlay;
  if (!m_pDemo->Initialize(m_screenWidth, m_screenHeight, m_vsync, m_fullScreen,
                           static_cast<int32_t>(m_highestRefresh), m_hWnd, m_pTimer, m_keyStates)) {
    return false;
  }
  // Runs on a fixed or stepped clock give the same frames every time.
  m_pDemo->m_pSM->WaitForSpecialisedPrograms(SteppedClock() || m_options.clock == ClockKind::FixedStep);
  if (!m_options.profilePath.empty()) {
    m_pProfiler = new (std::nothrow) FrameProfiler();
    if (!m_pProfiler || !m_pProfiler->Create(m_options.profilePath)) {
      std::fprintf(stderr, "Could not write the profile %s.\n", m_options.profilePath.c_str());
      return false;
    }
    SetActiveFrameProfiler(m_pProfiler);
  }
  StartShowAt(m_options.startAtMs, false);
  return !m_options.dev || InitializeDevMode();
}

void Application::StartShowAt(int64_t showTime, bool rewind) {
  if (rewind) m_pDemo->Rewind();
  if (showTime > 0 || rewind) m_pDemo->StartAt(showTime, FrameStep());
  m_pDemo->RequestScenePrograms(showTime);
  // The replay takes time of its own while the music already plays: the music and the clock
  // start together only after it.
  if (m_pDemo->m_pSound) m_pDemo->m_pSound->SetPosition(showTime);
  // A stepped clock begins again as at the start, so the next frame is the start's frame.
  if (SteppedClock()) {
    m_capturedFrames = 0;
    platform::SetManualClock(0);
  }
  // Show time zero (or the chosen start) is the moment loading finished and the music began.
  m_pTimer->Initialize();
  m_pTimer->startTime -= showTime;
  // Until the next frame: development mode stands at the show time (a key may arrive before
  // any frame is drawn); otherwise nothing is shown yet, as at the first start, so a show
  // started again after its end does not look finished from its last run's time.
  m_pTimer->elapsed = m_options.dev ? showTime : 0;
}

void Application::KeepWithMusic() {
  if (m_options.clock != ClockKind::Steady || SteppedClock() || !m_pDemo || !m_pDemo->m_pSound) return;
  const int64_t frame = m_pDemo->m_pSound->PositionFrames();
  // Only music that moves leads: a paused, finished or missing stream says nothing of time.
  const bool moving = frame >= 0 && frame != m_lastMusicFrame;
  m_lastMusicFrame = frame;
  if (moving) m_pTimer->FollowMusic(frame * 1000 / Sound::kFrequency);
}

int64_t Application::FrameStep() const {
  if (SteppedClock()) return 1000 / m_options.captureFps;
  // The Timer reads the clock twice per frame.
  if (m_options.clock == ClockKind::FixedStep) return 2 * m_options.clockStepMs;
  // A display's pace, 60 frames a second.
  return 17;
}

void Application::Run() {
  const bool capturing = !m_options.captureDirectory.empty();
  if (capturing) {
    std::error_code error;
    std::filesystem::create_directories(m_options.captureDirectory, error);
  }
  int32_t captured = 0;
  if (!m_options.videoPath.empty() && !StartVideo()) {
    m_failed = true;
    return;
  }
  RunFrames([&](int32_t fps) {
    if (m_pProfiler) m_pProfiler->BeginFrame();
    const bool drawn = m_pDemo->Frame(fps);
    if (m_pProfiler) m_pProfiler->EndFrame(m_pTimer->elapsed, m_pDemo->m_nScene);
    if (!drawn) return false;
    if (capturing) {
      char name[32];
      std::snprintf(name, sizeof(name), "frame_%05d.png", captured++);
      const std::string path = (std::filesystem::path(m_options.captureDirectory) / name).string();
      if (!m_pDemo->SaveFrame(path.c_str())) {
        std::fprintf(stderr, "Could not write %s; capture stopped.\n", path.c_str());
        m_failed = true;
        return false;
      }
    }
    return !m_pVideo || RecordVideoFrame();
  });
  if (m_pVideo) FinishVideo();
  if (!m_options.screenshotPath.empty() && !m_pDemo->SaveFrame(m_options.screenshotPath.c_str())) {
    std::fprintf(stderr, "Could not write %s.\n", m_options.screenshotPath.c_str());
    m_failed = true;
  }
}

void Application::RunFrames(const FrameFunction& frame) {
  MSG message{};
  bool finished = false;
  for (;;) {
    // Looks at the previous pass's time, so one more frame is drawn after the limit.
    if (m_pTimer->elapsed >= m_options.endAtMs) finished = true;

    // Exactly one message per pass, never a drain of the queue.
    if (platform::PeekMessage(&message)) {
      message.hwnd = m_hWnd;
      DispatchMessage(message);
    }
    // A stop signal ends the show the way closing the window does.
    if (message.message == WM_QUIT || StopSignal() != 0) break;

    // Capture steps show time by exactly one frame per pass.
    if (SteppedClock()) {
      platform::SetManualClock(m_capturedFrames++ * 1000 / m_options.captureFps);
    }
    m_pTimer->Frame();
    KeepWithMusic();
    if (m_keyStates[VK_ESCAPE]) break;
    if (m_pDev) {
      BeforeDevFrame();
      // Development mode holds at the end instead of closing.
      finished = false;
    }
    const bool goOn = frame(m_pTimer->fps);
    if (m_pDev) AfterDevFrame();
    if (!goOn || finished) break;
  }
}

LRESULT Application::WndProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_CLOSE:
    case WM_DESTROY:
      platform::PostQuitMessage(0);
      return 0;
    case WM_KEYDOWN:
      if (m_keyStates) m_keyStates[wParam & 0xFF] = 1;
      if (m_pDev) m_pDev->KeyDown(static_cast<uint8_t>(wParam & 0xFF));
      return 0;
    case WM_KEYUP:
      if (m_keyStates) m_keyStates[wParam & 0xFF] = 0;
      return 0;
    default:
      return 0;
  }
}

void Application::Shutdown() {
  // A video not finished by now was stopped: its encoder ends and its partial file goes.
  ShutdownAndDelete(m_pVideo);
  // The profiler's queries live on the Demo's device.
  ShutdownAndDelete(m_pProfiler);
  ShutdownAndDelete(m_pReload);
  ShutdownAndDelete(m_pDev);
  ShutdownAndDelete(m_pDemo);
  delete[] m_keyStates;
  m_keyStates = nullptr;
  delete m_pTimer;
  m_pTimer = nullptr;

  SetDataRoot("");
  {
    const auto lock = LockDataDirectoryForSignals();
    SetDirectoryRemovedBySignal("");
    m_dataDirectory.Delete();
  }

  if (m_videoStarted) platform::ShowCursor(true);
  if (m_hWnd && m_fullScreen) m_hWnd->RestoreDesktopMode();
  platform::Window::Destroy(m_hWnd);
  m_hWnd = nullptr;
  m_className = nullptr;
  if (m_videoStarted) {
    platform::ShutdownVideo();
    m_videoStarted = false;
  }
  g_application = nullptr;
}
