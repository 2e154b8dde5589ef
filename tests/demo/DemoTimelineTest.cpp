// The timeline through the real Demo: which scene owns a show time, what the lens, the music
// level and the keyed quads do at the Parts' instants, and starting the show late.
#include <gtest/gtest.h>

#include "DemoFixture.h"
#include "demo/Lens.h"
#include "gfx/ShaderManager.h"
#include "platform/clock.h"
#include "scene/SceneLoader.h"
#include "sound/Sound.h"
#include "support/GpuTestDevice.h"

namespace {

class DemoTimelineTest : public demo_test::SmallShowFixture {
 protected:
  Scene& SceneNumber(int index) { return *demo.m_pScenes->scenes[static_cast<size_t>(index)]; }
  // Starts the show at t as the Application does, then draws that frame.
  void StartLateAt(int64_t t, int64_t frameStep) {
    platform::SetManualClock(t);
    demo.StartAt(t, frameStep);
    timer.Initialize();
    timer.startTime -= t;
    FrameAt(t);
  }
};

TEST_F(DemoTimelineTest, EachSlotStartsAtItsOwnMillisecond) {
  const struct {
    int64_t t;
    int32_t scene;
  } kSlots[] = {{0, 5},      {23499, 5},  {23500, 7},  {46999, 7},  {47000, 4},  {69000, 1},
                {91000, 2},  {113150, 3}, {135150, 0}, {157250, 9}, {179299, 9}, {179300, 10},
                {204200, 10}};
  for (const auto& slot : kSlots) {
    FrameAt(slot.t);
    EXPECT_EQ(demo.m_nScene, slot.scene) << slot.t;
  }
  testing_support::ExpectNoGLErrors();
}

TEST_F(DemoTimelineTest, TheLensFollowsTheLaterKeyAndHoldsThroughTheGap) {
  FrameAt(46000);
  FrameAt(47000);
  EXPECT_FLOAT_EQ(demo.m_pLens->fov, 10.0f);
  FrameAt(60000);
  for (int64_t t = 60000; t <= 63499; t += 500) {
    FrameAt(t);
    EXPECT_FLOAT_EQ(demo.m_pLens->fov, 45.0f) << t;
  }
  FrameAt(68000);
  EXPECT_FLOAT_EQ(demo.m_pLens->fov, 25.0f);
}

TEST_F(DemoTimelineTest, TheMusicLevelIsHandedOverAtMostEvery34Milliseconds) {
  FrameAt(50000);
  ASSERT_EQ(demo.m_lastSample, 50000);
  PostProcessShader& post = *demo.m_pSM->postProcessShader;
  EXPECT_FLOAT_EQ(post.audioLevel, demo.m_pSound->peak);
  // A level no music gives shows whether a frame handed a new one over.
  post.audioLevel = -1.0f;
  FrameAt(50020);
  EXPECT_FLOAT_EQ(post.audioLevel, -1.0f);
  FrameAt(50033);
  EXPECT_FLOAT_EQ(post.audioLevel, -1.0f);
  EXPECT_EQ(demo.m_lastSample, 50000);
  FrameAt(50034);
  EXPECT_EQ(demo.m_lastSample, 50034);
  EXPECT_FLOAT_EQ(post.audioLevel, demo.m_pSound->peak);
}

TEST_F(DemoTimelineTest, TheFlagsAppearAt9700AndChangeAt15200) {
  FrameAt(9699);
  EXPECT_LE(Brightest(), 8) << "black (under the look's grain) before the first flag";
  const int64_t first = SceneNumber(5).time, second = SceneNumber(6).time;
  FrameAt(9700);
  EXPECT_GT(Brightest(), 60);
  EXPECT_NE(SceneNumber(5).time, first);
  EXPECT_EQ(SceneNumber(6).time, second);
  const int64_t firstAtEnd = SceneNumber(5).time;
  FrameAt(15200);
  EXPECT_EQ(SceneNumber(5).time, firstAtEnd);
  EXPECT_NE(SceneNumber(6).time, second);
  EXPECT_GT(Brightest(), 60);
}

TEST_F(DemoTimelineTest, KeyedQuadsAtTheirEdges) {
  FrameAt(94700);
  const float x = demo.m_pQuadText_Qualle->currentCorners[0].x;
  EXPECT_GT(x, 50.0f) << "the jellyfish caption is still sliding in";
  EXPECT_LT(x, 100.0f);
  for (int64_t t : {197000, 200000, 204200}) {
    FrameAt(t);
    EXPECT_FLOAT_EQ(demo.m_pQuadFaderBlack->alpha, 1.0f) << t;
  }
  EXPECT_EQ(demo.m_pQuadFlasher->keyframes.size(), 80u);
}

// A frame reached by starting late shows the scene where a run from 0 has it: same clock,
// frame and camera, here inside the magnet's backwards run.
TEST_F(DemoTimelineTest, StartingLateMatchesARunFromTheBeginning) {
  constexpr int64_t kStep = 40, kLate = 52000;
  for (int64_t t = 0; t <= kLate; t += kStep) FrameAt(t);
  ASSERT_EQ(demo.m_nScene, 4);
  const Scene& full = SceneNumber(4);
  const int64_t time = full.time;
  const int32_t frame = full.frame, camera = full.currentCamera;
  const D3DXMATRIX view = full.RenderView();
  demo.Shutdown();

  Demo late;
  platform::UseManualClock(0);
  Timer lateTimer;
  ASSERT_TRUE(late.Initialize(width, height, false, false, 60, window, &lateTimer, keys));
  late.StartAt(kLate, kStep);
  lateTimer.Initialize();
  lateTimer.startTime -= kLate;
  lateTimer.Frame();
  ASSERT_EQ(lateTimer.elapsed, kLate);
  late.Frame(0);
  EXPECT_EQ(late.m_nScene, 4);
  const Scene& started = *late.m_pScenes->scenes[4];
  EXPECT_EQ(started.time, time);
  EXPECT_EQ(started.frame, frame);
  EXPECT_EQ(started.currentCamera, camera);
  EXPECT_EQ(started.RenderView(), view);
  late.Shutdown();
}

// The cell's shells turn only while their scene runs; a late start turns them as far as the
// frames since the scene's start would have.
TEST_F(DemoTimelineTest, StartingLateTurnsTheCellAsFarAsTheFramesBefore) {
  constexpr int64_t kStep = 40, kLate = 70000;
  for (int64_t t = 68960; t <= kLate; t += kStep) FrameAt(t);
  ASSERT_EQ(demo.m_nScene, 1);
  const float turned = demo.m_zelleAngle;
  ASSERT_GT(turned, 0.0f);
  EXPECT_EQ(demo.m_blobAngle, 0.0f);
  demo.Shutdown();

  Demo late;
  Timer lateTimer;
  ASSERT_TRUE(late.Initialize(width, height, false, false, 60, window, &lateTimer, keys));
  late.StartAt(kLate, kStep);
  EXPECT_FLOAT_EQ(late.m_zelleAngle, turned);
  EXPECT_EQ(late.m_blobAngle, 0.0f);
  late.StartAt(136000, kStep);
  EXPECT_GT(late.m_blobAngle, 0.0f) << "the blob's glyphs turned through the frames since 135150";
  late.Shutdown();
}

// A late start, then played past the magnet's jumps and reversals and on into the zelle,
// rewound and started late again: the same scene state as the first late start.
TEST_F(DemoTimelineTest, RewindingAndStartingAgainIsAFreshLateStart) {
  constexpr int64_t kStep = 40, kLate = 52000;
  StartLateAt(kLate, kStep);
  const Scene& magnet = SceneNumber(4);
  const int64_t time = magnet.time;
  const int32_t frame = magnet.frame, camera = magnet.currentCamera;
  const D3DXMATRIX view = magnet.RenderView();

  for (int64_t t = kLate + kStep; t <= 60000; t += kStep) FrameAt(t);
  FrameAt(80000);  // the zelle turns its particles
  ASSERT_TRUE(magnet.speedEvents[3].fired);
  demo.Rewind();
  for (const auto& scene : demo.m_pScenes->scenes) {
    EXPECT_EQ(scene->time, 0);
    EXPECT_EQ(scene->currentCamera, 0);
    EXPECT_EQ(scene->speed, 1.0f);
    for (const SpeedEvent& event : scene->speedEvents) EXPECT_FALSE(event.fired);
  }
  EXPECT_EQ(demo.m_zelleAngle, 0.0f);
  EXPECT_FLOAT_EQ(demo.m_pLens->fov, kLensStartFov);

  StartLateAt(kLate, kStep);
  EXPECT_EQ(magnet.time, time);
  EXPECT_EQ(magnet.frame, frame);
  EXPECT_EQ(magnet.currentCamera, camera);
  EXPECT_EQ(magnet.RenderView(), view);
}

// Past the hand-over to the sound glitch, the first frame of a late start draws through the
// entries a run from 0 has there. The array's zeros from creation turned the soft bodies black.
TEST_F(DemoTimelineTest, StartingLatePastTheGlitchHandOverDrawsTheSceneInItsFirstFrame) {
  constexpr int64_t kLate = 163000;
  const auto meanLevel = [this] {
    const std::vector<uint8_t> pixels = Pixels();
    double sum = 0.0;
    for (size_t i = 0; i < pixels.size(); ++i)
      if (i % 4 != 3) sum += pixels[i];
    return sum / static_cast<double>(pixels.size() / 4 * 3);
  };
  StartLateAt(kLate, 40);
  ASSERT_EQ(demo.m_nScene, 9);
  const float* entries = demo.m_pSM->postProcessShader->effectArray.get();
  for (int entry = 0; entry < width; ++entry) {
    ASSERT_GE(entries[4 * entry], 0.9f) << entry;
    ASSERT_GE(entries[4 * entry + 1], 0.9f) << entry;
    ASSERT_GE(entries[4 * entry + 2], 0.9f) << entry;
  }
  EXPECT_FLOAT_EQ(demo.m_pSM->postProcessShader->audioLevel, demo.m_pSound->peak);
  const double first = meanLevel();
  FrameAt(kLate + 200);
  EXPECT_GT(first, 0.75 * meanLevel()) << "the first frame is as bright as the scene a moment later";
}

}  // namespace
