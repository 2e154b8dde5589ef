// The credits as the archive holds them: a full-screen RGBA PNG of white and gold text on
// transparent black (the captions are checked with every other scene's).
#include <gtest/gtest.h>

// The test reads the files back with its own private copy of the PNG reader.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <algorithm>
#include <vector>

#include "Credits.h"
#include "FinaleContent.h"

namespace {

struct Decoded {
  int width = 0, height = 0, channels = 0;
  std::vector<uint8_t> rgba;
  // The smallest box around every texel with any coverage; empty when x1 < x0.
  int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
};

Decoded Decode(const std::string& name) {
  Decoded d;
  const std::string path = (FinaleDirectory() / name).string();
  unsigned char* pixels = stbi_load(path.c_str(), &d.width, &d.height, &d.channels, 4);
  if (pixels == nullptr) return d;
  d.rgba.assign(pixels, pixels + static_cast<size_t>(d.width) * d.height * 4);
  stbi_image_free(pixels);
  d.x0 = d.width, d.y0 = d.height;
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x)
      if (d.rgba[(static_cast<size_t>(y) * d.width + x) * 4 + 3] > 0) {
        d.x0 = std::min(d.x0, x), d.x1 = std::max(d.x1, x);
        d.y0 = std::min(d.y0, y), d.y1 = std::max(d.y1, y);
      }
  return d;
}

TEST(CreditsFileTest, FullScreenTextOnTransparentBlack) {
  const Decoded credits = Decode("text_credits.png");
  ASSERT_EQ(credits.channels, 4);
  ASSERT_EQ(credits.width, logo::kCreditsWidth);
  ASSERT_EQ(credits.height, logo::kCreditsHeight);
  EXPECT_NEAR(static_cast<float>(credits.width) / credits.height, 16.0f / 9.0f, 0.01f);
  // Every transparent texel is black, so no fringe shows over the black fade.
  for (size_t i = 0; i < credits.rgba.size(); i += 4)
    if (credits.rgba[i + 3] == 0) {
      ASSERT_EQ(credits.rgba[i] + credits.rgba[i + 1] + credits.rgba[i + 2], 0);
    }
  ASSERT_LE(credits.x0, credits.x1);
  EXPECT_GT(credits.x0, credits.width / 20);
  EXPECT_LT(credits.x1, credits.width - credits.width / 20);
  EXPECT_GT(credits.y0, credits.height / 20);
  EXPECT_LT(credits.y1, credits.height - credits.height / 20);
  // At 640 × 360 the smallest line is still about 20 pixels high: rows of text cover a good
  // share of the picture's height.
  int rowsWithText = 0;
  for (int y = 0; y < credits.height; ++y)
    for (int x = 0; x < credits.width; ++x)
      if (credits.rgba[(static_cast<size_t>(y) * credits.width + x) * 4 + 3] == 255) {
        ++rowsWithText;
        break;
      }
  EXPECT_GT(rowsWithText, credits.height / 3);
}

}  // namespace
