#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "ArchiveTestZip.h"
#include "app/Application.h"
#include "app/Timer.h"
#include "platform/clock.h"
#include "support/TempDirectory.h"

namespace {

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

// An Application with its Timer, key table and window, ready for the frame loop.
class FrameLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::UseFixedStepClock(10);
    ASSERT_TRUE(application.InitializeTimer());
    ASSERT_TRUE(application.InitializeWindows());
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override {
    application.Shutdown();
    platform::UseSteadyClock();
  }

  // Runs the loop; records the show time of every frame drawn.
  void RunUntilEnd(int maximumFrames = 100000) {
    application.RunFrames([&](int32_t) {
      frameTimes.push_back(application.timer()->elapsed);
      return static_cast<int>(frameTimes.size()) < maximumFrames;
    });
  }

  ShowOptions options = SmallHeadlessWindow();
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
  ShowOptions options = SmallHeadlessWindow();
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
  std::filesystem::create_directories("engine_data/textures");
  std::ofstream("engine_data/textures/a.png") << "x";
  std::ofstream("keep.txt") << "mine";

  Application never(SmallHeadlessWindow());
  never.Shutdown();
  never.Shutdown();
  EXPECT_EQ(TheApplication(), nullptr);
  EXPECT_FALSE(std::filesystem::exists("engine_data"));
  EXPECT_TRUE(std::filesystem::exists("keep.txt"));

  // Timer and key table only: the loop was never reached.
  Application partial(SmallHeadlessWindow());
  ASSERT_TRUE(partial.InitializeTimer());
  partial.Shutdown();
  EXPECT_EQ(partial.timer(), nullptr);
  EXPECT_EQ(partial.keyStates(), nullptr);
  EXPECT_EQ(partial.window(), nullptr);
}

}  // namespace

namespace {

TEST(ApplicationData, UnpacksTheArchiveBeforeTheWindowAndDeletesItAtShutdown) {
  TempDirectory directory(/*enter=*/true);
  WriteTestZip("demo.dat", {TestFile("engine_data/music.mp3", "not really music"),
                            TestFile("engine_data/shaders/blur_PS.hlsl", "float4 main() : SV_Target;")});
  Application application(SmallHeadlessWindow());
  ASSERT_TRUE(application.InitializeTimer());
  ASSERT_TRUE(application.InitializeWindows());
  EXPECT_EQ(ReadWholeFile("engine_data/music.mp3"), "not really music");
  EXPECT_TRUE(std::filesystem::exists("engine_data/shaders/blur_PS.hlsl"));

  application.Shutdown();
  EXPECT_FALSE(std::filesystem::exists("engine_data"));
  EXPECT_TRUE(std::filesystem::exists("demo.dat"));
}

}  // namespace
