#include <gtest/gtest.h>

#include "fx/PostEffect.h"

TEST(PostEffect, NamesFollowTheEffectNumbers) {
  EXPECT_EQ(PostEffectName(0), "none");
  EXPECT_EQ(PostEffectName(static_cast<int32_t>(PostEffect::chromatic_aberration)), "chromatic_aberration");
  EXPECT_EQ(PostEffectName(static_cast<int32_t>(PostEffect::colors)), "colors");
  EXPECT_EQ(PostEffectName(static_cast<int32_t>(PostEffect::bright_pass)), "bright_pass");
  EXPECT_EQ(PostEffectName(static_cast<int32_t>(PostEffect::desaturate)), "desaturate");
  EXPECT_EQ(PostEffectName(static_cast<int32_t>(PostEffect::MAX)), "MAX");
}

TEST(PostEffect, UnnamedNumbersGiveAnEmptyName) {
  for (int32_t effect : {9, 10, 22, 99, -1, 110, 1000}) EXPECT_TRUE(PostEffectName(effect).empty()) << effect;
  for (int32_t effect = kFirstSceneEffect; effect <= kLastSceneEffect; ++effect)
    EXPECT_TRUE(PostEffectName(effect).empty()) << effect;
}
