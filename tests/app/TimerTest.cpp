#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace
