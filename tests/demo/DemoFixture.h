#pragma once
// The real Demo on the archive's staged data, in a scratch working directory, on a manual
// clock: a frame can be drawn at any show time.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "app/Timer.h"
#include "demo/Demo.h"
#include "platform/window.h"
#include "support/TempDirectory.h"

namespace demo_test {

// The archive's staged data, as the build packs it into demo.dat.
std::filesystem::path StagedData();

class DemoFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens the window; the Demo is not yet initialised.
  void Open(int width, int height);
  bool InitializeDemo();
  // Sets the clock to show time t and draws that frame.
  void FrameAt(int64_t t);
  // The back buffer as RGBA rows, top first.
  std::vector<uint8_t> Pixels();
  // The largest colour channel of the back buffer.
  int Brightest();

  int width = 0;
  int height = 0;
  TempDirectory directory{/*enter=*/true};
  platform::Window* window = nullptr;
  Timer timer;
  uint8_t keys[256] = {};
  Demo demo;
  long liveBefore = 0;
};

// The Demo created on a small screen, ready for frames.
class SmallShowFixture : public DemoFixture {
 protected:
  void SetUp() override;
};

}  // namespace demo_test
