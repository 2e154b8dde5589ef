#include "QualleTextures.h"

#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "CellNoise.h"
#include "Noise.h"
#include "Picture.h"

namespace qualle {

namespace {

constexpr float kPi = 3.14159265358979f;

// The bell's map runs round it in u; in v from the apex (0) over the rim (0.5) to the inner apex.
float RimBand(float v) { return std::exp(-std::pow((v - 0.5f) / 0.035f, 2.0f)); }
float Canals(float u, float v) {
  const float across = std::fabs(u * 8.0f - std::floor(u * 8.0f) - 0.5f);
  return v < 0.48f ? Smoothstep(0.06f, 0.0f, across) * Smoothstep(0.02f, 0.12f, v) : 0.0f;
}
float Gonads(float u, float v) {
  // Four horseshoes on the inner surface round the top, seen through the clear jelly.
  const float a = u * 4.0f - std::floor(u * 4.0f) - 0.5f, b = (v - 0.84f) / 0.07f;
  const float ring = std::fabs(std::hypot(a * 2.4f, b) - 0.75f);
  return v > 0.7f ? Smoothstep(0.25f, 0.05f, ring) * Smoothstep(0.3f, 0.0f, b) : 0.0f;
}
float Lights(float u, float v) {
  // Sixteen bright sense organs along the margin.
  const float a = u * 16.0f - std::floor(u * 16.0f) - 0.5f;
  return std::exp(-(a * a) / 0.004f) * std::exp(-std::pow((v - 0.5f) / 0.02f, 2.0f));
}

float BellHeight(float u, float v) { return 0.6f * Canals(u, v) + 0.4f * kit::TiledFbm(kit::NoiseKind::Value, u * 16, v * 16, 16, 3, 203); }

}  // namespace

bool WriteQualleTextures(const std::string& directory) {
  const std::string at = directory + "/";
  const kit::Picture water = kit::Paint(512, 256, [](float u, float v) {
    kit::Rgba c;
    // Deep blue-black below, lighter towards the surface, a bright haze overhead with caustics.
    const float up = std::pow(1.0f - v, 2.2f);
    const float haze = std::exp(-v * v / 0.012f);
    const float caustic = std::pow(std::max(0.0f, 1.0f - 2.5f * std::fabs(kit::TiledFbm(kit::NoiseKind::Value, u * 12, (v * 2.0f) * 12, 12, 3, 211) - 0.5f)), 6.0f);
    const float streak = 0.85f + 0.15f * kit::TiledValueNoise(u * 64, (0.5f) * 64, 64, 213);
    const float light = (up * 0.22f + haze * 0.35f + caustic * up * 0.25f) * streak;
    c.r = 0.004f + 0.35f * light, c.g = 0.012f + 0.75f * light, c.b = 0.03f + 1.0f * light, c.a = 1.0f;
    return c;
  });
  const kit::Picture bell = kit::Paint(512, 512, [](float u, float v) {
    kit::Rgba c;
    const float mottle = kit::TiledFbm(kit::NoiseKind::Value, u * 16, v * 16, 16, 3, 221);
    const float dense = std::max({RimBand(v), 0.75f * Canals(u, v), 0.85f * Gonads(u, v)});
    c.r = c.g = c.b = 0.75f + 0.25f * mottle;
    c.a = std::min(1.0f, 0.22f + 0.12f * mottle + 0.7f * dense);
    return c;
  });
  const kit::Picture bellGlow = kit::Paint(512, 512, [](float u, float v) {
    kit::Rgba c;
    const float rim = RimBand(v), canal = Canals(u, v), gonad = Gonads(u, v), sense = Lights(u, v);
    const float flicker = 0.8f + 0.2f * kit::TiledValueNoise(u * 32, v * 32, 32, 231);
    c.r = (0.02f + 0.25f * rim + 0.12f * canal + 0.85f * gonad + 0.9f * sense) * flicker;
    c.g = (0.04f + 0.75f * rim + 0.35f * canal + 0.25f * gonad + 1.0f * sense) * flicker;
    c.b = (0.08f + 0.95f * rim + 0.45f * canal + 0.6f * gonad + 1.0f * sense) * flicker;
    c.a = 1.0f;
    return c;
  });
  const kit::Picture tentacle = kit::Paint(64, 256, [](float u, float v) {
    kit::Rgba c;
    // Rings of stinging cells down the length, alternating cyan and rose.
    const float ring = v * 40.0f - std::floor(v * 40.0f);
    const float dot = std::exp(-std::pow((ring - 0.5f) / 0.12f, 2.0f));
    const bool rose = static_cast<int>(std::floor(v * 40.0f)) % 3 == 0;
    const float fade = 1.0f - 0.6f * v;
    c.r = (0.05f + (rose ? 0.9f : 0.3f) * dot) * fade, c.g = (0.08f + (rose ? 0.3f : 0.8f) * dot) * fade;
    c.b = (0.15f + (rose ? 0.6f : 1.0f) * dot) * fade, c.a = 1.0f;
    (void)u;
    return c;
  });
  const kit::Picture arm = kit::Paint(256, 256, [](float u, float v) {
    kit::Rgba c;
    const float ruffle = kit::TiledFbm(kit::NoiseKind::Value, (u * 1.0f) * 8, v * 8, 8, 4, 241);
    c.r = 0.9f + 0.1f * ruffle, c.g = 0.75f + 0.2f * ruffle, c.b = 0.9f;
    c.a = 0.35f + 0.55f * Smoothstep(0.35f, 0.75f, ruffle);
    return c;
  });
  const kit::Picture armGlow = kit::Paint(256, 256, [](float u, float v) {
    kit::Rgba c;
    const float edge = Smoothstep(0.55f, 0.8f, kit::TiledFbm(kit::NoiseKind::Value, u * 8, v * 8, 8, 4, 241));
    c.r = 0.05f + 0.45f * edge, c.g = 0.02f + 0.12f * edge, c.b = 0.08f + 0.35f * edge, c.a = 1.0f;
    return c;
  });
  const kit::Picture shaft = kit::Paint(128, 256, [](float u, float v) {
    kit::Rgba c;
    const float streaks = 0.4f + 0.6f * kit::TiledFbm(kit::NoiseKind::Value, u * 16, (0.3f + 0.1f * v) * 16, 16, 3, 251);
    const float fade = std::pow(1.0f - v, 1.4f) * Smoothstep(0.0f, 0.08f, v);
    c.r = 0.35f * streaks, c.g = 0.6f * streaks, c.b = 0.75f * streaks;
    c.a = 0.16f * streaks * fade;
    return c;
  });
  return kit::WriteTexture(water, kit::TextureKind::Colour, at + "qualle_water.png") && kit::WriteTexture(bell, kit::TextureKind::Colour, at + "qualle_bell.png") &&
         kit::WriteTexture(bellGlow, kit::TextureKind::Luminance, at + "qualle_bell_glow.png") &&
         kit::WriteTexture(kit::NormalMapFromHeight(256, 0.016f, BellHeight), kit::TextureKind::Normal, at + "qualle_bell_n.png") &&
         kit::WriteTexture(tentacle, kit::TextureKind::Luminance, at + "qualle_tentacle.png") && kit::WriteTexture(arm, kit::TextureKind::Colour, at + "qualle_arm.png") &&
         kit::WriteTexture(armGlow, kit::TextureKind::Luminance, at + "qualle_arm_glow.png") && kit::WriteTexture(shaft, kit::TextureKind::Colour, at + "qualle_shaft.png");
}

}  // namespace qualle
