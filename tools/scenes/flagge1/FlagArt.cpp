#include "FlagArt.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Noise.h"

namespace flag {

namespace {

using kit::kPi;
using kit::Vec2;

float Smooth(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

float SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// The emblem in a unit box centred on (0, 0), y up: coverage of the gold ring and of the pulse.
void Emblem(Vec2 p, float pixel, float* ring, float* pulse) {
  const float r = std::hypot(p.x, p.y);
  *ring = Smooth(pixel, -pixel, std::fabs(r - 0.78f) - 0.07f);
  static const Vec2 line[] = {{-1.15f, 0.0f}, {-0.45f, 0.0f}, {-0.3f, 0.18f}, {-0.15f, -0.2f}, {0.0f, 0.85f},
                              {0.16f, -0.72f}, {0.32f, 0.26f}, {0.44f, 0.0f}, {1.15f, 0.0f}};
  float d = 1e9f;
  for (size_t i = 0; i + 1 < sizeof(line) / sizeof(line[0]); ++i) d = std::min(d, SegmentDistance(p, line[i], line[i + 1]));
  *pulse = Smooth(pixel, -pixel, d - 0.055f);
}

float Weave(float u, float v) {
  // Threads over and under: two sets of ridges, each shaded along its length.
  const float warp = std::sin(u * 2 * kPi * 48), weft = std::sin(v * 2 * kPi * 48);
  return 0.5f + 0.25f * warp * (weft > 0 ? 1.0f : 0.4f) + 0.25f * weft * (warp > 0 ? 0.4f : 1.0f);
}

}  // namespace

kit::Picture EmblemBanner(int width, int height) {
  const float aspect = static_cast<float>(width) / height;
  const float pixel = 2.0f / height / 0.7f;
  return kit::Paint(width, height, [&](float u, float v) {
    const float grain = kit::TiledFbm(kit::NoiseKind::Value, u * 16, v * 16, 16, 4, 41);
    const float weave = Weave(u * aspect, v);
    // Crimson, darker towards the hoist where the sleeve doubles the cloth.
    kit::Rgba c{0.62f, 0.07f, 0.09f, 1.0f};
    const float shade = (0.82f + 0.18f * grain) * (0.92f + 0.08f * weave);
    c.r *= shade, c.g *= shade, c.b *= shade;
    const float sleeve = Smooth(0.075f, 0.06f, u);
    c.r *= 1.0f - 0.35f * sleeve, c.g *= 1.0f - 0.35f * sleeve, c.b *= 1.0f - 0.35f * sleeve;
    const kit::Rgba gold{0.95f, 0.7f, 0.25f, 1.0f};
    auto lay = [&c](kit::Rgba top, float amount) {
      c.r += (top.r - c.r) * amount, c.g += (top.g - c.g) * amount, c.b += (top.b - c.b) * amount;
    };
    // Two gold hems near the top and bottom edges.
    const float hem = std::max(Smooth(0.004f, 0.0f, std::fabs(v - 0.07f) - 0.014f), Smooth(0.004f, 0.0f, std::fabs(v - 0.93f) - 0.014f));
    lay(gold, hem * (u > 0.08f ? 1.0f : 0.0f));
    float ring = 0.0f, pulse = 0.0f;
    Emblem({(u - 0.55f) * aspect / 0.34f, (0.5f - v) / 0.34f}, pixel, &ring, &pulse);
    // A dark halo under the emblem lifts it off the cloth.
    float haloRing = 0.0f, haloPulse = 0.0f;
    Emblem({(u - 0.55f) * aspect / 0.34f, (0.5f - v) / 0.34f}, pixel * 6, &haloRing, &haloPulse);
    lay({0.2f, 0.02f, 0.03f, 1.0f}, 0.5f * std::max(haloRing, haloPulse));
    lay(gold, ring * (0.9f + 0.1f * weave));
    lay({1.0f, 0.93f, 0.75f, 1.0f}, pulse);
    return c;
  });
}

kit::Picture PennantBanner(int width, int height) {
  const float aspect = static_cast<float>(width) / height;
  const float pixel = 2.0f / height / 0.6f;
  return kit::Paint(width, height, [&](float u, float v) {
    const float grain = kit::TiledFbm(kit::NoiseKind::Value, u * 12, v * 12, 12, 4, 77);
    float value = (0.78f + 0.2f * grain) * (0.93f + 0.07f * Weave(u * aspect, v));
    // A pale chevron pointing to the fly end, and the emblem ring in white near the hoist.
    const float chevron = Smooth(0.006f, 0.0f, std::fabs(std::fabs(v - 0.5f) * 0.9f - (u - 0.45f) * 0.6f) - 0.05f) *
                          Smooth(0.38f, 0.42f, u);
    float ring = 0.0f, pulse = 0.0f;
    kit::Rgba c{value, value, value, 1.0f};
    Emblem({(u - 0.2f) * aspect / 0.3f, (0.5f - v) / 0.3f}, pixel, &ring, &pulse);
    const float mark = std::max(std::max(ring, pulse), chevron);
    c.r = c.g = c.b = value + (1.15f - value) * mark;
    c.r = std::min(c.r, 1.0f), c.g = std::min(c.g, 1.0f), c.b = std::min(c.b, 1.0f);
    return c;
  });
}

kit::Picture ClothNormal(int size) {
  return kit::NormalMapFromHeight(size, 0.004f, [](float u, float v) {
    return 0.4f * Weave(u * 4, v * 4) + 1.5f * kit::TiledFbm(kit::NoiseKind::Gradient, u * 6, v * 6, 6, 3, 5);
  });
}

void DuskLight(float x, float y, float z, float rgb[3]) {
  const float length = std::max(std::sqrt(x * x + y * y + z * z), 1e-6f);
  x /= length, y /= length, z /= length;
  // Sun low in the west (towards −x, a little +z).
  const float sun = std::max(0.0f, -x * 0.92f + z * 0.3f + y * 0.25f);
  const float glow = std::pow(sun, 8.0f) * 1.4f + std::pow(sun, 90.0f) * 3.0f;
  if (y >= 0.0f) {
    const float up = std::pow(y, 0.6f);
    rgb[0] = 0.95f + (0.1f - 0.95f) * up + glow;
    rgb[1] = 0.55f + (0.12f - 0.55f) * up + glow * 0.7f;
    rgb[2] = 0.35f + (0.3f - 0.35f) * up + glow * 0.35f;
  } else {
    const float down = std::min(-y * 6.0f, 1.0f);
    rgb[0] = 0.35f * (1 - down) + 0.05f * down;
    rgb[1] = 0.18f * (1 - down) + 0.04f * down;
    rgb[2] = 0.14f * (1 - down) + 0.05f * down;
  }
  for (int c = 0; c < 3; ++c) rgb[c] = std::min(rgb[c], 1.0f);
}

kit::Picture DuskPanorama(int width, int height) { return kit::Panorama(width, height, DuskLight); }

kit::Vec3 Wind(kit::Vec3 rest, float length, float height, float seconds, unsigned seed) {
  const float s = std::clamp(rest.x / length, 0.0f, 1.0f);  // 0 at the hoist, 1 at the fly end
  const float h = -rest.y / height;  // 0 at the top edge, 1 at the bottom
  const float phase = static_cast<float>(seed % 97) * 0.61f;
  // Gusts: a slow swell on the bar (2.76 s) and a noisy flutter on top.
  const float gust = 0.6f + 0.25f * std::sin(2 * kPi * seconds / 2.76f + phase) +
                     0.25f * kit::GradientNoise(seconds * 0.9f, phase, 0.5f, seed);
  const float amplitude = std::pow(s, 1.1f) * length * (0.08f + 0.1f * gust);
  const float travel = 2 * kPi * (s * 1.5f - seconds * (1.0f + 0.4f * gust)) + h * 0.9f + phase;
  float wave = 0.72f * std::sin(travel) + 0.28f * std::sin(2.1f * travel + 1.3f * h + 0.7f);
  wave += 0.5f * kit::GradientNoise(s * 2.5f - seconds * 1.6f, h * 2.0f, seconds * 0.4f, seed + 3);
  kit::Vec3 moved = rest;
  moved.z = rest.z + amplitude * wave;
  // Billowing takes up length; a lull lets the free corner droop.
  moved.x = rest.x - s * length * 0.05f * (0.5f + 0.5f * std::fabs(wave)) * (0.6f + 0.4f * gust);
  moved.y = rest.y - s * s * height * 0.18f * (1.0f - gust) - s * height * 0.03f;
  return moved;
}

}  // namespace flag
