#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "support/ArchiveTestZip.h"
#include "app/Application.h"
#include "app/DataDirectory.h"
#include "app/Timer.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

// A run-time directory of its own, where the show makes its private data directory, and a
// small archive to unpack into it.
class ShowSandbox {
 public:
  ShowSandbox() : m_runtime(m_root.path() / "runtime"), m_xdg("XDG_RUNTIME_DIR", m_runtime.c_str()) {
    fs::create_directory(m_runtime);
    WriteTestZip(archive(), {TestFile("engine_data/music.mp3", "not really music"),
                             TestFile("engine_data/shaders/blur_PS.hlsl", "float4 main() : SV_Target;")});
  }
  fs::path archive() const { return m_root.path() / "demo.dat"; }
  const fs::path& runtime() const { return m_runtime; }
  std::vector<std::string> PrivateDirectories() const { return ListTree(m_runtime); }

 private:
  TempDirectory m_root;
  fs::path m_runtime;
  ScopedEnvironment m_xdg;
};

ShowOptions SmallHeadlessWindow() {
  ShowOptions options;
  options.headless = true;
  options.fullScreen = false;
  options.width = 64;
  options.height = 48;
  return options;
}

void PushKey(Uint32 type, SDL_Keycode key) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = key;
  SDL_PushEvent(&event);
}

void PushType(Uint32 type) {
  SDL_Event event{};
  event.type = type;
  SDL_PushEvent(&event);
}

ShowOptions SmallHeadlessWindowPlaying(const fs::path& archive) {
  ShowOptions options = SmallHeadlessWindow();
  options.dataFile = archive.string();
  return options;
}

// An Application with its Timer, key table, unpacked data and window, ready for the frame loop.
// Every way the loop ends leaves nothing of the data behind after Shutdown.
class FrameLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::UseFixedStepClock(10);
    ASSERT_TRUE(application.InitializeTimer());
    ASSERT_TRUE(application.InitializeWindows());
    ASSERT_FALSE(sandbox.PrivateDirectories().empty());
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override {
    application.Shutdown();
    platform::UseSteadyClock();
    EXPECT_THAT(sandbox.PrivateDirectories(), IsEmpty());
  }

  // Runs the loop; records the show time of every frame drawn.
  void RunUntilEnd(int maximumFrames = 100000) {
    application.RunFrames([&](int32_t) {
      frameTimes.push_back(application.timer()->elapsed);
      return static_cast<int>(frameTimes.size()) < maximumFrames;
    });
  }

  ShowSandbox sandbox;
  ShowOptions options = SmallHeadlessWindowPlaying(sandbox.archive());
  Application application{options};
  std::vector<int64_t> frameTimes;
};

TEST_F(FrameLoopTest, EscapeEndsTheShowInThePassItsKeyDownIsHandled) {
  PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
  PushKey(SDL_KEYUP, SDLK_ESCAPE);
  RunUntilEnd();
  EXPECT_TRUE(frameTimes.empty());
  // The key-up is still waiting: it could not be handled first.
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYUP, SDL_KEYUP), 1);
}

TEST_F(FrameLoopTest, OtherKeysAreRecordedButDoNotEndTheShow) {
  PushKey(SDL_KEYDOWN, SDLK_SPACE);
  RunUntilEnd(3);
  EXPECT_EQ(frameTimes.size(), 3u);
  EXPECT_EQ(application.keyStates()[0x20], 1);
  EXPECT_EQ(application.keyStates()[VK_ESCAPE], 0);
}

TEST_F(FrameLoopTest, HandlesExactlyOneMessagePerPass) {
  for (int i = 0; i < 5; ++i) PushType(SDL_USEREVENT);
  PushType(SDL_QUIT);
  RunUntilEnd();
  // Five passes each took one user message and drew; the sixth took the quit message.
  EXPECT_EQ(frameTimes.size(), 5u);
}

TEST_F(FrameLoopTest, ClosingTheWindowQuitsTheShow) {
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&close);
  RunUntilEnd();
  // The close message posts a quit message, taken a pass or two later.
  EXPECT_GE(frameTimes.size(), 1u);
  EXPECT_LE(frameTimes.size(), 3u);
}

TEST_F(FrameLoopTest, DrawsOneFrameWithoutAnyMessage) {
  RunUntilEnd(4);
  ASSERT_EQ(frameTimes.size(), 4u);
  // Two readings of 10 ms per Timer frame.
  EXPECT_EQ(frameTimes[0], 10);
  EXPECT_EQ(frameTimes[3], 70);
}

TEST_F(FrameLoopTest, DrawsExactlyOneFrameAfterTheShowLength) {
  platform::UseFixedStepClock(1000);
  application.timer()->Initialize();
  RunUntilEnd();
  ASSERT_GE(frameTimes.size(), 2u);
  int framesAfterLimit = 0;
  for (size_t i = 1; i < frameTimes.size(); ++i) {
    if (frameTimes[i - 1] >= SHOW_LENGTH_MS) ++framesAfterLimit;
  }
  EXPECT_EQ(framesAfterLimit, 1);
  EXPECT_GE(frameTimes[frameTimes.size() - 2], SHOW_LENGTH_MS);
  EXPECT_LT(frameTimes[frameTimes.size() - 3], SHOW_LENGTH_MS);
}

TEST_F(FrameLoopTest, AFrameReportingFalseEndsTheShow) {
  RunUntilEnd(1);
  EXPECT_EQ(frameTimes.size(), 1u);
}

