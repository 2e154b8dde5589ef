// The keyed show data as the Demo attaches it: what each quad shows at the Parts' instants,
// each scene's events and settings, and the schedule's edges.
#include <gtest/gtest.h>

#include <algorithm>

#include "demo/ShowData.h"
#include "scene/Scene.h"

namespace {

// Alpha (and corners) a quad's keys give at t, as the timeline's keyed draw sees them.
struct Shown {
  bool drawn = false;
  QuadAnimatedValues values;
};

Shown At(const std::vector<QuadKeyframe>& keys, int64_t t, bool dynamic = false) {
  Shown shown;
  shown.drawn = ApplyQuadKeyframes(keys, t, dynamic, shown.values);
  return shown;
}

TEST(ShowData, BlackFaderReachesBlackAt197000AndStaysUntilTheEnd) {
  const auto keys = show::BlackFaderKeyframes();
  EXPECT_FALSE(At(keys, 193149).drawn);
  EXPECT_FLOAT_EQ(At(keys, 193150).values.alpha, 0.0f);
  for (int64_t t : {197000, 199999, 204200, 205000}) {
    ASSERT_TRUE(At(keys, t).drawn) << t;
    EXPECT_FLOAT_EQ(At(keys, t).values.alpha, 1.0f) << t;
  }
}

TEST(ShowData, FlasherHasThirtyRegularFlashesFrom135547To155557) {
  const auto keys = show::FlasherKeyframes();
  ASSERT_EQ(keys.size(), 80u);
  std::vector<int64_t> regular;
  for (const QuadKeyframe& key : keys)
    if (key.end - key.start == 50 && key.start >= 135547 && key.start <= 156000) regular.push_back(key.start);
  ASSERT_EQ(regular.size(), 30u);
  EXPECT_EQ(regular.front(), 135547);
  EXPECT_EQ(regular.back(), 155557);
  for (size_t i = 1; i < regular.size(); ++i) EXPECT_EQ(regular[i] - regular[i - 1], 690);
  // The first is hidden under the scene's opening flash, listed before it; the others start at
  // half strength and are gone at their end, with nothing drawn between them.
  EXPECT_GT(At(keys, 135547).values.alpha, 0.5f);
  EXPECT_FLOAT_EQ(At(keys, 136237).values.alpha, 0.5f);
  EXPECT_FLOAT_EQ(At(keys, 136287).values.alpha, 0.0f);
  EXPECT_FALSE(At(keys, 136300).drawn);
  // The only fade-up of the list: it ramps into the tunnel.
  EXPECT_FLOAT_EQ(At(keys, 20750).values.alpha, 0.0f);
  EXPECT_FLOAT_EQ(At(keys, 23400).values.alpha, 1.1f);
}

TEST(ShowData, CaptionsSlideInHoldAndSlideOut) {
  // The jellyfish caption's hold starts before its slide-in ends; the slide-in, added first,
  // still moves it at 94700.
  const auto qualle = show::CaptionKeyframes(cue::kCaptions[3]);
  ASSERT_EQ(qualle.size(), 3u);
  const Shown sliding = At(qualle, 94700, true);
  ASSERT_TRUE(sliding.drawn);
  EXPECT_GT(sliding.values.corners[0].x, 50.0f);
  EXPECT_LT(sliding.values.corners[0].x, 100.0f);
  EXPECT_FLOAT_EQ(sliding.values.corners[0].y, 80.0f);
  EXPECT_FLOAT_EQ(sliding.values.corners[3].y, 100.0f);
  EXPECT_FLOAT_EQ(sliding.values.corners[3].x - sliding.values.corners[0].x, 50.0f);
  EXPECT_FLOAT_EQ(At(qualle, 94800, true).values.corners[0].x, 50.0f);
  EXPECT_FLOAT_EQ(At(qualle, 99320, true).values.corners[0].x, 50.0f);
  EXPECT_FLOAT_EQ(At(qualle, 100070, true).values.corners[0].x, 100.0f);
  EXPECT_FALSE(At(qualle, 100071, true).drawn);
  EXPECT_FLOAT_EQ(At(qualle, 96000, true).values.texCoords[3].x, 1.0f);

  const auto credits = show::CreditsKeyframes();
  EXPECT_FLOAT_EQ(At(credits, 197000, true).values.alpha, 1.1f);
  EXPECT_FLOAT_EQ(At(credits, 197000, true).values.corners[3].x, 100.0f);
  EXPECT_FLOAT_EQ(At(credits, 205000, true).values.alpha, 0.0f);
}

TEST(ShowData, EachSceneGetsItsOwnEventsAndSettings) {
  const RenderContext context;
  auto cued = [&](int32_t index) {
    auto scene = std::make_unique<Scene>(context);
    scene->cameraUpFollowsRotation = true;
    show::ApplySceneCues(*scene, index);
    return scene;
  };
  // No event of another scene and no empty event slips into the blob's list: the last event
  // sets 1.9 at 151750.
  const auto blob = cued(0);
  ASSERT_EQ(blob->speedEvents.size(), 4u);
  EXPECT_EQ(blob->speedEvents.front().time, 135150);
  EXPECT_EQ(blob->speedEvents.front().jumpFrame, 0);
  EXPECT_EQ(blob->speedEvents.back().time, 151750);
  EXPECT_FLOAT_EQ(blob->speedEvents.back().speed, 1.9f);
  EXPECT_EQ(blob->speedEvents.back().jumpFrame, -1);
  ASSERT_EQ(blob->shakeEvents.size(), 7u);
  EXPECT_EQ(blob->shakeEvents[6].start, 137974 + 6 * 2760);
  EXPECT_FLOAT_EQ(blob->shakeEvents[6].amplitude, 140.0f);
  EXPECT_TRUE(blob->cameraUpFollowsRotation);  // no setting: the loader's value stays

  const auto zelle = cued(1);
  EXPECT_FALSE(zelle->cameraUpFollowsRotation);
  EXPECT_EQ(zelle->speedEvents[2].jumpFrame, 150);
  const auto magnet = cued(4);
  ASSERT_EQ(magnet->speedEvents.size(), 12u);
  EXPECT_FLOAT_EQ(magnet->speedEvents.back().speed, 0.0f);
  EXPECT_EQ(magnet->speedEvents.back().jumpFrame, 249);
  const auto soft = cued(9);
  ASSERT_EQ(soft->rollEvents.size(), 2u);
  EXPECT_FLOAT_EQ(soft->rollEvents[1].degrees, -15.0f);
  EXPECT_EQ(cued(3)->shakeEvents.size(), 3u);
  for (int32_t flag : {5, 6, 7, 8}) EXPECT_TRUE(cued(flag)->speedEvents.empty()) << flag;

  size_t total = 0;
  for (int32_t index = 0; index < show::kSceneCount; ++index) total += cued(index)->speedEvents.size();
  EXPECT_EQ(total, 30u);
}

TEST(ShowData, ScheduleEdgesAndTheScenesEachTimeUpdates) {
  EXPECT_EQ(show::ScheduledScene(23499), 5);
  EXPECT_EQ(show::ScheduledScene(23500), 7);
  EXPECT_EQ(show::ScheduledScene(179299), 9);
  EXPECT_EQ(show::ScheduledScene(179300), 10);
  EXPECT_EQ(show::ScheduledScene(204200), 10);
  EXPECT_EQ(show::SlotStart(50000), 47000);
  EXPECT_TRUE(show::ScenesUpdatedAt(9699).empty());
  EXPECT_EQ(show::ScenesUpdatedAt(9700), std::vector<int32_t>{5});
  EXPECT_EQ(show::ScenesUpdatedAt(15200), std::vector<int32_t>{6});
  EXPECT_EQ(show::ScenesUpdatedAt(30000), (std::vector<int32_t>{7, 8}));
  EXPECT_EQ(show::ScenesUpdatedAt(140000), std::vector<int32_t>{0});
  EXPECT_STREQ(show::SceneFileName(10), "logo.c4e");
}

}  // namespace
