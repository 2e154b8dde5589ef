#pragma once
// The top of the program: launch settings, data unpacking, the window, the Demo and the frame
// loop, torn down again in a fixed order.
#include <cstdint>
#include <functional>

#include "app/CommandLine.h"
#include "app/PrivateDataDirectory.h"
#include "app/VideoProgress.h"
#include "platform/window.h"

class Demo;
class DevControls;
class FrameProfiler;
class LiveReload;
class Timer;
class VideoRecorder;

using LRESULT = intptr_t;

class Application {
 public:
  explicit Application(const ShowOptions& options) : m_options(options) {}
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  bool Initialize();
  void Run();
  void Shutdown();

  // The steps of Initialize, in its order. InitializeWindows is the launcher (or the options),
  // the unpacked data and the window; Initialize starts reading the scene files between the
  // last two, so that they are read while the window and the device are made.
  bool InitializeTimer();
  bool InitializeWindows();
  bool InitializeDemo();

  // The frame loop with what draws a frame; `frame` returns false to end the show.
  using FrameFunction = std::function<bool(int32_t fps)>;
  void RunFrames(const FrameFunction& frame);

  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Starts the show at showTime as a late start does: with rewind, every scene and effect is
  // first taken back to where creation left it (development mode's seeks).
  void StartShowAt(int64_t showTime, bool rewind);

  HWND window() const { return m_hWnd; }
  Demo* demo() const { return m_pDemo; }
  Timer* timer() const { return m_pTimer; }
  DevControls* devControls() const { return m_pDev; }
  LiveReload* liveReload() const { return m_pReload; }
  const uint8_t* keyStates() const { return m_keyStates; }
  int32_t screenWidth() const { return m_screenWidth; }
  int32_t screenHeight() const { return m_screenHeight; }
  // True when Initialize failed because the user chose not to start the show.
  bool declined() const { return m_declined; }
  // True when the show ran but what it was asked to write (a video, frames, a screenshot) failed.
  bool failed() const { return m_failed; }
  // The directory the data was unpacked into; "" when there is none.
  const std::string& dataDirectory() const { return m_dataDirectory.path(); }

 private:
  void FillLaunchSettingsFromOptions();
  // The parts of InitializeWindows.
  bool ChooseLaunchSettings();
  bool UnpackData();
  bool CreateMainWindow();
  // Creates the Demo and lets it read its scene files.
  bool StartReadingScenes();
  // Development mode's controls and, with a source directory, its live reload.
  bool InitializeDevMode();
  // Before a frame is drawn: files changed in the sources are taken in.
  void BeforeDevFrame();
  // After a frame: the window title shows the show time, the scene and the frame time.
  void AfterDevFrame();
  // Show time between two frames as this run's clock makes them (for starting late).
  int64_t FrameStep() const;
  // On the steady clock, show time keeps with the music as it is heard.
  void KeepWithMusic();
  // The clock steps exactly one frame of captureFps per pass (capture, video, contact sheets).
  bool SteppedClock() const {
    return m_options.steppedClock || !m_options.captureDirectory.empty() || !m_options.videoPath.empty();
  }
  // Recording a video (ApplicationVideo.cpp): before the first frame, after each, at the end.
  bool StartVideo();
  bool RecordVideoFrame();
  void FinishVideo();
  void ReportVideoProgress();

  ShowOptions m_options;
  PrivateDataDirectory m_dataDirectory;
  bool m_declined = false;
  bool m_failed = false;
  const char* m_className = nullptr;
  bool m_videoStarted = false;
  int64_t m_capturedFrames = 0;
  int64_t m_lastMusicFrame = -1;
  HWND m_hWnd = nullptr;
  int32_t m_screenWidth = 0;
  int32_t m_screenHeight = 0;
  bool m_vsync = false;
  bool m_fullScreen = false;
  uint32_t m_highestRefresh = 0;
  uint8_t* m_keyStates = nullptr;
  Timer* m_pTimer = nullptr;
  Demo* m_pDemo = nullptr;
  FrameProfiler* m_pProfiler = nullptr;  // only with --profile
  DevControls* m_pDev = nullptr;         // only with --dev
  LiveReload* m_pReload = nullptr;       // only with --dev SOURCE_DIR
  int64_t m_titleFrames = 0;
  int64_t m_titleSince = 0;  // steady nanoseconds
  double m_titleFrameMs = 0.0;
  VideoRecorder* m_pVideo = nullptr;     // only with --video
  VideoProgress m_videoProgress;
  int64_t m_videoFrames = 0;             // frames the video holds
  int64_t m_videoFramesSubmitted = 0;
  double m_videoStartSeconds = 0.0;      // wall clock, for the progress only
};

// The process-wide pointer through which window messages reach the Application.
Application* TheApplication();
