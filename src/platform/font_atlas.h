#pragma once
// A face's glyphs at one pixel size, rasterised once by FreeType into a single-channel
// coverage picture: the printable Latin-1 range (which is also where wide characters of that
// range land) plus the face's missing-glyph box, which stands in for every other character, and
// a small block of full coverage that filled rectangles are drawn with.
#include <cstddef>
#include <cstdint>
#include <vector>

struct FT_FaceRec_;

namespace platform {

struct GlyphBox {
  int32_t x = 0, y = 0;          // top-left corner in the atlas
  int32_t width = 0, height = 0; // 0 for blank glyphs such as the space
  int32_t left = 0;              // from the pen to the bitmap's left edge
  int32_t top = 0;               // from the baseline up to the bitmap's top edge
  int32_t advance = 0;           // whole pixels the pen moves on
};

class GlyphAtlas {
 public:
  static constexpr uint32_t kFirstCode = 32;
  static constexpr uint32_t kLastCode = 255;
  static constexpr int32_t kWidth = 256;

  // False when the size cannot be set or no glyph can be rendered; the atlas is then empty.
  bool Rasterise(FT_FaceRec_* face, uint32_t pixelSize);
  // The box of a character; the missing-glyph box outside the atlas's range.
  const GlyphBox& Glyph(uint32_t code) const;
  // Coverage 0..255 at a pixel of the atlas.
  uint8_t Coverage(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * kWidth + x]; }

  // A texel of full coverage whose neighbours are full too: a rectangle sampling only it is
  // solid in the drawing colour.
  int32_t solidX = 0, solidY = 0;
  uint32_t pixelSize = 0;
  int32_t height = 0;      // rows of pixels; kWidth bytes each
  int32_t ascender = 0;    // baseline below the top of a line
  int32_t lineHeight = 0;  // baseline to baseline
  std::vector<uint8_t> pixels;

 private:
  std::vector<GlyphBox> m_glyphs;  // kFirstCode..kLastCode, then the missing glyph
};

}  // namespace platform
