// The debug overlay through the real Demo: the lines as drawn (read through --print-overlay's
// output), which scene line 2 describes, the first second's frame rate, the lens at the keyed
// instants, and frames that stay bit-identical while the flag is off.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "DemoFixture.h"
#include "diag/OverlayText.h"
#include "gfx/D3D11Device.h"
#include "scene/Scene.h"
#include "support/GpuTestDevice.h"

namespace {

class DebugOverlayTest : public demo_test::SmallShowFixture {
 protected:
  // The three lines the frame at t printed.
  std::vector<std::string> PrintedLines(int64_t t) {
    demo.m_bPrintOverlay = true;
    testing::internal::CaptureStdout();
    FrameAt(t);
    const std::string printed = testing::internal::GetCapturedStdout();
    demo.m_bPrintOverlay = false;
    std::vector<std::string> lines;
    std::istringstream stream(printed);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
  }

  std::string Statistics(int index) { return demo.SceneAt(index)->StatisticsLine(); }

  // Inside the text band or one of the four previews (presets 12 to 15, in percent).
  bool InsideOverlay(int x, int y) const {
    if (y < 40) return true;
    const float px = 100.0f * static_cast<float>(x) / static_cast<float>(width);
    const float py = 100.0f * static_cast<float>(y) / static_cast<float>(height);
    const bool column = (px >= 4.0f && px <= 31.0f) || (px >= 69.0f && px <= 96.0f);
    const bool row = (py >= 4.0f && py <= 31.0f) || (py >= 69.0f && py <= 96.0f);
    return column && row;
  }
};

TEST_F(DebugOverlayTest, LineTwoDescribesTheSceneTheScheduleNumbers) {
  // The tunnel is number 7 in both halves: tunnel1.c4e, never its second file.
  for (const int64_t t : {30000, 40000}) {
    const std::vector<std::string> lines = PrintedLines(t);
    ASSERT_EQ(lines.size(), 3u) << t;
    EXPECT_EQ(demo.m_nScene, 7);
    EXPECT_EQ(lines[1], Statistics(7)) << t;
    EXPECT_EQ(lines[1].rfind("scene:" + demo.SceneAt(7)->name + ",", 0), 0u) << lines[1];
    EXPECT_EQ(demo.SceneAt(7)->name, "tunnel1");
    EXPECT_NE(lines[1], Statistics(8));
  }
  // The soft scene is number 9: soft.c4e, at the frame and time it has reached.
  const std::vector<std::string> soft = PrintedLines(161000);
  ASSERT_EQ(soft.size(), 3u);
  EXPECT_EQ(demo.m_nScene, 9);
  EXPECT_EQ(soft[1], Statistics(9));
  EXPECT_EQ(soft[1].rfind("scene:soft,", 0), 0u) << soft[1];
  EXPECT_NE(soft[1].find(", time:" + std::to_string(demo.SceneAt(9)->time) + "ms"), std::string::npos);
}

TEST_F(DebugOverlayTest, TheFirstSecondCountsNoFramesPerSecond) {
  for (const int64_t t : {0, 250, 500, 750, 999}) {
    const std::vector<std::string> lines = PrintedLines(t);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find(" MB), FPS:0 bass.dll:"), std::string::npos) << t << ": " << lines[0];
    EXPECT_NE(lines[0].find(" time:" + std::to_string(t) + " "), std::string::npos) << lines[0];
  }
  // The window closes at 1000 ms with the six frames drawn in it.
  const std::vector<std::string> lines = PrintedLines(1000);
  EXPECT_NE(lines[0].find(" MB), FPS:6 bass.dll:"), std::string::npos) << lines[0];
}

TEST_F(DebugOverlayTest, TheLineShowsTheLensAtTheKeyedInstants) {
  // No key covers 61000: the lens keeps what the key ending at 60000 left, as in a run that
  // passes through it.
  const struct {
    int64_t before;
    int64_t t;
    const char* fov;
  } kInstants[] = {{46960, 47000, " fov:10 shadow:100, 2500"},
                   {60000, 61000, " fov:45 shadow:100, 2500"},
                   {67960, 68000, " fov:25 shadow:100, 2500"}};
  for (const auto& instant : kInstants) {
    FrameAt(instant.before);
    const std::vector<std::string> lines = PrintedLines(instant.t);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find(" time:" + std::to_string(instant.t) + instant.fov), std::string::npos)
        << instant.t << ": " << lines[0];
    EXPECT_EQ(lines[2].rfind("pp:0=none fractal:0 delta:", 0), 0u) << lines[2];
  }
}

TEST_F(DebugOverlayTest, TheAdapterIsNamedAsTheDeviceDescribesIt) {
  const std::vector<std::string> lines = PrintedLines(5000);
  ASSERT_EQ(lines.size(), 3u);
  const std::string adapter = demo.m_pD3D11->GetVideoCardDescription();
  ASSERT_FALSE(adapter.empty());
  EXPECT_EQ(lines[0].rfind(adapter + " (" + std::to_string(demo.m_pD3D11->GetVideoCardMemory()) + " MB), FPS:", 0), 0u)
      << lines[0];
  if (adapter.rfind("llvmpipe", 0) == 0) {
    EXPECT_EQ(adapter.rfind("llvmpipe (LLVM ", 0), 0u) << adapter;
  }
}

TEST_F(DebugOverlayTest, WithTheFlagOffTheFrameIsUntouched) {
  // A moment without particles or glitch rows: the same show time draws the same frame.
  const int64_t t = 50000;
  FrameAt(t);
  const std::vector<uint8_t> off = Pixels();
  FrameAt(t);
  ASSERT_EQ(Pixels(), off) << "the frame at one show time is not repeatable";

  // Printing runs the overlay's code without drawing.
  PrintedLines(t);
  EXPECT_EQ(Pixels(), off);

  demo.m_bDebugView = 1;
  FrameAt(t);
  const std::vector<uint8_t> on = Pixels();
  demo.m_bDebugView = 0;
  int changedInside = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t i = (static_cast<size_t>(y) * width + x) * 4;
      const bool changed = on[i] != off[i] || on[i + 1] != off[i + 1] || on[i + 2] != off[i + 2];
      if (InsideOverlay(x, y)) {
        changedInside += changed;
      } else {
        ASSERT_FALSE(changed) << "the overlay drew outside its places at " << x << ", " << y;
      }
    }
  EXPECT_GT(changedInside, 500);

  // Off again: nothing of it is left behind.
  FrameAt(t);
  EXPECT_EQ(Pixels(), off);
  testing_support::ExpectNoGLErrors();
}

}  // namespace
