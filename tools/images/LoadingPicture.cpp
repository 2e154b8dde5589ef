// The loading picture: a spinning neutron star with its two beams and dipole field lines over a
// faint nebula, the show's name and a thin progress rule.
#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "Images.h"

namespace {

constexpr float kPi = 3.14159265f;

void Background(Canvas& c) {
  const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      float nx = (x - w * 0.5f) / h, ny = (y - h * 0.45f) / h;
      float r = std::sqrt(nx * nx + ny * ny);
      Colour deep{0.010f, 0.012f, 0.035f, 1};
      Colour violet{0.16f, 0.06f, 0.26f, 1};
      Colour base = Mix(violet, deep, Smoothstep(0.0f, 0.95f, r));
      float neb = FractalNoise(x / 210.0f, y / 210.0f, 5, 7u);
      float neb2 = FractalNoise(x / 90.0f + 3.0f, y / 90.0f, 4, 19u);
      float cloud = Smoothstep(0.45f, 0.85f, neb) * (1.0f - Smoothstep(0.2f, 0.9f, r));
      base.r += cloud * 0.10f + neb2 * 0.015f;
      base.g += cloud * 0.05f;
      base.b += cloud * 0.16f + neb2 * 0.02f;
      c.At(x, y) = base;
    }
  // Stars: hashed positions, a few bright ones with a soft halo.
  for (uint32_t i = 0; i < 900; ++i) {
    uint32_t h = HashU32(i * 2654435761u + 17u);
    float x = (h & 0xFFFF) / 65536.0f * w, y = (HashU32(h) & 0xFFFF) / 65536.0f * h;
    float b = ((h >> 16) & 0xFF) / 255.0f;
    float size = 0.35f + b * b * 1.1f;
    c.Ring(x, y, 0.0f, size, {0.85f, 0.9f, 1.0f, 0.25f + 0.75f * b * b});
    if (b > 0.93f) c.Ring(x, y, 0.0f, size * 4.0f, {0.6f, 0.7f, 1.0f, 0.08f});
  }
}

// Glow added on top of whatever is there, so light sums like light.
void AddGlow(Canvas& c, float cx, float cy, float radius, const Colour& tint, float strength) {
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
      float g = strength / (1.0f + d * d * 6.0f) * std::exp(-d * 0.6f);
      Colour& p = c.At(x, y);
      p.r += tint.r * g;
      p.g += tint.g * g;
      p.b += tint.b * g;
    }
}

void Beams(Canvas& c, float cx, float cy, float tilt) {
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
      float r = std::hypot(dx, dy);
      if (r < 1.0f) continue;
      float a = std::atan2(dy, dx) - tilt;
      // Distance in angle from the beam axis, both directions.
      float off = std::fabs(std::sin(a));
      float along = std::cos(a) > 0 ? 1.0f : 1.0f;
      float width = 0.04f + r / 4000.0f;
      float beam = std::exp(-(off * off) / (width * width)) * along * std::exp(-r / 520.0f);
      float core = std::exp(-(off * off) / (width * width * 0.08f)) * std::exp(-r / 300.0f);
      Colour& p = c.At(x, y);
      p.r += beam * 0.35f + core * 0.6f;
      p.g += beam * 0.55f + core * 0.8f;
      p.b += beam * 0.95f + core * 1.0f;
    }
}

// Dipole field lines r = L sin^2(theta) around the magnetic axis.
void FieldLines(Canvas& c, float cx, float cy, float axis) {
  for (int i = 0; i < 7; ++i) {
    float L = 70.0f + i * 38.0f;
    float alpha = 0.34f - i * 0.035f;
    for (int side = -1; side <= 1; side += 2) {
      float px = 0, py = 0;
      bool first = true;
      for (int s = 1; s < 180; ++s) {
        float theta = s / 180.0f * kPi;
        float r = L * std::sin(theta) * std::sin(theta);
        float lx = r * std::cos(theta), ly = side * r * std::sin(theta);
        float x = cx + lx * std::cos(axis) - ly * std::sin(axis);
        float y = cy + lx * std::sin(axis) + ly * std::cos(axis);
        if (!first) c.Line(px, py, x, y, 1.4f, {0.55f, 0.75f, 1.0f, alpha});
        px = x;
        py = y;
        first = false;
      }
    }
  }
}

}  // namespace

bool WriteLoadingPicture(const std::string& path, const TextPainter& bold, const TextPainter& regular) {
  Canvas c(1280, 720);
  Background(c);
  const float cx = 640.0f, cy = 300.0f;
  const float axis = -1.05f;
  FieldLines(c, cx, cy, axis);
  Beams(c, cx, cy, axis);
  AddGlow(c, cx, cy, 160.0f, {0.45f, 0.35f, 0.9f, 1}, 0.55f);
  AddGlow(c, cx, cy, 26.0f, {0.9f, 0.95f, 1.0f, 1}, 1.2f);
  c.Ring(cx, cy, 0.0f, 9.0f, {1.0f, 1.0f, 1.0f, 1.0f});

  // Title block: spaced capitals, a thin rule with a lit first third, and the word below.
  bold.DrawCentred(c, "PULSAR", cx, 510.0f, 92.0f, {0.96f, 0.97f, 1.0f, 1.0f}, 22.0f);
  c.FillRect(460, 622, 820, 624, {0.45f, 0.5f, 0.7f, 0.45f});
  c.FillRect(460, 621, 580, 625, {0.75f, 0.85f, 1.0f, 0.95f});
  regular.DrawCentred(c, "loading", cx, 640.0f, 26.0f, {0.7f, 0.76f, 0.95f, 0.9f}, 9.0f);
  return c.WriteJpeg(path, 92);
}
