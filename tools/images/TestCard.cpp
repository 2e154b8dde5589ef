// The test card: grid, centre circle, colour bars, grey steps, frequency gratings and corner
// marks, so every post-processing effect shows what it does to hue, level, edges and geometry.
#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "Images.h"

namespace {

void Grid(Canvas& c, int step) {
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      bool line = (x % step) < 2 || (y % step) < 2;
      c.At(x, y) = line ? Colour{0.92f, 0.92f, 0.92f, 1} : Colour{0.32f, 0.33f, 0.36f, 1};
    }
}

bool InCircle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) <= r; }

}  // namespace

bool WriteTestCard(const std::string& path, const TextPainter& bold, const TextPainter& regular) {
  const int w = 1280, h = 720;
  Canvas c(w, h);
  Grid(c, 40);
  const float cx = w * 0.5f, cy = h * 0.5f, radius = 300.0f;

  // Everything inside the circle is drawn per pixel so the bands end exactly on its edge.
  const Colour bars[8] = {{0.75f, 0.75f, 0.75f, 1}, {0.75f, 0.75f, 0.0f, 1}, {0.0f, 0.75f, 0.75f, 1},
                          {0.0f, 0.75f, 0.0f, 1},   {0.75f, 0.0f, 0.75f, 1}, {0.75f, 0.0f, 0.0f, 1},
                          {0.0f, 0.0f, 0.75f, 1},   {0.0f, 0.0f, 0.0f, 1}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float px = x + 0.5f, py = y + 0.5f;
      if (!InCircle(px, py, cx, cy, radius)) continue;
      float u = (px - (cx - radius)) / (2.0f * radius);
      float v = (py - (cy - radius)) / (2.0f * radius);
      Colour col{0.08f, 0.08f, 0.1f, 1};
      if (v < 0.18f) {
        col = {0.1f, 0.12f, 0.2f, 1};
      } else if (v < 0.48f) {
        col = bars[std::min(7, static_cast<int>(u * 8.0f))];
      } else if (v < 0.62f) {
        float step = std::floor(u * 11.0f) / 10.0f;
        col = {step, step, step, 1};
      } else if (v < 0.80f) {
        // Gratings getting finer to the right: sharpness and aliasing at a glance.
        int band = std::min(4, static_cast<int>(u * 5.0f));
        float period = 16.0f / static_cast<float>(1 << band) * 2.0f;
        float s = std::fmod(px, period) < period * 0.5f ? 0.95f : 0.05f;
        col = {s, s, s, 1};
      } else {
        float hue = u * 6.0f;
        float r = std::clamp(std::fabs(hue - 3.0f) - 1.0f, 0.0f, 1.0f);
        float g = std::clamp(2.0f - std::fabs(hue - 2.0f), 0.0f, 1.0f);
        float b = std::clamp(2.0f - std::fabs(hue - 4.0f), 0.0f, 1.0f);
        col = {r, g, b, 1};
      }
      c.At(x, y) = col;
    }
  c.Ring(cx, cy, radius - 1.0f, radius + 4.0f, {1, 1, 1, 1});
  c.Line(cx - radius, cy, cx + radius, cy, 2.0f, {1, 1, 1, 0.8f});
  c.Line(cx, cy - radius, cx, cy + radius, 2.0f, {1, 1, 1, 0.8f});
  c.Ring(cx, cy, 38.0f, 41.0f, {1, 1, 1, 1});

  // Corner discs and edge arrows show cropping and lens distortion at the border.
  const float cr = 56.0f;
  for (float x : {cr + 24.0f, w - cr - 24.0f})
    for (float y : {cr + 24.0f, h - cr - 24.0f}) {
      c.Ring(x, y, 0.0f, cr, {0.05f, 0.05f, 0.05f, 1});
      c.Ring(x, y, cr * 0.55f, cr * 0.7f, {1, 1, 1, 1});
      c.Ring(x, y, 0.0f, cr * 0.2f, {1, 0.8f, 0.1f, 1});
    }
  for (int i = 0; i < 3; ++i) {
    float o = 6.0f + i * 14.0f;
    c.Line(cx - 30.0f, o, cx, o + 12.0f, 3.0f, {1, 1, 1, 1});
    c.Line(cx, o + 12.0f, cx + 30.0f, o, 3.0f, {1, 1, 1, 1});
    c.Line(cx - 30.0f, h - o, cx, h - o - 12.0f, 3.0f, {1, 1, 1, 1});
    c.Line(cx, h - o - 12.0f, cx + 30.0f, h - o, 3.0f, {1, 1, 1, 1});
  }

  // Name plate at the top of the circle, a caption below it.
  c.FillRect(static_cast<int>(cx - 150), static_cast<int>(cy - radius + 28), static_cast<int>(cx + 150),
             static_cast<int>(cy - radius + 96), {0.02f, 0.02f, 0.03f, 1});
  bold.DrawCentred(c, "PULSAR", cx, cy - radius + 34.0f, 54.0f, {1, 1, 1, 1}, 10.0f);
  c.FillRect(static_cast<int>(cx - 120), static_cast<int>(cy + radius - 58), static_cast<int>(cx + 120),
             static_cast<int>(cy + radius - 22), {0.02f, 0.02f, 0.03f, 1});
  regular.DrawCentred(c, "16:9  test card", cx, cy + radius - 56.0f, 28.0f, {0.9f, 0.9f, 0.9f, 1}, 2.0f);
  return c.WriteJpeg(path, 95);
}
