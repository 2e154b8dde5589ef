#include "diag/DebugFont.h"

void CreateDebugFontWrapper(DebugFont& font, const char* family) {
  font.factory = platform::FontLibrary::Create();
  if (font.factory) font.fontWrapper = font.factory->CreateFace(family, font.device);
}

void ReleaseDebugFont(DebugFont& font) {
  if (font.fontWrapper) font.fontWrapper->Release();
  font.fontWrapper = nullptr;
  if (font.factory) font.factory->Release();
  font.factory = nullptr;
}
