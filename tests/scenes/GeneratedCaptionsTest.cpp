// The captions the scene generators wrote into the stage, decoded as the show will see them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include "Caption.h"
#include "GeneratedSceneProbe.h"

namespace {

class GeneratedCaptionsTest : public ::testing::TestWithParam<const char*> {};

TEST_P(GeneratedCaptionsTest, RgbaTextInsideATransparentWideStrip) {
  const std::filesystem::path path = scene_probe::StagedData() / GetParam();
  int width = 0, height = 0, channels = 0;
  stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 0);
  ASSERT_NE(pixels, nullptr) << path;
  EXPECT_EQ(channels, 4) << "captions carry their own alpha";
  EXPECT_NEAR(static_cast<float>(width) / height, 4.4f, 0.01f);
  int x0 = width, x1 = -1, y0 = height, y1 = -1, clear = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const stbi_uc alpha = channels == 4 ? pixels[(y * width + x) * 4 + 3] : 255;
      if (alpha == 0) {
        ++clear;
        continue;
      }
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  stbi_image_free(pixels);
  // Mostly transparent, and the text with its shadow stays off the edges by the margin.
  EXPECT_GT(clear, width * height / 2);
  EXPECT_GE(x0, kit::kCaptionMargin);
  EXPECT_GE(y0, kit::kCaptionMargin);
  EXPECT_LT(x1, width - kit::kCaptionMargin);
  EXPECT_LT(y1, height - kit::kCaptionMargin);
  EXPECT_GT(x1 - x0, width / 3) << "the text is there and readable";
}

INSTANTIATE_TEST_SUITE_P(ShowCaptions, GeneratedCaptionsTest, ::testing::Values("text_tunnel.png", "text_magnet.png", "text_zelle.png",
                                                                       "text_qualle.png", "text_face.png", "text_blob.png",
                                                                       "text_softbodies.png", "text_ozylogo.png"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           return name.substr(5, name.find('.') - 5);
                         });

}  // namespace
