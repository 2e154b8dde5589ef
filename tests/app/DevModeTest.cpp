// Development mode's keys through the whole show: pause with the music, seeks that land on the
// picture of a late start, scene starts, the overlay flag; and the show without --dev ignoring
// them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "DevShowFixture.h"
#include "app/DevControls.h"
#include "app/Timer.h"
#include "demo/Demo.h"
#include "scene/SceneLoader.h"
#include "sound/Sound.h"

namespace {

using dev_test::DevShowFixture;

// The music frame a show time moves it to.
int64_t MusicFrameAt(int64_t showTime) {
  return static_cast<int64_t>(static_cast<double>(showTime) / 1000.0 * Sound::kFrequency);
}

class DevModeTest : public DevShowFixture {};

// Without a sound device the picture depends on nothing but show time and the key presses.
class SilentDevModeTest : public DevShowFixture {
 protected:
  ScopedEnvironment noAudio{"SDL_AUDIODRIVER", "none-at-all"};
};

TEST_F(DevModeTest, PauseStopsShowTimeAndTheMusicWhichResumeTogether) {
  ASSERT_TRUE(Start(Options(50000)));
  Frames(5);
  const int64_t pausedAt = Press(SDLK_SPACE);
  EXPECT_EQ(pausedAt, 50000 + 4 * kStep) << "the picture stands on the frame last shown";
  ASSERT_TRUE(app->devControls()->paused());
  frameTimes.clear();
  Frames(6);
  for (int64_t t : frameTimes) EXPECT_EQ(t, pausedAt);
  EXPECT_EQ(app->timer()->delta, 0);

  Sound* sound = app->demo()->m_pSound;
  ASSERT_NE(sound->stream, 0u) << "the dummy audio device plays the music";
  const int64_t heard = sound->PositionFrames();
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_EQ(sound->PositionFrames(), heard) << "the music stands still while paused";
  EXPECT_EQ(heard, MusicFrameAt(pausedAt)) << "to the sample where the picture stopped";

  EXPECT_EQ(Press(SDLK_SPACE), pausedAt + kStep) << "the show goes on from where it stood";
  EXPECT_FALSE(app->devControls()->paused());
  Frames(3);
  EXPECT_EQ(Now(), frameTimes[frameTimes.size() - 4] + 3 * kStep);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_GT(sound->PositionFrames(), heard) << "and the music with it";
}

TEST_F(DevModeTest, PageKeysGoToSceneStartsHomeToZeroArrowsBySecondsAndBars) {
  ASSERT_TRUE(Start(Options(50000)));
  Frames(1);
  EXPECT_EQ(Press(SDLK_PAGEDOWN), 69000);
  EXPECT_EQ(app->demo()->m_nScene, 1) << "zelle";
  EXPECT_EQ(Press(SDLK_PAGEDOWN), 91000);
  EXPECT_EQ(Press(SDLK_PAGEUP), 69000) << "from 91 s: the previous scene";
  Frames(30);  // more than a second into zelle
  EXPECT_EQ(Press(SDLK_PAGEUP), 69000) << "well inside a scene: its own start";
  EXPECT_EQ(Press(SDLK_PAGEUP), 47000) << "just after a start: the one before";

  int64_t before = Now();
  int64_t landed = Press(SDLK_RIGHT, true);
  // Shift's own pass comes first.
  EXPECT_EQ(landed, before + kStep + DevControls::kBar);
  before = Now();
  EXPECT_EQ(Press(SDLK_LEFT), before - DevControls::kSecond);
  before = Now();
  EXPECT_EQ(Press(SDLK_RIGHT), before + DevControls::kSecond);

  EXPECT_EQ(Press(SDLK_HOME), 0);
  EXPECT_EQ(Press(SDLK_LEFT), 0) << "never before the start";
  EXPECT_EQ(Press(SDLK_PAGEUP), 0);
}

TEST_F(DevModeTest, SeeksStopAtTheEndWhereTheShowHolds) {
  ShowOptions options = Options(200000);
  options.endAtMs = 201000;
  ASSERT_TRUE(Start(options));
  Frames(1);
  EXPECT_EQ(Press(SDLK_PAGEDOWN), 201000) << "no scene starts after the logo: the end";
  frameTimes.clear();
  Frames(5);
  for (int64_t t : frameTimes) EXPECT_EQ(t, 201000) << "held at the end instead of closing";
  EXPECT_TRUE(app->devControls()->paused());
  EXPECT_EQ(Press(SDLK_LEFT), 200000);
  EXPECT_TRUE(app->devControls()->paused()) << "a seek keeps the pause";
  EXPECT_EQ(Press(SDLK_SPACE), 200000 + kStep);
}

TEST_F(DevModeTest, DTogglesTheOverlayAndTheTitleSaysWhereTheShowIs) {
  ASSERT_TRUE(Start(Options(71000)));
  EXPECT_EQ(app->demo()->m_bDebugView, 0);
  Press(SDLK_d);
  EXPECT_NE(app->demo()->m_bDebugView, 0);
  const int64_t pausedAt = Press(SDLK_SPACE);
  ASSERT_EQ(pausedAt, 71000 + kStep);
  const std::string title = app->devControls()->Title(16.7, "c4e_PS.hlsl:3: error: X\nmore");
  EXPECT_EQ(title, "Pulsar  1:11.040  zelle  16.7 ms  paused  |  c4e_PS.hlsl:3: error: X");
  Press(SDLK_d);
  EXPECT_EQ(app->demo()->m_bDebugView, 0);
  // The title is rewritten a few times a second.
  for (int i = 0; i < 500 && app->window()->Title().rfind("Pulsar  1:11.040  zelle", 0) != 0; ++i) Frames(1);
  EXPECT_EQ(app->window()->Title().rfind("Pulsar  1:11.040  zelle", 0), 0u) << app->window()->Title();
}

TEST_F(DevModeTest, WithoutDevTheKeysChangeNothing) {
  ASSERT_TRUE(Start(Options(50000, false)));
  EXPECT_EQ(app->devControls(), nullptr);
  Press(SDLK_SPACE);
  Press(SDLK_RIGHT);
  Press(SDLK_d);
  ASSERT_GE(frameTimes.size(), 6u);
  for (size_t i = 0; i < frameTimes.size(); ++i) EXPECT_EQ(frameTimes[i], 50000 + kStep * static_cast<int64_t>(i));
  EXPECT_EQ(app->demo()->m_bDebugView, 0);
}

// A show played to its end and started again from 0 (the long run's second pass) plays
// again: the clock must not keep the time at which the last run finished.
TEST_F(DevModeTest, AShowStartedAgainAfterItsEndPlaysFromTheStart) {
  ShowOptions options = Options(204000, false);
  ASSERT_TRUE(Start(options));
  Frames(100);  // the loop ends by itself at the show's end
  ASSERT_GE(frameTimes.back(), SHOW_LENGTH_MS);
  frameTimes.clear();
  app->StartShowAt(0, true);
  Frames(3);
  EXPECT_EQ(frameTimes, (std::vector<int64_t>{0, kStep, 2 * kStep}));
}

struct ShownFrame {
  std::vector<uint8_t> pixels;
  int64_t sceneTime = 0;
  int32_t frame = 0;
  int32_t camera = 0;
};


// Back from 60 s (past the magnet's jumps and reversals) to its start, and on to the zelle
// with its turning particles: each time the very picture a late start gives.
ShownFrame Shown(std::vector<uint8_t> pixels, const Application& app) {
  const Demo& demo = *app.demo();
  const Scene& scene = *demo.m_pScenes->scenes[static_cast<size_t>(demo.m_nScene)];
  return {std::move(pixels), scene.time, scene.frame, scene.currentCamera};
}

TEST_F(SilentDevModeTest, ASeekShowsWhatALateStartShows) {
  ASSERT_TRUE(Start(Options(60000)));
  Frames(10);
  ASSERT_EQ(Press(SDLK_PAGEUP), 47000);
  while (Now() < 47000 + 9 * kStep) Frames(1);
  const ShownFrame back = Shown(Pixels(), *app);
  ASSERT_EQ(Press(SDLK_PAGEDOWN), 69000);
  const int64_t forward = Press(SDLK_RIGHT, true);
  ASSERT_GT(forward, 69000 + DevControls::kBar);
  while (Now() < forward + 8 * kStep) Frames(1);
  const ShownFrame ahead = Shown(Pixels(), *app);

  for (const auto& [start, frames, seen] : {std::tuple{int64_t{47000}, 10, &back}, std::tuple{forward, 9, &ahead}}) {
    ASSERT_TRUE(Start(Options(start)));
    Frames(frames);
    const ShownFrame late = Shown(Pixels(), *app);
    EXPECT_EQ(late.sceneTime, seen->sceneTime) << start;
    EXPECT_EQ(late.frame, seen->frame) << start;
    EXPECT_EQ(late.camera, seen->camera) << start;
    ASSERT_EQ(late.pixels.size(), seen->pixels.size());
    EXPECT_GT(*std::max_element(seen->pixels.begin(), seen->pixels.end()), 40) << "a picture, not an empty frame";
    size_t differing = 0;
    for (size_t i = 0; i < late.pixels.size(); ++i) differing += late.pixels[i] != seen->pixels[i] ? 1 : 0;
    EXPECT_EQ(differing, 0u) << "bytes that differ from the late start at " << start;
  }
}

}  // namespace
