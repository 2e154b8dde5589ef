#include "FratzeTextures.h"

#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "CellNoise.h"
#include "FaceSculpt.h"
#include "Noise.h"
#include "Picture.h"

namespace fratze {

namespace {


constexpr float kLipsV = 0.02f;                  // how far the lips reach beyond the mouth band

float Ellipse(float u, float v, float cu, float cv, float ru, float rv) {
  return std::hypot((u - cu) / ru, (v - cv) / rv);
}

// Raw flesh where the stone has come away: round the eyes, the lips and inside the mouth, and in
// the widest cracks. 1 flesh, 0 stone.
float Flesh(float u, float v) {
  float eyeU, eyeV;
  PictureCoordinates(0.33f, 0.13f, &eyeU, &eyeV);
  const float eyes = std::min(Ellipse(u, v, 1.0f - eyeU, eyeV, 0.07f, 0.05f), Ellipse(u, v, eyeU, eyeV, 0.07f, 0.05f));
  float flesh = Smoothstep(1.2f, 0.8f, eyes + 0.25f * kit::TiledFbm(kit::NoiseKind::Value, u * 16, v * 16, 16, 3, 301));
  const float mouth = Smoothstep(kBandTop - kLipsV - 0.01f, kBandTop - kLipsV * 0.4f, v) *
                      Smoothstep(kBandBottom + kLipsV + 0.01f, kBandBottom + kLipsV * 0.4f, v) * Smoothstep(0.17f, 0.11f, std::fabs(u - 0.5f));
  flesh = std::max(flesh, mouth);
  return flesh;
}

// Cracks: the edges of a coarse cell pattern, ragged by noise.
float Crack(float u, float v) {
  // A crack is where two noise fields cross over; it fades out in places so it does not close into shapes.
  const float a = kit::TiledFbm(kit::NoiseKind::Value, u * 6, v * 6, 6, 4, 313) - 0.5f;
  const float fade = Smoothstep(0.45f, 0.6f, kit::TiledFbm(kit::NoiseKind::Value, u * 4, v * 4, 4, 2, 317));
  return Smoothstep(0.012f, 0.0f, std::fabs(a)) * fade;
}

float FaceHeight(float u, float v) {
  const float grain = kit::TiledFbm(kit::NoiseKind::Value, u * 64, v * 64, 64, 4, 321);
  const float pores = kit::TiledFbm(kit::NoiseKind::Value, u * 256, v * 256, 256, 1, 323);
  const float flesh = Flesh(u, v);
  return (1.0f - flesh) * (0.5f * grain - 0.8f * Crack(u, v)) + flesh * (0.06f * pores + 0.25f * grain);
}

float WallHeight(float u, float v) {
  // Rough-hewn stones of uneven size, pitted.
  const float wobble = 0.04f * (kit::TiledFbm(kit::NoiseKind::Value, u * 8, v * 8, 8, 3, 333) - 0.5f);
  const float stones = kit::TiledCellDistance((u + wobble) * 5, v * 5, 5, 335);
  return Smoothstep(0.62f, 0.12f, stones) * (0.6f + 0.4f * kit::TiledFbm(kit::NoiseKind::Value, u * 16, v * 16, 16, 4, 331));
}

}  // namespace

bool WriteFratzeTextures(const std::string& directory) {
  const std::string at = directory + "/";
  const kit::Picture face = kit::Paint(1024, 1024, [](float u, float v) {
    kit::Rgba c;
    const float grain = kit::TiledFbm(kit::NoiseKind::Value, u * 32, v * 32, 32, 4, 341);
    const float stone = 0.55f + 0.3f * grain;
    const float crack = Crack(u, v);
    const float flesh = std::max(Flesh(u, v), 0.85f * crack);
    // Inside the mouth the flesh darkens towards the throat.
    const float band = (v - kBandTop) / (kBandBottom - kBandTop);
    const float throat = band > 0.0f && band < 1.0f ? 1.0f - 0.8f * std::sin(band * 3.14159265f) : 1.0f;
    const float wet = 0.75f + 0.25f * kit::TiledFbm(kit::NoiseKind::Value, u * 64, v * 64, 64, 2, 343);
    const float r = stone * 0.92f * (1.0f - flesh) + flesh * 0.62f * wet * throat;
    const float g = stone * 0.9f * (1.0f - flesh) + flesh * 0.12f * wet * throat;
    const float b = stone * 0.86f * (1.0f - flesh) + flesh * 0.1f * wet * throat;
    // The neck sinks into shadow below the chin.
    const float shade = Smoothstep(1.0f, 0.8f, v);
    c.r = r * shade, c.g = g * shade, c.b = b * shade, c.a = 1.0f;
    return c;
  });
  const kit::Picture eye = kit::Paint(128, 64, [](float u, float v) {
    kit::Rgba c;
    // An ember iris facing forward with a dark slit for a pupil.
    const float d = Ellipse(u, v, 0.5f, 0.5f, 0.09f, 0.17f);
    const float iris = Smoothstep(1.0f, 0.6f, d), slit = Smoothstep(0.025f, 0.01f, std::fabs(u - 0.5f)) * Smoothstep(0.9f, 0.5f, d);
    const float fire = 0.7f + 0.3f * kit::TiledFbm(kit::NoiseKind::Value, u * 8, v * 8, 8, 2, 351);
    c.r = (1.0f * iris * fire + 0.05f) * (1.0f - slit), c.g = (0.42f * iris * fire + 0.01f) * (1.0f - slit);
    c.b = (0.1f * iris) * (1.0f - slit), c.a = 1.0f;
    return c;
  });
  const kit::Picture teeth = kit::Paint(64, 256, [](float u, float v) {
    kit::Rgba c;
    // u round the row's section (front, edge, back, root), v along the mouth: eleven teeth.
    const float gap = Smoothstep(0.06f, 0.0f, std::fabs(std::sin(v * 3.14159265f * 11.0f)));
    const float gum = Smoothstep(0.72f, 0.8f, u);
    const float stain = 0.8f + 0.2f * kit::TiledFbm(kit::NoiseKind::Value, u * 8, v * 8, 8, 2, 361);
    c.r = stain * (1.0f - 0.7f * gap) * (1.0f - gum) + gum * 0.55f;
    c.g = stain * 0.95f * (1.0f - 0.7f * gap) * (1.0f - gum) + gum * 0.15f;
    c.b = stain * 0.8f * (1.0f - 0.7f * gap) * (1.0f - gum) + gum * 0.15f;
    c.a = 1.0f;
    return c;
  });
  const kit::Picture wall = kit::Paint(512, 512, [](float u, float v) {
    kit::Rgba c;
    const float h = WallHeight(u, v);
    const float damp = kit::TiledFbm(kit::NoiseKind::Value, u * 4, v * 4, 4, 3, 371);
    const float value = 0.2f + 0.35f * h * (0.6f + 0.4f * damp);
    c.r = value, c.g = value * 0.96f, c.b = value * 0.9f, c.a = 1.0f;
    return c;
  });
  return kit::WriteTexture(face, kit::TextureKind::Colour, at + "fratze_face.png") && kit::WriteTexture(kit::NormalMapFromHeight(512, 0.012f, FaceHeight), kit::TextureKind::Normal, at + "fratze_face_n.png") &&
         kit::WriteTexture(eye, kit::TextureKind::Luminance, at + "fratze_eye.png") && kit::WriteTexture(teeth, kit::TextureKind::Colour, at + "fratze_teeth.png") &&
         kit::WriteTexture(wall, kit::TextureKind::Colour, at + "fratze_wall.png") && kit::WriteTexture(kit::NormalMapFromHeight(512, 0.016f, WallHeight), kit::TextureKind::Normal, at + "fratze_wall_n.png");
}

}  // namespace fratze