TEST(ApplicationWindow, CentresABorderlessWindowTitledEngine) {
  ShowSandbox sandbox;
  ShowOptions options = SmallHeadlessWindowPlaying(sandbox.archive());
  options.width = 320;
  options.height = 200;
  Application application(options);
  ASSERT_TRUE(application.InitializeTimer());
  ASSERT_TRUE(application.InitializeWindows());
  ASSERT_NE(application.window(), nullptr);
  EXPECT_EQ(TheApplication(), &application);
  SDL_Window* window = application.window()->sdlWindow();
  EXPECT_STREQ(SDL_GetWindowTitle(window), "engine");
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS);
  int w = 0;
  int h = 0;
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 320);
  EXPECT_EQ(h, 200);
  application.Shutdown();
  EXPECT_EQ(TheApplication(), nullptr);
}

TEST(ApplicationShutdown, ToleratesWhatWasNeverCreated) {
  TempDirectory directory(/*enter=*/true);
  fs::create_directories("engine_data/my_thesis");
  std::ofstream("engine_data/my_thesis/chapter1.tex") << "mine";

  Application never(SmallHeadlessWindow());
  never.Shutdown();
  never.Shutdown();
  EXPECT_EQ(TheApplication(), nullptr);
  // The working directory is the user's, whatever it holds.
  EXPECT_EQ(ReadWholeFile("engine_data/my_thesis/chapter1.tex"), "mine");

  // Timer and key table only: the loop was never reached.
  Application partial(SmallHeadlessWindow());
  ASSERT_TRUE(partial.InitializeTimer());
  partial.Shutdown();
  EXPECT_EQ(partial.timer(), nullptr);
  EXPECT_EQ(partial.keyStates(), nullptr);
  EXPECT_EQ(partial.window(), nullptr);
}

TEST(ApplicationData, UnpacksIntoAPrivateDirectoryAndLeavesTheWorkingDirectoryAlone) {
  ShowSandbox sandbox;
  TempDirectory work(/*enter=*/true);
  fs::copy_file(sandbox.archive(), "demo.dat");
  fs::create_directories("engine_data/my_thesis");
  std::ofstream("engine_data/my_thesis/chapter1.tex") << "\\chapter{One}";
  std::ofstream("engine_data/music.mp3") << "the user's own music";
  const auto before = SnapshotTree(work.path());

  Application application(SmallHeadlessWindow());
  ASSERT_TRUE(application.InitializeTimer());
  ASSERT_TRUE(application.InitializeWindows());
  const fs::path data = application.dataDirectory();
  EXPECT_EQ(data.parent_path(), sandbox.runtime());
  EXPECT_EQ(ReadWholeFile(data / "engine_data/music.mp3"), "not really music");
  EXPECT_EQ(ReadWholeFile(DataPath("music.mp3")), "not really music");
  EXPECT_EQ(DataPath("shaders/blur_PS.hlsl"), (data / "engine_data/shaders/blur_PS.hlsl").string());
  EXPECT_EQ(ReadWholeFile(data / "pulsar.lock"), std::to_string(getpid()) + "\n");
  EXPECT_EQ(SnapshotTree(work.path()), before);

  application.Shutdown();
  EXPECT_THAT(sandbox.PrivateDirectories(), IsEmpty());
  EXPECT_EQ(DataPath("music.mp3"), "engine_data/music.mp3");
  EXPECT_EQ(SnapshotTree(work.path()), before);
}

// The archive's troubles are said once, naming the file and the reason, before any window or
// shader; the start fails (exit status 1, not the user declining).
TEST(ApplicationData, AnArchiveThatCannotBeUnpackedStopsTheStartWithItsReason) {
  ShowSandbox sandbox;
  TempDirectory work(/*enter=*/true);
  platform::TakeShownMessageBoxes();
  const auto startWith = [&](const std::string& dataFile) {
    ShowOptions options = SmallHeadlessWindow();
    options.dataFile = dataFile;
    Application application(options);
    EXPECT_TRUE(application.InitializeTimer());
    EXPECT_FALSE(application.InitializeWindows());
    EXPECT_EQ(application.window(), nullptr);
    EXPECT_FALSE(application.declined());
    application.Shutdown();
    EXPECT_THAT(sandbox.PrivateDirectories(), IsEmpty());
    const std::vector<platform::MessageBoxRecord> boxes = platform::TakeShownMessageBoxes();
    EXPECT_EQ(boxes.size(), 1u);
    return boxes.empty() ? platform::MessageBoxRecord{} : boxes.front();
  };

  const platform::MessageBoxRecord missing = startWith("");
  EXPECT_EQ(missing.caption, "Error");
  EXPECT_THAT(missing.text, HasSubstr("The show cannot start: demo.dat: No such file or directory (looked in the "
                                      "working directory, "));

  const platform::MessageBoxRecord named = startWith((work.path() / "elsewhere.dat").string());
  EXPECT_EQ(named.text, "The show cannot start: " + (work.path() / "elsewhere.dat").string() +
                            ": No such file or directory");

  WriteWholeFile("demo.dat", "PK but no zip at all");
  const platform::MessageBoxRecord garbage = startWith("");
  EXPECT_THAT(garbage.text, HasSubstr("The show cannot start: demo.dat: not a zip archive"));
  EXPECT_THAT(ListTree(work.path()), ElementsAre("demo.dat"));
}

}  // namespace
