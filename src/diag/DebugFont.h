#pragma once
// The font the debug overlay writes with: borrowed device and context, an owned font library
// (the factory) and the face it opened for the family (the font wrapper), and the colour in
// the order alpha, blue, green, red from the high byte down.
#include <cstdint>

#include "platform/font.h"

class ID3D11Device;
class ID3D11DeviceContext;

struct DebugFont {
  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* context = nullptr;
  platform::FontLibrary* factory = nullptr;
  platform::FontFace* fontWrapper = nullptr;
  uint32_t colour = 0xFFFF00FF;  // opaque magenta
};

// Opens the family's face on the font's device; a missing library or face is no failure: the
// overlay then draws no text.
void CreateDebugFontWrapper(DebugFont& font, const char* family);
// Releases the face, then the library, each only when present.
void ReleaseDebugFont(DebugFont& font);
