#include <gtest/gtest.h>

#include <algorithm>

#include "GeneratedSceneProbe.h"
#include "platform/d3dx/DecodedImage.h"

namespace {

// The captions of the cell, jellyfish and face scenes as the build staged them, decoded by the
// show's own image reader.
TEST(CaptionFilesTest, MiddleScenesCaptionsAreWhiteTextOnClearGroundAtTheBottomStripsShape) {
  for (const char* name : {"text_zelle.png", "text_qualle.png", "text_face.png"}) {
    SCOPED_TRACE(name);
    platform::d3dx::DecodedImage image;
    ASSERT_TRUE(platform::d3dx::DecodeImageFile((scene_probe::StagedData() / name).string(), image));
    ASSERT_EQ(image.format, platform::d3dx::ImageFormat::R8G8B8A8_UNORM);
    // The right half of the bottom fifth of a 16:9 screen: 4.4 : 1.
    EXPECT_NEAR(static_cast<double>(image.width) / image.height, 4.4, 0.05);
    const platform::d3dx::ImageLevel& level = image.Level(0, 0);
    auto at = [&](uint32_t x, uint32_t y) { return &image.data[level.offset + y * level.rowPitch + x * 4]; };
    uint32_t left = image.width, right = 0, top = image.height, bottom = 0, white = 0;
    for (uint32_t y = 0; y < image.height; ++y)
      for (uint32_t x = 0; x < image.width; ++x) {
        const uint8_t* p = at(x, y);
        if (p[3] == 0) continue;
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
        if (p[3] > 240 && p[0] > 240 && p[1] > 240 && p[2] > 240) ++white;
      }
    // Clear ground: the corners are fully transparent; the text and its shadow keep a margin.
    EXPECT_EQ(at(0, 0)[3], 0);
    EXPECT_EQ(at(image.width - 1, image.height - 1)[3], 0);
    const uint32_t margin = image.height / 20;
    EXPECT_GE(left, margin);
    EXPECT_GE(top, margin);
    EXPECT_LT(right, image.width - margin);
    EXPECT_LT(bottom, image.height - margin);
    // The text is there, large and white.
    EXPECT_GT(right - left, image.width / 3);
    EXPECT_GT(white, image.width * image.height / 50);
  }
}

}  // namespace
