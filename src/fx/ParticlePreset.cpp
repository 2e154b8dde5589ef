#include "fx/ParticlePreset.h"

namespace {

struct Row {
  const char* texture;
  int32_t count;
  float width, height;
  float r, g, b, a;
  bool animated;
  float eyeX, eyeY, eyeZ;
};

// Indexed by preset number, which is also the preset's type. Every preset blends additively
// around the origin.
const Row kRows[kParticlePresetCount] = {
    {"particletexture.jpg", 1000, 1.0f, 1.0f, 0.0627451f, 0.0627451f, 0.0627451f, 0.0627451f, false, 0, 0, -10},
    {"particletexture.jpg", 900, 1.0f, 1.0f, 0.5019608f, 0.5019608f, 0.5019608f, 1.0f, false, 0, 0, -10},
    {"bobcolors.jpg", 1000, 5.0f, 5.0f, 0.01568628f, 0.01568628f, 0.01568628f, 0.01568628f, true, 0, 0, -11},
    {"particletexture.jpg", 1000, 1.0f, 1.0f, 0.8000001f, 0.8000001f, 0.8000001f, 0.8000001f, false, 0, 0, -10},
    {"particletexture.jpg", 10000, 1.0f, 1.0f, 0.2745098f, 0.5098040f, 0.7058824f, 1.0f, false, 0, 0, -10},
    {"particletexture.jpg", 10000, 1.0f, 1.0f, 0.6980392f, 0.1333333f, 0.1333333f, 1.0f, false, 0, 0, -10},
    {"particletexture.jpg", 500, 0.5f, 0.25f, 0.05490197f, 0.1019608f, 0.1411765f, 0.2f, false, 0, 0, -5},
    {"formula.jpg", 250, 0.5f, 0.25f, 1.0f, 1.0f, 1.0f, 0.0f, true, 0, 0, -5},
    {"particletexture.jpg", 20000, 0.01f, 0.01f, 1.0f, 1.0f, 1.0f, 0.0f, false, 0, 0, -5},
    {"ring.jpg", 20000, 5.0f, 5.0f, 0.0254902f, 0.04117648f, 0.0882353f, 0.0f, true, 0, 0, -1},
    {"ring.jpg", 15000, 5.0f, 5.0f, 0.07803922f, 0.008235294f, 0.05215687f, 0.0f, false, 0, 0, -1},
    {"ring.jpg", 5000, 5.0f, 5.0f, 0.05411765f, 0.01686275f, 0.08862746f, 0.0f, false, 0, 0, -1},
    {"particletexture.jpg", 500000, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, false, 0, 8, 11},
    {"particletexture.jpg", 2500, 4.0f, 2.0f, 0.08039217f, 0.03607843f, 0.03607843f, 0.0f, true, 0, 0, 10},
    {"acid.jpg", 3000, 4.0f, 2.0f, 0.08039217f, 0.03607843f, 0.03607843f, 0.0f, true, 0, 0, 10},
    {"particletexture.jpg", 2000, 4.0f, 2.0f, 0.08039217f, 0.03607843f, 0.03607843f, 0.0f, true, 0, 0, 10},
    {"particletexture.jpg", 512, 3.0f, 3.0f, 0.3f, 0.09803922f, 0.4000000f, 0.0f, true, 0, 0, 10},
    {"molecular-lsd.jpg", 512, 3.0f, 3.0f, 0.15f, 0.04901961f, 0.2000000f, 0.0f, true, 0, 0, 10},
    {"ring.jpg", 20000, 0.1f, 0.1f, 0.3137255f, 0.3241830f, 0.3333333f, 0.0f, true, 0, 0, -10},
};

}  // namespace

ParticlePreset GetParticlePreset(int32_t number) {
  ParticlePreset preset;
  if (number < 0 || number >= kParticlePresetCount) return preset;
  const Row& row = kRows[number];
  preset.type = number;
  preset.textureFile = row.texture;
  preset.blendMode = 1;
  preset.count = row.count;
  preset.width = row.width;
  preset.height = row.height;
  preset.r = row.r;
  preset.g = row.g;
  preset.b = row.b;
  preset.a = row.a;
  preset.animated = row.animated;
  preset.eyeX = row.eyeX;
  preset.eyeY = row.eyeY;
  preset.eyeZ = row.eyeZ;
  return preset;
}
