// The frame profile: one line per frame with its passes named by target, in both ways of timing
// the GPU, and nothing recorded outside a frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/FrameProfiler.h"
#include "support/GpuTestDevice.h"
#include "support/TempDirectory.h"

namespace {

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, separator)) fields.push_back(field);
  return fields;
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

class FrameProfilerTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gpu.Create(64, 64));
    if (GetParam()[0] != '\0') {
      setenv("PULSAR_PROFILE_TIMING", GetParam(), 1);
    } else {
      unsetenv("PULSAR_PROFILE_TIMING");
    }
  }
  void TearDown() override { unsetenv("PULSAR_PROFILE_TIMING"); }

  // Some work for the pass under way.
  void Draw() { gpu.Clear(0.5f, 0.25f, 0.125f, 1.0f); }

  TempDirectory directory;
  testing_support::GpuTestDevice gpu;
};

TEST_P(FrameProfilerTest, WritesAFrameLineWithItsPassesInOrder) {
  const std::string path = (directory.path() / "profile.txt").string();
  {
    FrameProfiler profiler;
    ASSERT_TRUE(profiler.Create(path));
    EXPECT_EQ(profiler.UsesTimerQueries(), std::string(GetParam()) != "finish");
    SetActiveFrameProfiler(&profiler);
    ProfilePass("m_pRTT_1_1->Create");  // before any frame: not recorded
    for (int frame = 0; frame < 3; ++frame) {
      profiler.BeginFrame();
      ProfilePass("m_pRTT_1_1->Create");
      Draw();
      ProfilePass("m_pRTT_1_1->Create");  // the same target again continues the pass
      Draw();
      ProfilePass("m_pRTT_16_1->Create");
      Draw();
      profiler.AddCpuSection("director", 0.25);
      profiler.AddCpuSection("director", 0.5);
      {
        const ProfileCpuScope update("update");
        volatile double spin = 0.0;
        for (int i = 0; i < 200000; ++i) spin = spin + i;
      }
      ProfilePass("back buffer");
      Draw();
      profiler.EndFrame(40 * frame, 5);
    }
    EXPECT_EQ(profiler.framesWritten(), 3u);
    profiler.Shutdown();
    EXPECT_EQ(ActiveFrameProfiler(), nullptr);  // a profiler gone is no longer reported to
  }
  ProfilePass("after the profiler");  // must not touch what is gone
  { const ProfileCpuScope update("update"); }  // nor a timed scope
  Draw();                                      // nor the layer's calls

  const std::vector<std::string> lines = Lines(path);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].rfind("# pulsar frame profile", 0), 0u);
  const std::vector<std::string> startup = Split(lines[1], '\t');
  ASSERT_EQ(startup.size(), 2u);
  EXPECT_EQ(startup[0], "startup");
  EXPECT_GT(std::atof(startup[1].c_str()), 0.0);
  for (int frame = 0; frame < 3; ++frame) {
    const std::vector<std::string> fields = Split(lines[2 + frame], '\t');
    ASSERT_EQ(fields.size(), 12u) << lines[2 + frame];
    EXPECT_EQ(fields[0], "frame");
    EXPECT_EQ(fields[1], std::to_string(frame));
    EXPECT_EQ(fields[2], std::to_string(40 * frame));
    EXPECT_EQ(fields[3], "5");
    EXPECT_GE(std::atof(fields[4].c_str()), 0.0);
    const char* names[] = {"m_pRTT_1_1", "m_pRTT_16_1", "back buffer"};
    for (int pass = 0; pass < 3; ++pass) {
      const std::string& item = fields[6 + pass];
      const size_t equals = item.rfind('=');
      ASSERT_NE(equals, std::string::npos) << item;
      EXPECT_EQ(item.substr(0, equals), names[pass]);
      const std::vector<std::string> times = Split(item.substr(equals + 1), '/');
      ASSERT_EQ(times.size(), 2u) << item;
      EXPECT_GE(std::atof(times[0].c_str()), 0.0) << item;
      EXPECT_GE(std::atof(times[1].c_str()), 0.0) << item;
    }
    EXPECT_EQ(fields[9], "cpu:director=0.750");
    // A timed scope and the layer's clears: CPU time that was really spent.
    EXPECT_EQ(fields[10].rfind("cpu:update=", 0), 0u) << fields[10];
    EXPECT_GT(std::atof(fields[10].c_str() + 11), 0.0) << fields[10];
    EXPECT_EQ(fields[11].rfind("cpu:layer=", 0), 0u) << fields[11];
    EXPECT_GT(std::atof(fields[11].c_str() + 10), 0.0) << fields[11];
  }
  testing_support::ExpectNoGLErrors();
}

INSTANTIATE_TEST_SUITE_P(Timing, FrameProfilerTest, ::testing::Values("", "finish"),
                         [](const auto& info) { return std::string(info.param[0] ? "GlFinish" : "TimerQueries"); });

TEST(FrameProfiler, AnUnwritableFileIsAFailure) {
  FrameProfiler profiler;
  EXPECT_FALSE(profiler.Create("/nonexistent-directory/profile.txt"));
  // Frames without a file are harmless.
  profiler.BeginFrame();
  profiler.EndFrame(0, 0);
}

}  // namespace
