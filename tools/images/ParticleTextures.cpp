// The particle sprites. Each is light on black, falling to exact black well inside its border,
// because thousands of them are added on top of each other and any grey at the edges would
// show as squares.
#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "Images.h"

namespace {

constexpr float kTau = 6.2831853f;

// Distance of a pixel centre from the middle of a square canvas, 0 at the centre and 1 at the
// middle of an edge.
float Radius(int x, int y, int size) {
  const float dx = (x + 0.5f) / size * 2.0f - 1.0f, dy = (y + 0.5f) / size * 2.0f - 1.0f;
  return std::sqrt(dx * dx + dy * dy);
}

float Gauss(float x, float width) { return std::exp(-(x * x) / (width * width)); }

Colour Scaled(const Colour& c, float k) { return {c.r * k, c.g * k, c.b * k, 1.0f}; }

Colour Hue(float h) {
  h = h - std::floor(h);
  const float r = std::clamp(std::fabs(h * 6.0f - 3.0f) - 1.0f, 0.0f, 1.0f);
  const float g = std::clamp(2.0f - std::fabs(h * 6.0f - 2.0f), 0.0f, 1.0f);
  const float b = std::clamp(2.0f - std::fabs(h * 6.0f - 4.0f), 0.0f, 1.0f);
  return {r, g, b, 1.0f};
}

// A colour field inside a round sprite that fades out well before the border.
template <class Field>
Canvas RoundField(int size, Field field) {
  Canvas c(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float r = Radius(x, y, size);
      const float fade = Smoothstep(0.96f, 0.55f, r);
      if (fade <= 0.0f) continue;
      const float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      c.At(x, y) = Scaled(field(u, v, r), fade);
    }
  return c;
}

}  // namespace

// A soft round glow: a small hot core inside a wide halo.
bool WriteParticleGlow(const std::string& path) {
  const int size = 128;
  Canvas c(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float r = Radius(x, y, size);
      const float halo = std::pow(std::max(0.0f, 1.0f - r / 0.95f), 2.4f);
      const float k = std::min(1.0f, 0.55f * halo + 0.6f * Gauss(r, 0.16f));
      c.At(x, y) = {k, k, k, 1.0f};
    }
  return c.WriteJpeg(path, 95);
}

// A thin luminous ring with a faint halo either side and a whisper of membrane inside: as a
// cell's shell it reads as a bubble wall, as a deep-sea speck as a tiny glowing plankton.
bool WriteRing(const std::string& path) {
  const int size = 256;
  Canvas c(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float r = Radius(x, y, size);
      const float line = Gauss(r - 0.72f, 0.035f);
      const float halo = 0.32f * Gauss(r - 0.72f, 0.13f);
      const float membrane = 0.07f * Smoothstep(0.72f, 0.2f, r);
      const float k = std::min(1.0f, (line + halo + membrane) * Smoothstep(0.98f, 0.86f, r));
      c.At(x, y) = {k, k, k, 1.0f};
    }
  return c.WriteJpeg(path, 95);
}

// Rainbow pastel blobs swirling inside a soft disc.
bool WriteBobColours(const std::string& path) {
  return RoundField(256, [](float u, float v, float r) {
           const float angle = std::atan2(v - 0.5f, u - 0.5f) / kTau;
           const float n = FractalNoise(u * 4.0f, v * 4.0f, 4, 0xB0B5u);
           const Colour hue = Hue(angle + 0.6f * n + 0.3f * r);
           return Mix(hue, Colour{1, 1, 1, 1}, 0.25f + 0.35f * Gauss(r, 0.35f));
         })
      .WriteJpeg(path, 95);
}

// Acid green running into sulphur yellow and hot magenta along noisy bands.
bool WriteAcid(const std::string& path) {
  return RoundField(256, [](float u, float v, float) {
           const float n = FractalNoise(u * 5.0f, v * 5.0f, 5, 0xAC1Du);
           const float bands = 0.5f + 0.5f * std::sin((u * 3.0f + v * 2.0f + 4.0f * n) * kTau);
           const Colour green{0.55f, 1.0f, 0.1f, 1.0f}, yellow{1.0f, 0.95f, 0.2f, 1.0f},
               magenta{1.0f, 0.1f, 0.8f, 1.0f};
           return bands < 0.5f ? Mix(magenta, green, bands * 2.0f) : Mix(green, yellow, bands * 2.0f - 1.0f);
         })
      .WriteJpeg(path, 95);
}

// A ring of six atoms joined by bonds, each its own hue, over a faint shifting colour wash.
bool WriteMolecularLsd(const std::string& path) {
  const int size = 256;
  Canvas c = RoundField(size, [](float u, float v, float r) {
    const float n = FractalNoise(u * 3.0f, v * 3.0f, 3, 0x15Du);
    return Scaled(Hue(n * 1.5f + r * 0.8f), 0.35f);
  });
  const float centre = size * 0.5f, orbit = size * 0.24f;
  float ax[6], ay[6];
  for (int i = 0; i < 6; ++i) {
    ax[i] = centre + orbit * std::cos(kTau * i / 6.0f);
    ay[i] = centre + orbit * std::sin(kTau * i / 6.0f);
  }
  for (int i = 0; i < 6; ++i) c.Line(ax[i], ay[i], ax[(i + 1) % 6], ay[(i + 1) % 6], 5.0f, Colour{0.9f, 0.9f, 1, 1});
  for (int i = 0; i < 6; ++i) {
    c.Ring(ax[i], ay[i], 0.0f, size * 0.075f, Hue(i / 6.0f));
    c.Ring(ax[i], ay[i], 0.0f, size * 0.03f, Colour{1, 1, 1, 1});
  }
  return c.WriteJpeg(path, 95);
}
