#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/Timer.h"
#include "platform/clock.h"

namespace {

class TimerTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::UseSteadyClock(); }
};

TEST_F(TimerTest, StartsAtZeroWithOscillatorsAtRest) {
  platform::UseManualClock(5000);
  Timer timer;
  ASSERT_TRUE(timer.Initialize());
  EXPECT_EQ(timer.elapsed, 0);
  EXPECT_EQ(timer.fps, 0);

  timer.Frame();
  EXPECT_EQ(timer.elapsed, 0);
  EXPECT_EQ(timer.oscSinFast, 0.0f);
  EXPECT_EQ(timer.oscSinSlow, 0.0f);
  EXPECT_EQ(timer.oscCosFast, 1.0f);
  EXPECT_EQ(timer.oscCosSlow, 1.0f);
}

TEST_F(TimerTest, HoldingKeepsTheShowStillAndGoesOnFromThere) {
  platform::UseManualClock(1000);
  Timer timer;
  timer.Initialize();
  platform::SetManualClock(3000);
  timer.Frame();
  ASSERT_EQ(timer.elapsed, 2000);
  for (int64_t clock : {3500, 4200, 9000}) {
    platform::SetManualClock(clock);
    timer.Frame();
    timer.Hold(2000);
    EXPECT_EQ(timer.elapsed, 2000);
    EXPECT_EQ(timer.delta, 0);
    EXPECT_EQ(timer.oscSinSlow, std::sin(2.0f * 0.6f));
  }
  platform::SetManualClock(9040);
  timer.Frame();
  EXPECT_EQ(timer.elapsed, 2040) << "only the time since the last hold counts";
  EXPECT_EQ(timer.delta, 40);
}

TEST_F(TimerTest, FpsWindowClosesAtTheFirstFrameOneSecondLater) {
  platform::UseManualClock(0);
  Timer timer;
  timer.Initialize();
  for (int t = 10; t < 1000; t += 10) {
    platform::SetManualClock(t);
    timer.Frame();
  }
  EXPECT_EQ(timer.fps, 0) << "the window must not close before 1000 ms";
  EXPECT_EQ(timer.frameCount, 99);

  // The frame that closes the window counts in it.
  platform::SetManualClock(1000);
  timer.Frame();
  EXPECT_EQ(timer.fps, 100);
  EXPECT_EQ(timer.frameCount, 0);
  EXPECT_EQ(timer.fpsStamp, 1000);

  // 60 frames per second, window boundary between frames: 60 or 61 per window.
  for (int i = 1; i <= 600; ++i) {
    platform::SetManualClock(1000 + i * 1000 / 60);
    timer.Frame();
    if (timer.frameCount == 0) {
      EXPECT_TRUE(timer.fps == 60 || timer.fps == 61) << timer.fps;
    }
  }
}

TEST_F(TimerTest, FirstDeltaIsTheTimeSinceInitialize) {
  platform::UseManualClock(40000);
  Timer timer;
  timer.Initialize();
  platform::SetManualClock(40250);
  timer.Frame();
  EXPECT_EQ(timer.delta, 250);
  EXPECT_EQ(timer.elapsed, 250);

  // A second Initialize restarts show time but keeps the frame statistics.
  platform::SetManualClock(41000);
  timer.Initialize();
  EXPECT_EQ(timer.startTime, 41000);
  EXPECT_EQ(timer.elapsed, 250);
  EXPECT_EQ(timer.frameCount, 1);
}

TEST_F(TimerTest, ElapsedAndDeltaComeFromTwoReadings) {
  platform::UseFixedStepClock(7);
  Timer timer;
  timer.Initialize();  // reads 0
  timer.Frame();       // reads 7, then 14
  EXPECT_EQ(timer.elapsed, 7);
  EXPECT_EQ(timer.currentTime, 14);
  EXPECT_EQ(timer.delta, 14);
  timer.Frame();  // reads 21, then 28
  EXPECT_EQ(timer.elapsed, 21);
  EXPECT_EQ(timer.delta, 14);
}

