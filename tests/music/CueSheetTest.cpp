#include <gtest/gtest.h>

#include <algorithm>

#include "demo/CueSheet.h"

namespace {

TEST(CueSheet, ScheduleRunsInOrderAndCoversTheShow) {
  EXPECT_EQ(cue::kSchedule.front().start, 0);
  for (std::size_t i = 0; i + 1 < cue::kSchedule.size(); ++i) {
    EXPECT_LT(cue::kSchedule[i].start, cue::kSchedule[i + 1].start);
    EXPECT_EQ(cue::SlotEnd(i), cue::kSchedule[i + 1].start);
  }
  EXPECT_EQ(cue::SlotEnd(cue::kSchedule.size() - 1), cue::kShowEnd);
  // From the tunnel on, a scene is about eight bars of the beat.
  for (std::size_t i = 1; i + 1 < cue::kSchedule.size(); ++i) {
    const auto length = cue::SlotEnd(i) - cue::kSchedule[i].start;
    EXPECT_NEAR(static_cast<double>(length) / cue::kBar, 8.0, 0.6) << i;
  }
}

TEST(CueSheet, FlasherKeysIncludeTheGeneratedRuns) {
  const auto& keys = cue::kFlasher;
  auto count = [&](cue::Millis from, cue::Millis to) {
    return std::count_if(keys.begin(), keys.end(), [&](const cue::AlphaKey& k) { return k.start >= from && k.start < to; });
  };
  // The blob's thirty pulses of 50 ms every beat, the last one at 155557 ms.
  EXPECT_EQ(count(135547, 156247), 30);
  EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [](const cue::AlphaKey& k) { return k.start == 155557 && k.end == 155607; }));
  // The face's two flashes, 5520 ms apart, 345 ms long.
  EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [](const cue::AlphaKey& k) { return k.start == 129670 && k.end == 130015; }));
  for (const cue::AlphaKey& key : keys) EXPECT_LT(key.start, key.end);
  // The one flash that fades in instead of out leads into the tunnel.
  EXPECT_EQ(std::count_if(keys.begin(), keys.end(), [](const cue::AlphaKey& k) { return k.to > k.from; }), 1);
}

TEST(CueSheet, GlitchWindowsAndShakesRepeatEveryBar) {
  int cell = 0, face = 0;
  for (const cue::GlitchWindow& window : cue::kGlitchWindows) {
    EXPECT_LT(window.start, window.end);
    if (window.stepAndBand == 0) {
      EXPECT_EQ((window.start - 70025) % cue::kBar, 0) << window.start;
    }
    if (window.amplitude == 15.0f) {
      EXPECT_EQ((window.start - 115850) % cue::kBar, 0) << window.start;
    }
    cell += window.stepAndBand == 0;
    face += window.amplitude == 15.0f;
  }
  EXPECT_EQ(cell, 8);
  EXPECT_EQ(face, 8);
  EXPECT_EQ(cue::kShakeEvents[6].start, 137974 + 6 * cue::kBar);
  EXPECT_EQ(cue::kShakeEvents[6].amplitude, 140.0f);
}

}  // namespace
