#pragma once
// A word's letters as flat polygons, read from a font's outlines: every contour's lines and
// curves flattened into points, outer contours turning anticlockwise (y up), holes clockwise.
#include <string>
#include <vector>

namespace logo {

struct Point2 {
  float x = 0.0f, y = 0.0f;
};

using Contour = std::vector<Point2>;

// One letter: its contours in world units, the baseline at y = 0.
struct Glyph {
  char character = 0;
  std::vector<Contour> contours;
  std::vector<bool> isHole;  // per contour
};

struct TypesetOptions {
  float capHeight = 100.0f;     // world units of the font's capital height
  float tracking = 0.0f;        // extra space between letters, in units of the cap height
  float curveTolerance = 0.4f;  // largest distance of a flattened curve from the true one
};

// Lays out `text` left to right, centred on x = 0. False with a reason when the font cannot be
// read or a letter has no outline.
bool TypesetWord(const std::string& fontPath, const std::string& text, const TypesetOptions& options,
                 std::vector<Glyph>* glyphs, std::string* error);

// Twice the signed area: positive for anticlockwise contours.
float SignedArea2(const Contour& contour);
bool ContainsPoint(const Contour& contour, Point2 p);

}  // namespace logo
