#include "platform/font_atlas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace platform {
namespace {

constexpr int32_t kPadding = 1;  // empty pixels between glyphs, so no neighbour ever bleeds in
constexpr int32_t kSolidSize = 3;  // the solid block; its middle texel is sampled

struct Bitmap {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> coverage;
};

// The slot's rendered bitmap as 8-bit coverage, whether FreeType gave grey levels or one bit a
// pixel (embedded bitmaps of some faces).
Bitmap CopyBitmap(const FT_Bitmap& source) {
  Bitmap bitmap;
  bitmap.width = static_cast<int32_t>(source.width);
  bitmap.height = static_cast<int32_t>(source.rows);
  bitmap.coverage.resize(static_cast<size_t>(bitmap.width) * bitmap.height);
  for (int32_t row = 0; row < bitmap.height; ++row) {
    const uint8_t* line = source.buffer + static_cast<ptrdiff_t>(row) * source.pitch;
    for (int32_t column = 0; column < bitmap.width; ++column) {
      uint8_t value = 0;
      if (source.pixel_mode == FT_PIXEL_MODE_MONO) {
        value = (line[column / 8] & (0x80 >> (column % 8))) ? 255 : 0;
      } else if (source.pixel_mode == FT_PIXEL_MODE_GRAY) {
        value = static_cast<uint8_t>(source.num_grays == 256 ? line[column]
                                                               : line[column] * 255 / std::max(1, source.num_grays - 1));
      }
      bitmap.coverage[static_cast<size_t>(row) * bitmap.width + column] = value;
    }
  }
  return bitmap;
}

}  // namespace

bool GlyphAtlas::Rasterise(FT_FaceRec_* face, uint32_t size) {
  pixelSize = size;
  height = 0;
  solidX = solidY = 0;
  pixels.clear();
  m_glyphs.assign(kLastCode - kFirstCode + 2, GlyphBox{});
  if (face == nullptr || size == 0 || FT_Set_Pixel_Sizes(face, 0, size) != 0) return false;
  ascender = static_cast<int32_t>((face->size->metrics.ascender + 32) >> 6);
  lineHeight = static_cast<int32_t>((face->size->metrics.height + 32) >> 6);

  // Shelf packing: glyphs left to right in rows as tall as the tallest glyph of the row.
  std::vector<Bitmap> bitmaps(m_glyphs.size());
  int32_t penX = kPadding, shelfY = kPadding, shelfHeight = 0;
  bool anyRendered = false;
  for (size_t i = 0; i < m_glyphs.size(); ++i) {
    const bool missing = i + 1 == m_glyphs.size();
    const FT_UInt index = missing ? 0 : FT_Get_Char_Index(face, static_cast<FT_ULong>(kFirstCode + i));
    if (!missing && index == 0) continue;  // filled with the missing glyph below
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) continue;
    anyRendered = true;
    const FT_GlyphSlot slot = face->glyph;
    bitmaps[i] = CopyBitmap(slot->bitmap);
    GlyphBox& box = m_glyphs[i];
    box.width = std::min(bitmaps[i].width, kWidth - 2 * kPadding);
    box.height = bitmaps[i].height;
    box.left = slot->bitmap_left;
    box.top = slot->bitmap_top;
    box.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
    if (box.width == 0 || box.height == 0) continue;
    if (penX + box.width + kPadding > kWidth) {
      penX = kPadding;
      shelfY += shelfHeight + kPadding;
      shelfHeight = 0;
    }
    box.x = penX;
    box.y = shelfY;
    penX += box.width + kPadding;
    shelfHeight = std::max(shelfHeight, box.height);
  }
  if (!anyRendered) return false;
  if (penX + kSolidSize + kPadding > kWidth) {
    penX = kPadding;
    shelfY += shelfHeight + kPadding;
    shelfHeight = 0;
  }
  const int32_t solidLeft = penX, solidTop = shelfY;
  shelfHeight = std::max(shelfHeight, kSolidSize);
  height = shelfY + shelfHeight + kPadding;

  pixels.assign(static_cast<size_t>(kWidth) * height, 0);
  for (size_t i = 0; i < m_glyphs.size(); ++i) {
    const GlyphBox& box = m_glyphs[i];
    for (int32_t row = 0; row < box.height; ++row)
      std::copy_n(bitmaps[i].coverage.begin() + static_cast<ptrdiff_t>(row) * bitmaps[i].width, box.width,
                  pixels.begin() + static_cast<ptrdiff_t>(box.y + row) * kWidth + box.x);
  }
  for (int32_t row = 0; row < kSolidSize; ++row)
    std::fill_n(pixels.begin() + static_cast<ptrdiff_t>(solidTop + row) * kWidth + solidLeft, kSolidSize, uint8_t{255});
  solidX = solidLeft + kSolidSize / 2;
  solidY = solidTop + kSolidSize / 2;
  // Characters the face lacks draw its missing-glyph box.
  const GlyphBox missingBox = m_glyphs.back();
  for (uint32_t code = kFirstCode; code <= kLastCode; ++code) {
    GlyphBox& box = m_glyphs[code - kFirstCode];
    if (box.advance == 0 && box.width == 0) box = missingBox;
  }
  return true;
}

const GlyphBox& GlyphAtlas::Glyph(uint32_t code) const {
  static const GlyphBox kNone;
  if (m_glyphs.empty()) return kNone;
  if (code < kFirstCode || code > kLastCode) return m_glyphs.back();
  return m_glyphs[code - kFirstCode];
}

}  // namespace platform
