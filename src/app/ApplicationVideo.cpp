// Recording the show into a video: the frames of the stepped clock from the start time up to
// (not including) the end time, each read back from the swap chain and handed to the recorder,
// whose writer encodes it while the next one is drawn.
#include <chrono>
#include <cstdio>
#include <new>

#include "app/Application.h"
#include "app/DataDirectory.h"
#include "app/StopSignals.h"
#include "app/Timer.h"
#include "app/VideoRecorder.h"
#include "demo/Demo.h"
#include "gfx/D3D11Device.h"
#include "gfx/ShutdownAndDelete.h"

namespace {

double WallSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

bool Application::StartVideo() {
  VideoSettings settings;
  settings.path = m_options.videoPath;
  settings.container = VideoContainerOf(m_options.videoPath);
  settings.crf = VideoCrfOf(m_options);
  settings.width = m_screenWidth;
  settings.height = m_screenHeight;
  settings.fps = m_options.captureFps;
  settings.startMs = m_options.startAtMs;
  settings.frameCount = VideoFrameCount(m_options.startAtMs, m_options.endAtMs, m_options.captureFps);
  settings.music = DataPath("music.mp3");
  m_videoFrames = settings.frameCount;
  m_videoFramesSubmitted = 0;

  m_pVideo = new (std::nothrow) VideoRecorder();
  std::string error;
  std::string warning;
  if (!m_pVideo || !m_pVideo->Create(settings, &error, &warning)) {
    std::fprintf(stderr, "%s\n", error.empty() ? "Out of memory for the video." : error.c_str());
    ShutdownAndDelete(m_pVideo);
    return false;
  }
  if (!warning.empty()) std::fprintf(stderr, "%s\n", warning.c_str());
  m_videoProgress.Create(VideoProgress::StyleFor(m_options.quiet, stderr), m_videoFrames, stderr);
  m_videoStartSeconds = WallSeconds();
  return true;
}

bool Application::RecordVideoFrame() {
  uint8_t* pixels = m_pVideo->NextFrame();
  // Null: the encoder stopped reading; FinishVideo says why.
  if (!pixels) return false;
  // The back buffer as it is: the encoder ignores its alpha as presenting does.
  if (!m_pDemo->m_pD3D11->GetSwapChain()->ReadBackBuffer(pixels)) {
    std::fprintf(stderr, "Could not read frame %lld back for the video.\n",
                 static_cast<long long>(m_videoFramesSubmitted));
    return false;
  }
  m_pVideo->SubmitFrame();
  ++m_videoFramesSubmitted;
  ReportVideoProgress();
  return m_videoFramesSubmitted < m_videoFrames;
}

void Application::ReportVideoProgress() {
  ProgressState state;
  state.done = m_pVideo->FramesWritten();
  state.total = m_videoFrames;
  state.showTime = m_options.startAtMs + (state.done > 0 ? (state.done - 1) * 1000 / m_options.captureFps : 0);
  state.seconds = WallSeconds() - m_videoStartSeconds;
  m_videoProgress.Update(state);
}

void Application::FinishVideo() {
  // Stopped by a signal: the user asked for nothing to be finished.
  if (StopSignal() != 0) {
    m_videoProgress.Abandon();
    ShutdownAndDelete(m_pVideo);
    return;
  }
  std::string error;
  const bool finished = m_pVideo->Finish(&error);
  if (finished) {
    ProgressState state;
    state.done = state.total = m_videoFrames;
    state.showTime = m_options.startAtMs + (m_videoFrames - 1) * 1000 / m_options.captureFps;
    state.seconds = WallSeconds() - m_videoStartSeconds;
    m_videoProgress.Finish(state);
  } else {
    m_videoProgress.Abandon();
    std::fprintf(stderr, "%s\n", error.c_str());
    m_failed = true;
  }
  ShutdownAndDelete(m_pVideo);
}
