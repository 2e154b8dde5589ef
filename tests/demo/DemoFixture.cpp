#include "DemoFixture.h"

#include <algorithm>
#include <cstdlib>

#include "gfx/D3D11Device.h"
#include "platform/clock.h"
#include "platform/dxgi/unknown.h"
#include "platform/message_box.h"
#include "support/GpuTestDevice.h"

namespace demo_test {

namespace fs = std::filesystem;

fs::path StagedData() {
  const char* binary = std::getenv("PULSAR_BINARY_DIR");
  return fs::path(binary ? binary : ".") / "stage" / "engine_data";
}

void DemoFixture::SetUp() {
  if (!fs::exists(StagedData() / "loading.jpg")) GTEST_SKIP() << "no staged data at " << StagedData();
  fs::copy(StagedData(), directory.path() / "engine_data", fs::copy_options::recursive);
  platform::UseManualClock(0);
  timer.Initialize();
  platform::TakeShownMessageBoxes();
  liveBefore = IUnknown::LiveObjectCount();
}

void DemoFixture::TearDown() {
  demo.Shutdown();
  if (window) platform::Window::Destroy(window);
  platform::UseSteadyClock();
}

void DemoFixture::Open(int w, int h) {
  width = w;
  height = h;
  window = testing_support::CreateTestWindow(w, h);
  ASSERT_NE(window, nullptr);
}

bool DemoFixture::InitializeDemo() { return demo.Initialize(width, height, false, false, 60, window, &timer, keys); }

void DemoFixture::FrameAt(int64_t t) {
  platform::SetManualClock(t);
  timer.Frame();
  ASSERT_TRUE(demo.Frame(timer.fps));
}

std::vector<uint8_t> DemoFixture::Pixels() {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  if (!demo.m_pD3D11->GetSwapChain()->ReadBackBuffer(pixels.data())) pixels.clear();
  return pixels;
}

int DemoFixture::Brightest() {
  int brightest = 0;
  const std::vector<uint8_t> pixels = Pixels();
  for (size_t i = 0; i < pixels.size(); ++i)
    if (i % 4 != 3) brightest = std::max<int>(brightest, pixels[i]);
  return brightest;
}

void SmallShowFixture::SetUp() {
  DemoFixture::SetUp();
  if (IsSkipped()) return;
  Open(160, 90);
  ASSERT_TRUE(InitializeDemo());
}

}  // namespace demo_test
