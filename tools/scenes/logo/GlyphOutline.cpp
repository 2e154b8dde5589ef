#include "GlyphOutline.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

namespace logo {

namespace {

// Collects one glyph's contours while FreeType walks its outline (coordinates in 26.6 font units).
struct Walker {
  std::vector<Contour> contours;
  Point2 pen;
  float tolerance = 1.0f;  // in outline units

  static Point2 P(const FT_Vector* v) { return {static_cast<float>(v->x), static_cast<float>(v->y)}; }
  void Add(Point2 p) {
    Contour& c = contours.back();
    if (!c.empty() && std::fabs(c.back().x - p.x) < 1e-3f && std::fabs(c.back().y - p.y) < 1e-3f) return;
    c.push_back(p);
    pen = p;
  }
  int Segments(float length) const { return std::clamp(static_cast<int>(std::ceil(std::sqrt(length / tolerance))), 2, 48); }

  static int MoveTo(const FT_Vector* to, void* user) {
    auto* w = static_cast<Walker*>(user);
    w->contours.emplace_back();
    w->Add(P(to));
    return 0;
  }
  static int LineTo(const FT_Vector* to, void* user) {
    static_cast<Walker*>(user)->Add(P(to));
    return 0;
  }
  static int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* w = static_cast<Walker*>(user);
    const Point2 a = w->pen, b = P(control), c = P(to);
    const int n = w->Segments(std::hypot(b.x - a.x, b.y - a.y) + std::hypot(c.x - b.x, c.y - b.y));
    for (int i = 1; i <= n; ++i) {
      const float t = static_cast<float>(i) / n, s = 1 - t;
      w->Add({s * s * a.x + 2 * s * t * b.x + t * t * c.x, s * s * a.y + 2 * s * t * b.y + t * t * c.y});
    }
    return 0;
  }
  static int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* w = static_cast<Walker*>(user);
    const Point2 a = w->pen, b = P(c1), c = P(c2), d = P(to);
    const float length = std::hypot(b.x - a.x, b.y - a.y) + std::hypot(c.x - b.x, c.y - b.y) + std::hypot(d.x - c.x, d.y - c.y);
    const int n = w->Segments(length);
    for (int i = 1; i <= n; ++i) {
      const float t = static_cast<float>(i) / n, s = 1 - t;
      w->Add({s * s * s * a.x + 3 * s * s * t * b.x + 3 * s * t * t * c.x + t * t * t * d.x,
              s * s * s * a.y + 3 * s * s * t * b.y + 3 * s * t * t * c.y + t * t * t * d.y});
    }
    return 0;
  }
};

}  // namespace

float SignedArea2(const Contour& contour) {
  float area = 0.0f;
  for (size_t i = 0, n = contour.size(); i < n; ++i) {
    const Point2 a = contour[i], b = contour[(i + 1) % n];
    area += a.x * b.y - b.x * a.y;
  }
  return area;
}

bool ContainsPoint(const Contour& contour, Point2 p) {
  bool inside = false;
  for (size_t i = 0, j = contour.size() - 1; i < contour.size(); j = i++) {
    const Point2 a = contour[i], b = contour[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

bool TypesetWord(const std::string& fontPath, const std::string& text, const TypesetOptions& options,
                 std::vector<Glyph>* glyphs, std::string* error) {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library) != 0) return *error = "FreeType does not start", false;
  bool ok = FT_New_Face(library, fontPath.c_str(), 0, &face) == 0;
  if (!ok) *error = "cannot read the font " + fontPath;
  std::vector<Glyph> word;
  std::vector<float> advances;
  float capHeight = 0.0f;
  if (ok) {
    // The capital height measured on "H", so the scale does not depend on the font's metrics tables.
    if (FT_Load_Char(face, 'H', FT_LOAD_NO_SCALE) == 0) {
      FT_BBox box;
      FT_Outline_Get_CBox(&face->glyph->outline, &box);
      capHeight = static_cast<float>(box.yMax - box.yMin);
    }
    if (capHeight <= 0.0f) ok = false, *error = "the font has no capital H";
  }
  const float scale = ok ? options.capHeight / capHeight : 0.0f;
  for (size_t i = 0; ok && i < text.size(); ++i) {
    if (FT_Load_Char(face, static_cast<unsigned char>(text[i]), FT_LOAD_NO_SCALE) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE || face->glyph->outline.n_contours == 0) {
      ok = false;
      *error = std::string("no outline for '") + text[i] + "'";
      break;
    }
    Walker walker;
    walker.tolerance = options.curveTolerance / scale;
    FT_Outline_Funcs funcs{&Walker::MoveTo, &Walker::LineTo, &Walker::ConicTo, &Walker::CubicTo, 0, 0};
    FT_Outline_Decompose(&face->glyph->outline, &funcs, &walker);
    Glyph glyph;
    glyph.character = text[i];
    for (Contour& c : walker.contours) {
      // The closing point repeats the first; drop it and keep contours that enclose an area.
      while (c.size() > 1 && std::fabs(c.back().x - c.front().x) < 1e-3f && std::fabs(c.back().y - c.front().y) < 1e-3f)
        c.pop_back();
      if (c.size() >= 3 && std::fabs(SignedArea2(c)) > 1e-3f) glyph.contours.push_back(c);
    }
    advances.push_back(static_cast<float>(face->glyph->advance.x) * scale);
    word.push_back(std::move(glyph));
  }
  if (face) FT_Done_Face(face);
  FT_Done_FreeType(library);
  if (!ok) return false;

  // Place the letters, then classify contours by nesting: inside an odd number of others is a hole.
  float width = 0.0f;
  for (size_t i = 0; i < advances.size(); ++i) width += advances[i] + (i + 1 < advances.size() ? options.tracking * options.capHeight : 0.0f);
  float pen = -width / 2;
  for (size_t i = 0; i < word.size(); ++i) {
    Glyph& g = word[i];
    for (Contour& c : g.contours)
      for (Point2& p : c) p = {pen + p.x * scale, p.y * scale};
    pen += advances[i] + options.tracking * options.capHeight;
    g.isHole.assign(g.contours.size(), false);
    for (size_t a = 0; a < g.contours.size(); ++a) {
      int depth = 0;
      for (size_t b = 0; b < g.contours.size(); ++b)
        if (a != b && ContainsPoint(g.contours[b], g.contours[a][0])) ++depth;
      g.isHole[a] = depth % 2 == 1;
      const bool anticlockwise = SignedArea2(g.contours[a]) > 0.0f;
      if (anticlockwise == g.isHole[a]) std::reverse(g.contours[a].begin(), g.contours[a].end());
    }
  }
  *glyphs = std::move(word);
  return true;
}

}  // namespace logo
