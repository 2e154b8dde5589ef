#include <gtest/gtest.h>

#include "platform/crt_rand.h"

namespace {

TEST(CrtRand, FollowsTheRuntimeSequenceAndStaysInFifteenBits) {
  platform::srand(1);
  EXPECT_EQ(platform::rand(), 41);
  EXPECT_EQ(platform::rand(), 18467);
  EXPECT_EQ(platform::rand(), 6334);

  // The particle placements are seeded with 1337.
  platform::srand(1337);
  EXPECT_EQ(platform::rand(), 4404);
  EXPECT_EQ(platform::rand(), 25954);
  EXPECT_EQ(platform::rand(), 17763);

  platform::srand(0xDEADBEEF);
  for (int i = 0; i < 100000; ++i) {
    const int value = platform::rand();
    ASSERT_GE(value, 0);
    ASSERT_LE(value, platform::kRandMax);
  }
}

TEST(CrtRand, ReseedingRestartsTheSharedSequence) {
  platform::srand(7);
  const int first = platform::rand();
  const int second = platform::rand();
  platform::srand(7);
  EXPECT_EQ(platform::rand(), first);
  EXPECT_EQ(platform::rand(), second);
}

TEST(CrtRand, CalendarSeedIsTheCurrentTime) {
  // Any time after the year 2020 and before 2200 is plausible.
  EXPECT_GT(platform::time64(), 1577836800);
  EXPECT_LT(platform::time64(), 7258118400);
}

}  // namespace
