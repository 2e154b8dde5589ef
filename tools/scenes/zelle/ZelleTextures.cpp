#include "ZelleTextures.h"

#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "CellNoise.h"
#include "Noise.h"
#include "Picture.h"

namespace zelle {

namespace {

constexpr float kPi = 3.14159265358979f;

float MembraneHeight(float u, float v) {
  const float cells = kit::TiledCellDistance(u * 14, v * 14, 14, 3);
  return 0.7f * Smoothstep(0.0f, 0.7f, cells) * -1.0f + 0.3f * kit::TiledFbm(kit::NoiseKind::Value, u * 32, v * 32, 32, 3, 9);
}

float ChromatinHeight(float u, float v) {
  const float n = kit::TiledFbm(kit::NoiseKind::Value, u * 8, v * 8, 8, 5, 31);
  return 1.0f - std::fabs(2.0f * n - 1.0f);  // ridges: threads of chromatin
}

float CristaeHeight(float u, float v) {
  const float wiggle = 0.08f * (kit::TiledValueNoise(u * 6, v * 6, 6, 41) - 0.5f);
  return 0.5f + 0.5f * std::sin((v + wiggle) * 2.0f * kPi * 9.0f);
}

}  // namespace

bool WriteZelleTextures(const std::string& directory) {
  const std::string at = directory + "/";
  const kit::Picture membrane = kit::Paint(512, 512, [](float u, float v) {
    kit::Rgba c;
    const float mottle = kit::TiledFbm(kit::NoiseKind::Value, u * 8, v * 8, 8, 5, 1);
    const float cells = Smoothstep(0.05f, 0.6f, kit::TiledCellDistance(u * 14, v * 14, 14, 3));
    const float value = 0.7f + 0.3f * mottle;
    c.r = value * 0.95f, c.g = value, c.b = value * (0.92f + 0.08f * cells);
    c.a = 0.55f + 0.35f * mottle + 0.1f * (1.0f - cells);  // thicker skin where the cells meet
    return c;
  });
  const kit::Picture halo = kit::Paint(512, 256, [](float u, float v) {
    kit::Rgba c;
    // A bright microscope field all round, strongest overhead and behind.
    const float polar = v * kPi, azimuth = (u - 0.5f) * 2.0f * kPi;
    const float up = 0.5f + 0.5f * std::cos(polar);
    const float behind = 0.5f + 0.5f * std::cos(azimuth);
    const float glow = 0.45f + 0.35f * up + 0.2f * behind + 0.08f * kit::TiledFbm(kit::NoiseKind::Value, u * 4, v * 4, 4, 3, 77);
    c.r = 0.55f * glow, c.g = 0.95f * glow, c.b = 0.85f * glow, c.a = 1.0f;
    return c;
  });
  const kit::Picture chromatin = kit::Paint(512, 512, [](float u, float v) {
    kit::Rgba c;
    const float threads = ChromatinHeight(u, v);
    const float speckle = kit::TiledFbm(kit::NoiseKind::Value, u * 64, v * 64, 64, 2, 33);
    const float value = 0.45f + 0.45f * Smoothstep(0.55f, 0.95f, threads) + 0.1f * speckle;
    c.r = value, c.g = value * 0.95f, c.b = value, c.a = 0.6f + 0.4f * threads;
    return c;
  });
  const kit::Picture mito = kit::Paint(256, 256, [](float u, float v) {
    kit::Rgba c;
    const float folds = CristaeHeight(u, v);
    const float value = 0.6f + 0.4f * folds * (0.8f + 0.2f * kit::TiledValueNoise(u * 16, v * 16, 16, 45));
    c.r = value, c.g = value * 0.92f, c.b = value * 0.85f, c.a = 1.0f;
    return c;
  });
  const kit::Picture fibre = kit::Paint(64, 64, [](float u, float v) {
    kit::Rgba c;
    const float flicker = 0.8f + 0.2f * kit::TiledValueNoise(u * 8, v * 8, 8, 51);
    c.r = 0.55f * flicker, c.g = 1.0f * flicker, c.b = 0.85f * flicker, c.a = 1.0f;
    return c;
  });
  const kit::Picture nucleolus = kit::Paint(64, 64, [](float u, float v) {
    kit::Rgba c;
    const float grain = 0.7f + 0.3f * kit::TiledFbm(kit::NoiseKind::Value, u * 8, v * 8, 8, 2, 61);
    c.r = 0.3f * grain, c.g = 0.1f * grain, c.b = 0.36f * grain, c.a = 1.0f;
    return c;
  });
  return kit::WriteTexture(membrane, kit::TextureKind::Colour, at + "zelle_membrane.png") &&
         kit::WriteTexture(kit::NormalMapFromHeight(512, 0.01f, MembraneHeight), kit::TextureKind::Normal, at + "zelle_membrane_n.png") &&
         kit::WriteTexture(halo, kit::TextureKind::Colour, at + "zelle_halo.png") && kit::WriteTexture(chromatin, kit::TextureKind::Colour, at + "zelle_chromatin.png") &&
         kit::WriteTexture(kit::NormalMapFromHeight(512, 0.016f, ChromatinHeight), kit::TextureKind::Normal, at + "zelle_chromatin_n.png") &&
         kit::WriteTexture(mito, kit::TextureKind::Colour, at + "zelle_mito.png") && kit::WriteTexture(kit::NormalMapFromHeight(256, 0.023f, CristaeHeight), kit::TextureKind::Normal, at + "zelle_mito_n.png") &&
         kit::WriteTexture(fibre, kit::TextureKind::Luminance, at + "zelle_fibre.png") && kit::WriteTexture(nucleolus, kit::TextureKind::Luminance, at + "zelle_nucleolus.png");
}

}  // namespace zelle
