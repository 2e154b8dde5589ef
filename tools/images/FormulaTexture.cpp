// "formula.jpg": three lines of mathematics as if chalked by hand, glowing pale on black. The
// blob scene's particles each carry the whole picture, so it keeps the sprites' 2 : 1 shape.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Canvas.h"
#include "Images.h"

namespace {

// A piece of a line: its characters, and whether it is set as a raised exponent.
struct Run {
  std::u32string text;
  bool raised = false;
};

// Separable box blur run three times (close to a Gaussian), over one channel.
std::vector<float> Blurred(std::vector<float> a, int width, int height, int radius) {
  std::vector<float> b(a.size());
  const float norm = 1.0f / static_cast<float>(2 * radius + 1);
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        float sum = 0.0f;
        for (int k = -radius; k <= radius; ++k) sum += a[y * width + std::clamp(x + k, 0, width - 1)];
        b[y * width + x] = sum * norm;
      }
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        float sum = 0.0f;
        for (int k = -radius; k <= radius; ++k) sum += b[std::clamp(y + k, 0, height - 1) * width + x];
        a[y * width + x] = sum * norm;
      }
  }
  return a;
}

// A deterministic wobble in [-1, 1] per glyph, so the hand never writes two letters alike.
float Wobble(uint32_t glyph, uint32_t salt) {
  return (HashU32(glyph * 0x9E3779B1u + salt) & 0xFFFF) / 32767.5f - 1.0f;
}

// Sets one line onto the canvas starting at x; returns where it ends. With draw false only
// measures.
float SetLine(Canvas& canvas, const TextPainter& hand, const std::vector<Run>& line, float x, float baseline,
              float size, uint32_t& glyph, bool draw) {
  const Colour chalk{1.0f, 1.0f, 1.0f, 1.0f};
  for (const Run& run : line) {
    const float runSize = run.raised ? size * 0.6f : size;
    const float rise = run.raised ? size * 0.42f : 0.0f;
    for (char32_t ch : run.text) {
      ++glyph;
      if (ch == U' ') {
        x += size * 0.28f;
        continue;
      }
      if (!hand.HasGlyph(static_cast<int>(ch))) continue;
      const float scale = 1.0f + 0.07f * Wobble(glyph, 1u);
      const float dy = 2.5f * Wobble(glyph, 2u);
      if (draw) {
        x += hand.DrawGlyph(canvas, static_cast<int>(ch), x, baseline - rise + dy, runSize * scale, chalk);
      } else {
        Canvas scratch(1, 1);
        x += hand.DrawGlyph(scratch, static_cast<int>(ch), x, 0.0f, runSize * scale, chalk);
      }
      x += size * 0.02f;
    }
  }
  return x;
}

}  // namespace

bool WriteFormula(const std::string& path, const TextPainter& hand) {
  const int width = 512, height = 256;
  const std::vector<std::vector<Run>> lines = {
      {{U"e"}, {U"i\u03C0", true}, {U" + 1 = 0"}},
      {{U"\u222B e"}, {U"\u2212x\u00B2", true}, {U" dx = \u221A\u03C0"}},
      {{U"\u2211 1/n\u00B2 = \u03C0\u00B2/6"}},
  };
  const float size = 62.0f;
  const float baselines[3] = {72.0f, 152.0f, 230.0f};
  const float slant[3] = {-14.0f, 10.0f, -4.0f};  // a hand does not start every line at one place
  Canvas ink(width, height);
  uint32_t glyph = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    uint32_t measureGlyph = glyph;
    const float lineWidth = SetLine(ink, hand, lines[i], 0.0f, baselines[i], size, measureGlyph, false);
    SetLine(ink, hand, lines[i], (width - lineWidth) * 0.5f + slant[i], baselines[i], size, glyph, true);
  }

  std::vector<float> coverage(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) coverage[y * width + x] = ink.At(x, y).r;
  const std::vector<float> glow = Blurred(coverage, width, height, 5);

  Canvas c(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      // Chalk is never quite solid: the strokes are broken up a little by grain.
      const float grain = 0.8f + 0.2f * ValueNoise(x * 0.7f, y * 0.7f, 0xC4A1Cu);
      const float stroke = coverage[y * width + x] * grain;
      const float k = std::min(1.0f, 0.9f * stroke + 1.4f * glow[y * width + x]);
      const float edge = Smoothstep(0.0f, 10.0f, static_cast<float>(std::min({x, y, width - 1 - x, height - 1 - y})));
      c.At(x, y) = {k * edge, 0.97f * k * edge, 0.9f * k * edge, 1.0f};
    }
  return c.WriteJpeg(path, 95);
}
