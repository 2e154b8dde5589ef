// The DXGI subset the launcher and the device walk: factory, first adapter and output, the
// two-call mode list.
#include <gtest/gtest.h>

#include "platform/dxgi/dxgi.h"
#include "platform/dxgi/dxgi_overrides.h"
#include "support/DisplayModes.h"
#include "support/GpuTestDevice.h"

namespace {

using testing_support::ModeDesc;

class DxgiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing_support::StartHeadlessVideo());
    ASSERT_EQ(CreateDXGIFactory1(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(&factory)), S_OK);
    ASSERT_EQ(factory->EnumAdapters1(0, &adapter), S_OK);
    ASSERT_EQ(adapter->EnumOutputs(0, &output), S_OK);
  }
  void TearDown() override {
    platform::dxgi::OverrideDisplayModes(std::nullopt);
    if (output != nullptr) output->Release();
    if (adapter != nullptr) adapter->Release();
    if (factory != nullptr) factory->Release();
  }
  IDXGIFactory1* factory = nullptr;
  IDXGIAdapter1* adapter = nullptr;
  IDXGIOutput* output = nullptr;
};

TEST_F(DxgiTest, OnlyTheFirstAdapterExistsAndItNamesTheRenderer) {
  IDXGIAdapter1* second = reinterpret_cast<IDXGIAdapter1*>(1);
  EXPECT_EQ(factory->EnumAdapters1(1, &second), DXGI_ERROR_NOT_FOUND);
  EXPECT_EQ(second, nullptr);
  DXGI_ADAPTER_DESC1 desc;
  ASSERT_EQ(adapter->GetDesc1(&desc), S_OK);
  EXPECT_NE(desc.Description[0], L'\0');
  IDXGIOutput* beyond = nullptr;
  EXPECT_EQ(adapter->EnumOutputs(64, &beyond), DXGI_ERROR_NOT_FOUND);
  DXGI_OUTPUT_DESC outputDesc;
  ASSERT_EQ(output->GetDesc(&outputDesc), S_OK);
  EXPECT_NE(outputDesc.DeviceName[0], L'\0');
}

TEST_F(DxgiTest, ModeListIsCountedThenCopiedAndSaysWhenTheArrayIsShort) {
  platform::dxgi::OverrideDisplayModes(std::vector<DXGI_MODE_DESC>{ModeDesc(800, 600, 60), ModeDesc(1024, 768, 60),
                                                                   ModeDesc(1280, 720, 75)});
  UINT count = 0;
  ASSERT_EQ(output->GetDisplayModeList(DXGI_FORMAT_R8G8B8A8_UNORM, 0, &count, nullptr), S_OK);
  ASSERT_EQ(count, 3u);
  std::vector<DXGI_MODE_DESC> modes(3);
  ASSERT_EQ(output->GetDisplayModeList(DXGI_FORMAT_R8G8B8A8_UNORM, 0, &count, modes.data()), S_OK);
  EXPECT_EQ(modes[2].Width, 1280u);
  EXPECT_EQ(modes[2].RefreshRate.Numerator, 75u);
  count = 2;
  EXPECT_EQ(output->GetDisplayModeList(DXGI_FORMAT_R8G8B8A8_UNORM, 0, &count, modes.data()), DXGI_ERROR_MORE_DATA);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(output->GetDisplayModeList(DXGI_FORMAT_R32G32B32A32_FLOAT, 0, &count, nullptr), S_OK);
  EXPECT_EQ(count, 0u);
}

TEST_F(DxgiTest, TheMachinesModesComeSmallestFirst) {
  UINT count = 0;
  ASSERT_EQ(output->GetDisplayModeList(DXGI_FORMAT_R8G8B8A8_UNORM, DXGI_ENUM_MODES_INTERLACED, &count, nullptr),
            S_OK);
  std::vector<DXGI_MODE_DESC> modes(count);
  ASSERT_EQ(output->GetDisplayModeList(DXGI_FORMAT_R8G8B8A8_UNORM, DXGI_ENUM_MODES_INTERLACED, &count, modes.data()),
            S_OK);
  for (size_t i = 1; i < modes.size(); ++i) {
    EXPECT_LE(modes[i - 1].Width, modes[i].Width);
    EXPECT_EQ(modes[i].RefreshRate.Denominator, 1u);
  }
}

TEST(DxgiModeListFromText, ReadsSizesAndRationalRefreshRatesInOrder) {
  const auto modes = platform::dxgi::ParseDisplayModes("1024x768@60,800x600@60000/1001,800x600@75");
  ASSERT_TRUE(modes.has_value());
  ASSERT_EQ(modes->size(), 3u);
  EXPECT_EQ((*modes)[0].Width, 1024u);
  EXPECT_EQ((*modes)[0].RefreshRate.Denominator, 1u);
  EXPECT_EQ((*modes)[1].Height, 600u);
  EXPECT_EQ((*modes)[1].RefreshRate.Numerator, 60000u);
  EXPECT_EQ((*modes)[1].RefreshRate.Denominator, 1001u);
  EXPECT_EQ((*modes)[2].RefreshRate.Numerator, 75u);
  // A display without modes.
  EXPECT_TRUE(platform::dxgi::ParseDisplayModes("")->empty());
  for (const char* bad : {"1024x768", "1024@60", "x768@60", "1024x768@", "1024x768@60/", "10a4x768@60",
                          "1024x768@60,,800x600@60", "-1x768@60"}) {
    EXPECT_FALSE(platform::dxgi::ParseDisplayModes(bad).has_value()) << bad;
  }
}

}  // namespace
