#pragma once
// Fonts by family name: FreeType as the library (the factory of faces) and fontconfig to
// resolve a family such as "Arial" to an installed face (on Debian the metric-compatible
// Liberation Sans). A face opened on a device draws strings on it (font_draw.h).
#include <cstdint>
#include <string>

#include "platform/font_draw.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace platform {

class FontFace;

class FontLibrary {
 public:
  // Null when FreeType cannot start.
  static FontLibrary* Create();
  // Null when no installed face resolves for the family or it cannot be opened. Without a
  // device the face only measures; it draws nothing.
  FontFace* CreateFace(const std::string& family, ID3D11Device* device = nullptr);
  void Release();

  FT_LibraryRec_* library = nullptr;

 private:
  FontLibrary() = default;
  ~FontLibrary() = default;
};

class FontFace {
 public:
  void Release();
  // Draws one string at pixel (x, y) of the current viewport, size in pixels, colour as
  // 0xAABBGGRR; FW1_RESTORESTATE in flags leaves the pipeline state as it was. Draws nothing
  // when the face has no device or its resources cannot be made.
  void DrawString(ID3D11DeviceContext* context, const WCHAR* text, float size, float x, float y, uint32_t colour,
                  uint32_t flags);
  // A filled rectangle at pixel (x, y) of the current viewport, blended like the text.
  void FillRectangle(ID3D11DeviceContext* context, float size, float x, float y, float width, float height,
                     uint32_t colour, uint32_t flags);
  // The width in whole pixels the pen moves over the text at size, and the distance between
  // baselines; 0 when the face cannot be drawn at that size.
  float TextWidth(const WCHAR* text, float size);
  float LineHeight(float size);

  FT_FaceRec_* face = nullptr;
  FontRenderer* renderer = nullptr;  // owned; null without a device
  std::string family;  // as asked for
  std::string file;    // the face fontconfig chose

 private:
  friend class FontLibrary;
  FontFace() = default;
  ~FontFace() = default;
};

// The file of the installed face that best matches family; empty when none does.
std::string ResolveFontFile(const std::string& family);

}  // namespace platform
