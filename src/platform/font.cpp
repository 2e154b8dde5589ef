#include "platform/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <new>

namespace platform {

FontLibrary* FontLibrary::Create() {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return nullptr;
  FontLibrary* result = new (std::nothrow) FontLibrary();
  if (!result) {
    FT_Done_FreeType(library);
    return nullptr;
  }
  result->library = library;
  return result;
}

FontFace* FontLibrary::CreateFace(const std::string& family, ID3D11Device* device) {
  const std::string file = ResolveFontFile(family);
  if (file.empty()) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.c_str(), 0, &face) != 0) return nullptr;
  FontFace* result = new (std::nothrow) FontFace();
  if (!result) {
    FT_Done_Face(face);
    return nullptr;
  }
  result->face = face;
  result->family = family;
  result->file = file;
  if (device != nullptr) result->renderer = new (std::nothrow) FontRenderer(device);
  return result;
}

void FontLibrary::Release() {
  if (library) FT_Done_FreeType(library);
  delete this;
}

void FontFace::Release() {
  delete renderer;
  if (face) FT_Done_Face(face);
  delete this;
}

void FontFace::DrawString(ID3D11DeviceContext* context, const WCHAR* text, float size, float x, float y,
                          uint32_t colour, uint32_t flags) {
  if (renderer) renderer->DrawString(context, face, text, size, x, y, colour, flags);
}

void FontFace::FillRectangle(ID3D11DeviceContext* context, float size, float x, float y, float width, float height,
                             uint32_t colour, uint32_t flags) {
  if (renderer) renderer->FillRectangle(context, face, size, x, y, width, height, colour, flags);
}

float FontFace::TextWidth(const WCHAR* text, float size) {
  const GlyphAtlas* atlas = renderer && text ? renderer->AtlasFor(face, size) : nullptr;
  if (!atlas) return 0.0f;
  int32_t widest = 0, pen = 0;
  for (const WCHAR* c = text; *c != L'\0'; ++c) {
    pen = *c == L'\n' ? 0 : pen + atlas->Glyph(static_cast<uint32_t>(*c)).advance;
    widest = std::max(widest, pen);
  }
  return static_cast<float>(widest);
}

float FontFace::LineHeight(float size) {
  const GlyphAtlas* atlas = renderer ? renderer->AtlasFor(face, size) : nullptr;
  return atlas ? static_cast<float>(atlas->lineHeight) : 0.0f;
}

std::string ResolveFontFile(const std::string& family) {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return {};
  std::string file;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  if (pattern) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
      file = reinterpret_cast<const char*>(path);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return file;
}

}  // namespace platform
