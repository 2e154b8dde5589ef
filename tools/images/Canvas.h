#pragma once
// A float RGBA picture with the few drawing operations the generated images are made of,
// written out as JPEG or PNG.
#include <cstdint>
#include <string>
#include <vector>

#include "HashU32.h"

struct Colour {
  float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;
};

Colour Mix(const Colour& a, const Colour& b, float t);

class Canvas {
 public:
  Canvas(int width, int height, Colour fill = {});

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  Colour& At(int x, int y) { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
  const Colour& At(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }

  // Source-over blend of one colour with coverage in [0, 1].
  void Blend(int x, int y, const Colour& c, float coverage);
  void FillRect(int x0, int y0, int x1, int y1, const Colour& c);
  // Anti-aliased ring (inner radius 0 gives a disc), centre in pixels.
  void Ring(float cx, float cy, float inner, float outer, const Colour& c);
  // Anti-aliased line segment of the given width.
  void Line(float x0, float y0, float x1, float y1, float width, const Colour& c);

  bool WriteJpeg(const std::string& path, int quality) const;
  bool WritePng(const std::string& path) const;

 private:
  std::vector<uint8_t> Bytes(int channels) const;

  int m_width;
  int m_height;
  std::vector<Colour> m_pixels;
};

// Text rendered with a TrueType face onto a canvas; pixel height of the em, left/top anchor.
class TextPainter {
 public:
  bool Load(const std::string& fontPath);
  float Measure(const std::string& text, float pixelHeight, float tracking = 0.0f) const;
  void Draw(Canvas& canvas, const std::string& text, float x, float top, float pixelHeight,
            const Colour& c, float tracking = 0.0f) const;
  // One character by its Unicode code point with its baseline at `baseline`; returns its advance.
  float DrawGlyph(Canvas& canvas, int codepoint, float x, float baseline, float pixelHeight, const Colour& c) const;
  bool HasGlyph(int codepoint) const;
  // Centred horizontally on cx.
  void DrawCentred(Canvas& canvas, const std::string& text, float cx, float top, float pixelHeight,
                   const Colour& c, float tracking = 0.0f) const;

 private:
  std::vector<uint8_t> m_font;
};

// Deterministic value noise and its fractal sum in [0, 1]; the same seed gives the same picture.
float ValueNoise(float x, float y, uint32_t seed);
float FractalNoise(float x, float y, int octaves, uint32_t seed);
float Smoothstep(float edge0, float edge1, float x);