TEST_F(TimerTest, OscillatorsFollowShowTimeInSeconds) {
  platform::UseManualClock(0);
  Timer timer;
  timer.Initialize();
  platform::SetManualClock(2500);
  timer.Frame();
  // t = 2.5 s: fast phase 15 rad, slow phase 1.5 rad.
  EXPECT_NEAR(timer.oscSinFast, std::sin(15.0), 1e-5);
  EXPECT_NEAR(timer.oscCosFast, std::cos(15.0), 1e-5);
  EXPECT_NEAR(timer.oscSinSlow, std::sin(1.5), 1e-5);
  EXPECT_NEAR(timer.oscCosSlow, std::cos(1.5), 1e-5);
}

// A run of frames 10 ms apart with the music heard at musicAt(show time) after each.
template <typename MusicAt>
std::vector<int64_t> FollowFrames(Timer& timer, int frames, MusicAt musicAt) {
  std::vector<int64_t> times;
  for (int i = 1; i <= frames; ++i) {
    platform::SetManualClock(i * 10);
    timer.Frame();
    timer.FollowMusic(musicAt(i * 10));
    times.push_back(timer.elapsed);
  }
  return times;
}

TEST_F(TimerTest, ShowTimeCatchesUpWithMusicThatRunsAheadAtOneMillisecondPerHundred) {
  platform::UseManualClock(0);
  Timer timer;
  timer.Initialize();
  // A sound card 30 ms ahead of the processor's clock.
  const std::vector<int64_t> times = FollowFrames(timer, 10000, [](int64_t real) { return real + 30; });
  for (size_t i = 1; i < times.size(); ++i) {
    ASSERT_GE(times[i] - times[i - 1], 10) << "never slower than real time while behind the music";
    ASSERT_LE(times[i] - times[i - 1], 11) << "at most one extra millisecond per step";
  }
  // 26 ms closed (4 are tolerated) within 2.6 s, then left alone.
  EXPECT_EQ(times[400] - 4010, 26);
  EXPECT_EQ(times.back() - 100000, 26);
}

TEST_F(TimerTest, MusicThatFallsBehindSlowsTheShowButNeverTurnsItBack) {
  platform::UseManualClock(0);
  Timer timer;
  timer.Initialize();
  // A music clock that runs 2 % slow, and one frame that reads a position far behind.
  const std::vector<int64_t> times = FollowFrames(timer, 3000, [](int64_t real) {
    return real == 15000 ? real - 900 : real * 98 / 100;
  });
  for (size_t i = 1; i < times.size(); ++i) {
    ASSERT_GE(times[i], times[i - 1]) << "at frame " << i;
    ASSERT_GE(times[i] - times[i - 1], 9) << "slowed by at most one millisecond per step";
  }
  // Slowed by 1 % at most: from 300 ms on, one millisecond for every hundred.
  EXPECT_EQ(times.back(), 30000 - 297);
}

TEST_F(TimerTest, JitterWithinTheToleranceLeavesShowTimeAlone) {
  platform::UseManualClock(0);
  Timer timer;
  timer.Initialize();
  const std::vector<int64_t> times =
      FollowFrames(timer, 1000, [](int64_t real) { return real + ((real / 10) % 2 == 0 ? 4 : -4); });
  for (size_t i = 0; i < times.size(); ++i) ASSERT_EQ(times[i], static_cast<int64_t>(i + 1) * 10);
}

TEST_F(TimerTest, InitializeForgetsTheCorrection) {
  platform::UseManualClock(0);
  Timer timer;
  timer.Initialize();
  FollowFrames(timer, 500, [](int64_t real) { return real + 50; });
  EXPECT_GT(timer.musicCorrection, 0);
  platform::SetManualClock(10000);
  timer.Initialize();
  platform::SetManualClock(10020);
  timer.Frame();
  EXPECT_EQ(timer.elapsed, 20);
}

TEST_F(TimerTest, AHoldKeepsStandingWhileACorrectionIsUnderWay) {
  platform::UseManualClock(0);
  Timer timer;
  timer.Initialize();
  FollowFrames(timer, 100, [](int64_t real) { return real + 50; });
  const int64_t held = timer.elapsed;
  for (int i = 1; i <= 5; ++i) {
    platform::SetManualClock(1000 + i * 10);
    timer.Frame();
    timer.Hold(held);
    EXPECT_EQ(timer.elapsed, held);
  }
  platform::SetManualClock(1060);
  timer.Frame();
  EXPECT_EQ(timer.elapsed, held + 10) << "goes on from where it stood";
}

}  // namespace
