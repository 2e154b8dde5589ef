// The whole show, headless and small, on a clock stepped by a fixed amount per frame from show
// time 0 to its end: every scene slot plays, and from loading to the last frame OpenGL raises no
// error, KHR_debug reports no error or undefined behaviour, and the layer refuses no call. Built
// with the sanitizers, the same run fails on any report of theirs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "app/Application.h"
#include "demo/CueSheet.h"
#include "demo/Demo.h"
#include "app/Timer.h"
#include "platform/d3d11/gl_check.h"
#include "support/GlDriver.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;

namespace {

#ifndef PULSAR_WHOLE_SHOW_STEP_MS
#define PULSAR_WHOLE_SHOW_STEP_MS 100
#endif
constexpr int64_t kStepMs = PULSAR_WHOLE_SHOW_STEP_MS;
static_assert(1000 % kStepMs == 0, "the stepped clock counts whole frames per second");

fs::path ShowArchive() {
#ifdef PULSAR_SHOW_ARCHIVE
  return PULSAR_SHOW_ARCHIVE;
#else
  const char* directory = std::getenv("PULSAR_BINARY_DIR");
  return (directory ? fs::path(directory) : fs::current_path()) / "demo.dat";
#endif
}

// Messages grouped by their text, with the first show time each was seen at and how often.
struct SeenMessages {
  struct Seen {
    int64_t firstAt = 0;
    int count = 0;
  };
  std::map<std::string, Seen> byText;

  void Take(int64_t showTime) {
    for (const platform::d3d11::GLDebugMessage& message : platform::d3d11::TakeGLDebugMessages()) {
      const std::string kind = message.type == platform::d3d11::kLayerRefusal ? "refused: " : "GL: ";
      Seen& seen = byText[kind + message.text];
      if (seen.count++ == 0) seen.firstAt = showTime;
    }
  }
  std::string Describe() const {
    std::string text;
    for (const auto& [message, seen] : byText) {
      text += "  at " + std::to_string(seen.firstAt) + " ms (" + std::to_string(seen.count) + "x): " + message + "\n";
    }
    return text;
  }
};

TEST(WholeShowTest, PlaysEverySceneToTheEndWithoutAGLErrorOrARefusedCall) {
  const fs::path archive = ShowArchive();
  if (!fs::exists(archive)) GTEST_SKIP() << "no demo.dat built";
  TempDirectory runtime;
  setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);

  ShowOptions show;
  show.width = 160;
  show.height = 90;
  show.fullScreen = false;
  show.vsync = false;
  show.headless = true;
  show.steppedClock = true;
  show.captureFps = static_cast<int32_t>(1000 / kStepMs);
  show.dataFile = archive.string();
  platform::d3d11::TakeGLDebugMessages();  // nothing from an earlier test counts here

  Application application(show);
  SeenMessages messages;
  std::set<int> scenesPlayed;
  int64_t frames = 0;
  int64_t lastTime = -1;
  bool timeWentBack = false;
  const bool started = application.Initialize();
  messages.Take(-1);  // loading: shader translation, textures, scenes
  if (started) {
    KeepGlDriverMapped();
    Demo* demo = application.demo();
    Timer* timer = application.timer();
    application.RunFrames([&](int32_t fps) {
      const bool drawn = demo->Frame(fps);
      messages.Take(timer->elapsed);
      ++frames;
      scenesPlayed.insert(demo->m_nScene);
      if (timer->elapsed <= lastTime) timeWentBack = true;
      lastTime = timer->elapsed;
      return drawn;
    });
  }
  application.Shutdown();
  messages.Take(lastTime);

  ASSERT_TRUE(started) << messages.Describe();
  EXPECT_THAT(messages.byText, ::testing::IsEmpty()) << "over the whole show:\n" << messages.Describe();
  // From 0 in whole steps to the first frame at or past the end, and the one frame the loop
  // draws after it.
  const int64_t stepsToTheEnd = (SHOW_LENGTH_MS + kStepMs - 1) / kStepMs;
  EXPECT_EQ(frames, stepsToTheEnd + 2);
  EXPECT_EQ(lastTime, (stepsToTheEnd + 1) * kStepMs);
  EXPECT_FALSE(timeWentBack);
  std::set<int> scheduled;
  for (const cue::SceneSlot& slot : cue::kSchedule) scheduled.insert(slot.sceneNumber);
  EXPECT_EQ(scenesPlayed, scheduled);
  EXPECT_THAT(fs::directory_iterator(runtime.path()) == fs::directory_iterator(), ::testing::IsTrue())
      << "the private data directory was left behind";
}

}  // namespace
