// The glyph atlas: every printable character rasterised once at a pixel size, packed without
// overlap, with metrics that lay a line out on whole pixels.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <vector>

#include "platform/font.h"
#include "platform/font_atlas.h"

namespace {

class GlyphAtlasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library = platform::FontLibrary::Create();
    ASSERT_NE(library, nullptr);
    face = library->CreateFace("Arial");
    if (face == nullptr) GTEST_SKIP() << "no face resolves for Arial";
  }
  void TearDown() override {
    if (face) face->Release();
    if (library) library->Release();
  }
  platform::FontLibrary* library = nullptr;
  platform::FontFace* face = nullptr;
};

TEST_F(GlyphAtlasTest, Size12HasTheLineMetricsOfA12PixelFont) {
  platform::GlyphAtlas atlas;
  ASSERT_TRUE(atlas.Rasterise(face->face, 12));
  EXPECT_EQ(atlas.pixelSize, 12u);
  EXPECT_GE(atlas.ascender, 9);
  EXPECT_LE(atlas.ascender, 12);
  EXPECT_GE(atlas.lineHeight, 12);
  EXPECT_LE(atlas.lineHeight, 16);
  EXPECT_GT(atlas.height, 0);
  EXPECT_EQ(atlas.pixels.size(), static_cast<size_t>(platform::GlyphAtlas::kWidth) * atlas.height);

  const platform::GlyphBox& capital = atlas.Glyph('H');
  EXPECT_GT(capital.width, 0);
  EXPECT_GE(capital.top, 8);  // cap height of a 12-pixel face
  EXPECT_LE(capital.top, atlas.ascender);
  const platform::GlyphBox& space = atlas.Glyph(' ');
  EXPECT_EQ(space.width, 0);
  EXPECT_GT(space.advance, 0);
  EXPECT_GT(atlas.Glyph('m').advance, atlas.Glyph('i').advance);
  // The descender of 'g' goes below the baseline.
  EXPECT_GT(atlas.Glyph('g').height, atlas.Glyph('g').top);
}

TEST_F(GlyphAtlasTest, GlyphsArePackedApartWithEmptyPixelsBetween) {
  platform::GlyphAtlas atlas;
  ASSERT_TRUE(atlas.Rasterise(face->face, 12));
  std::vector<uint8_t> owner(atlas.pixels.size(), 0);
  int32_t inked = 0;
  for (uint32_t code = platform::GlyphAtlas::kFirstCode; code <= 126; ++code) {
    const platform::GlyphBox& box = atlas.Glyph(code);
    ASSERT_LE(box.x + box.width, platform::GlyphAtlas::kWidth) << code;
    ASSERT_LE(box.y + box.height, atlas.height) << code;
    for (int32_t y = box.y; y < box.y + box.height; ++y)
      for (int32_t x = box.x; x < box.x + box.width; ++x) {
        uint8_t& cell = owner[static_cast<size_t>(y) * platform::GlyphAtlas::kWidth + x];
        ASSERT_TRUE(cell == 0 || cell == code) << "glyphs " << int{cell} << " and " << code << " overlap";
        cell = static_cast<uint8_t>(code);
      }
    if (box.width > 0) ++inked;
  }
  EXPECT_EQ(inked, 126 - 32);  // every printable ASCII character but the space has ink
  // The solid block rectangles sample: full coverage around its middle texel, touching no glyph.
  for (int32_t y = atlas.solidY - 1; y <= atlas.solidY + 1; ++y)
    for (int32_t x = atlas.solidX - 1; x <= atlas.solidX + 1; ++x) {
      ASSERT_EQ(atlas.Coverage(x, y), 255) << x << ", " << y;
      ASSERT_EQ(owner[static_cast<size_t>(y) * platform::GlyphAtlas::kWidth + x], 0) << "a glyph under the block";
    }
  const auto inSolidBlock = [&atlas](int32_t x, int32_t y) {
    return x >= atlas.solidX - 1 && x <= atlas.solidX + 1 && y >= atlas.solidY - 1 && y <= atlas.solidY + 1;
  };
  // Ink only inside boxes: nothing of one glyph reaches another's sampling.
  for (size_t i = 0; i < owner.size(); ++i)
    if (owner[i] == 0 && atlas.pixels[i] != 0 &&
        !inSolidBlock(static_cast<int32_t>(i % platform::GlyphAtlas::kWidth),
                      static_cast<int32_t>(i / platform::GlyphAtlas::kWidth))) {
      // Latin-1 glyphs above 126 own the rest of the ink.
      bool inLatin1 = false;
      const auto x = static_cast<int32_t>(i % platform::GlyphAtlas::kWidth);
      const auto y = static_cast<int32_t>(i / platform::GlyphAtlas::kWidth);
      for (uint32_t code = 127; code <= platform::GlyphAtlas::kLastCode + 1 && !inLatin1; ++code) {
        const platform::GlyphBox& box = atlas.Glyph(code);
        inLatin1 = x >= box.x && x < box.x + box.width && y >= box.y && y < box.y + box.height;
      }
      ASSERT_TRUE(inLatin1) << "ink outside every glyph at " << x << ", " << y;
    }
}

TEST_F(GlyphAtlasTest, CharactersOutsideTheRangeDrawTheMissingGlyph) {
  platform::GlyphAtlas atlas;
  ASSERT_TRUE(atlas.Rasterise(face->face, 12));
  const platform::GlyphBox& missing = atlas.Glyph(0x4E00);
  EXPECT_GT(missing.advance, 0);
  EXPECT_EQ(&atlas.Glyph(0x1F600), &missing);
  EXPECT_EQ(&atlas.Glyph(7), &missing);  // control characters too
  EXPECT_GT(atlas.Glyph(0xE9).width, 0);  // é is in the range
}

TEST_F(GlyphAtlasTest, ImpossibleSizesLeaveAnEmptyAtlas) {
  platform::GlyphAtlas atlas;
  EXPECT_FALSE(atlas.Rasterise(face->face, 0));
  EXPECT_FALSE(atlas.Rasterise(nullptr, 12));
  EXPECT_EQ(atlas.height, 0);
  EXPECT_EQ(atlas.Glyph('A').width, 0);
}

}  // namespace
