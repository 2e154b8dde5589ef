#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb_truetype.h>

Colour Mix(const Colour& a, const Colour& b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

float Smoothstep(float edge0, float edge1, float x) {
  float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

Canvas::Canvas(int width, int height, Colour fill)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, fill) {}

void Canvas::Blend(int x, int y, const Colour& c, float coverage) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
  if (a <= 0.0f) return;
  Colour& d = At(x, y);
  float outA = a + d.a * (1.0f - a);
  if (outA <= 0.0f) {
    d = {};
    return;
  }
  d.r = (c.r * a + d.r * d.a * (1.0f - a)) / outA;
  d.g = (c.g * a + d.g * d.a * (1.0f - a)) / outA;
  d.b = (c.b * a + d.b * d.a * (1.0f - a)) / outA;
  d.a = outA;
}

void Canvas::FillRect(int x0, int y0, int x1, int y1, const Colour& c) {
  for (int y = std::max(0, y0); y < std::min(m_height, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(m_width, x1); ++x) Blend(x, y, c, 1.0f);
}

void Canvas::Ring(float cx, float cy, float inner, float outer, const Colour& c) {
  int x0 = static_cast<int>(std::floor(cx - outer - 1)), x1 = static_cast<int>(std::ceil(cx + outer + 1));
  int y0 = static_cast<int>(std::floor(cy - outer - 1)), y1 = static_cast<int>(std::ceil(cy + outer + 1));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
      float cover = std::clamp(outer - d + 0.5f, 0.0f, 1.0f);
      if (inner > 0.0f) cover *= std::clamp(d - inner + 0.5f, 0.0f, 1.0f);
      Blend(x, y, c, cover);
    }
}

void Canvas::Line(float x0, float y0, float x1, float y1, float width, const Colour& c) {
  float half = width * 0.5f;
  int bx0 = static_cast<int>(std::floor(std::min(x0, x1) - half - 1));
  int bx1 = static_cast<int>(std::ceil(std::max(x0, x1) + half + 1));
  int by0 = static_cast<int>(std::floor(std::min(y0, y1) - half - 1));
  int by1 = static_cast<int>(std::ceil(std::max(y0, y1) + half + 1));
  float dx = x1 - x0, dy = y1 - y0;
  float len2 = std::max(dx * dx + dy * dy, 1e-6f);
  for (int y = std::max(0, by0); y <= std::min(m_height - 1, by1); ++y)
    for (int x = std::max(0, bx0); x <= std::min(m_width - 1, bx1); ++x) {
      float px = x + 0.5f - x0, py = y + 0.5f - y0;
      float t = std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f);
      float d = std::hypot(px - t * dx, py - t * dy);
      Blend(x, y, c, std::clamp(half - d + 0.5f, 0.0f, 1.0f));
    }
}

std::vector<uint8_t> Canvas::Bytes(int channels) const {
  std::vector<uint8_t> out(m_pixels.size() * channels);
  auto q = [](float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
  for (size_t i = 0; i < m_pixels.size(); ++i) {
    const Colour& p = m_pixels[i];
    out[i * channels + 0] = q(p.r);
    out[i * channels + 1] = q(p.g);
    out[i * channels + 2] = q(p.b);
    if (channels == 4) out[i * channels + 3] = q(p.a);
  }
  return out;
}

bool Canvas::WriteJpeg(const std::string& path, int quality) const {
  std::vector<uint8_t> rgb = Bytes(3);
  return stbi_write_jpg(path.c_str(), m_width, m_height, 3, rgb.data(), quality) != 0;
}

bool Canvas::WritePng(const std::string& path) const {
  std::vector<uint8_t> rgba = Bytes(4);
  return stbi_write_png(path.c_str(), m_width, m_height, 4, rgba.data(), m_width * 4) != 0;
}

bool TextPainter::Load(const std::string& fontPath) {
  std::ifstream in(fontPath, std::ios::binary);
  if (!in) return false;
  m_font.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  stbtt_fontinfo info;
  return !m_font.empty() && stbtt_InitFont(&info, m_font.data(), 0) != 0;
}

float TextPainter::Measure(const std::string& text, float pixelHeight, float tracking) const {
  stbtt_fontinfo info;
  if (m_font.empty() || !stbtt_InitFont(&info, m_font.data(), 0)) return 0.0f;
  float scale = stbtt_ScaleForPixelHeight(&info, pixelHeight);
  float x = 0.0f;
  for (size_t i = 0; i < text.size(); ++i) {
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&info, static_cast<unsigned char>(text[i]), &advance, &bearing);
    x += advance * scale + tracking;
    if (i + 1 < text.size())
      x += scale * stbtt_GetCodepointKernAdvance(&info, static_cast<unsigned char>(text[i]),
                                                 static_cast<unsigned char>(text[i + 1]));
  }
  return text.empty() ? 0.0f : x - tracking;
}

