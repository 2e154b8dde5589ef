#pragma once
// Fonts by family name: FreeType as the library (the factory of faces) and fontconfig to
// resolve a family such as "Arial" to an installed face (on Debian the metric-compatible
// Liberation Sans). Drawing text is the caller's business; this only opens faces.
#include <string>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace platform {

class FontFace;

class FontLibrary {
 public:
  // Null when FreeType cannot start.
  static FontLibrary* Create();
  // Null when no installed face resolves for the family or it cannot be opened.
  FontFace* CreateFace(const std::string& family);
  void Release();

  FT_LibraryRec_* library = nullptr;

 private:
  FontLibrary() = default;
  ~FontLibrary() = default;
};

class FontFace {
 public:
  void Release();

  FT_FaceRec_* face = nullptr;
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