void TextPainter::Draw(Canvas& canvas, const std::string& text, float x, float top, float pixelHeight,
                       const Colour& c, float tracking) const {
  stbtt_fontinfo info;
  if (m_font.empty() || !stbtt_InitFont(&info, m_font.data(), 0)) return;
  float scale = stbtt_ScaleForPixelHeight(&info, pixelHeight);
  int ascent = 0, descent = 0, gap = 0;
  stbtt_GetFontVMetrics(&info, &ascent, &descent, &gap);
  float baseline = top + ascent * scale;
  for (size_t i = 0; i < text.size(); ++i) {
    int cp = static_cast<unsigned char>(text[i]);
    x += DrawGlyph(canvas, cp, x, baseline, pixelHeight, c) + tracking;
    if (i + 1 < text.size())
      x += scale * stbtt_GetCodepointKernAdvance(&info, cp, static_cast<unsigned char>(text[i + 1]));
  }
}

float TextPainter::DrawGlyph(Canvas& canvas, int codepoint, float x, float baseline, float pixelHeight,
                             const Colour& c) const {
  stbtt_fontinfo info;
  if (m_font.empty() || !stbtt_InitFont(&info, m_font.data(), 0)) return 0.0f;
  float scale = stbtt_ScaleForPixelHeight(&info, pixelHeight);
  float shiftX = x - std::floor(x);
  int x0, y0, x1, y1;
  stbtt_GetCodepointBitmapBoxSubpixel(&info, codepoint, scale, scale, shiftX, 0.0f, &x0, &y0, &x1, &y1);
  int w = x1 - x0, h = y1 - y0;
  if (w > 0 && h > 0) {
    std::vector<uint8_t> bitmap(static_cast<size_t>(w) * h);
    stbtt_MakeCodepointBitmapSubpixel(&info, bitmap.data(), w, h, w, scale, scale, shiftX, 0.0f, codepoint);
    int ox = static_cast<int>(std::floor(x)) + x0;
    int oy = static_cast<int>(std::lround(baseline)) + y0;
    for (int j = 0; j < h; ++j)
      for (int k = 0; k < w; ++k) canvas.Blend(ox + k, oy + j, c, bitmap[j * w + k] / 255.0f);
  }
  int advance = 0, bearing = 0;
  stbtt_GetCodepointHMetrics(&info, codepoint, &advance, &bearing);
  return advance * scale;
}

bool TextPainter::HasGlyph(int codepoint) const {
  stbtt_fontinfo info;
  return !m_font.empty() && stbtt_InitFont(&info, m_font.data(), 0) && stbtt_FindGlyphIndex(&info, codepoint) != 0;
}

void TextPainter::DrawCentred(Canvas& canvas, const std::string& text, float cx, float top,
                              float pixelHeight, const Colour& c, float tracking) const {
  Draw(canvas, text, cx - Measure(text, pixelHeight, tracking) * 0.5f, top, pixelHeight, c, tracking);
}

static float Lattice(int x, int y, uint32_t seed) {
  uint32_t h = HashU32(static_cast<uint32_t>(x) * 0x9E3779B1U ^ HashU32(static_cast<uint32_t>(y) + seed));
  return (h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float ValueNoise(float x, float y, uint32_t seed) {
  int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
  float fx = x - xi, fy = y - yi;
  float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  float a = Lattice(xi, yi, seed), b = Lattice(xi + 1, yi, seed);
  float c = Lattice(xi, yi + 1, seed), d = Lattice(xi + 1, yi + 1, seed);
  return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

float FractalNoise(float x, float y, int octaves, uint32_t seed) {
  float sum = 0.0f, amp = 0.5f, norm = 0.0f;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * ValueNoise(x, y, seed + i * 101u);
    norm += amp;
    x *= 2.03f;
    y *= 2.03f;
    amp *= 0.5f;
  }
  return sum / norm;
}
