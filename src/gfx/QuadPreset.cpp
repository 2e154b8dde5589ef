#include "gfx/QuadPreset.h"

namespace {

struct PresetRow {
  const char* fileName;
  float r, g, b, a;
  int32_t blend;
  float alpha;
  int32_t overlay;
  int32_t dynamic;
  float left, top, right, bottom;
};

// One row per preset number.
constexpr PresetRow kRows[kQuadPresetCount] = {
    {"", 1, 0, 1, 0, 0, 0.0f, 0, 0, 0, 0, 100, 100},                      // 0 solid copy
    {"loading.jpg", 1, 0, 1, 0, 0, 0.0f, 0, 0, 0, 0, 100, 100},           // 1 loading picture
    {"", 1, 0, 1, 0, 0, 0.0f, 0, 0, 0, 0, 100, 100},                      // 2 blur passes
    {"", 1, 0, 1, 0, 0, 0.0f, 0, 0, 0, 0, 100, 100},                      // 3 texture mix
    {"", 1, 0, 1, 0, 0, 0.0f, 0, 0, 0, 0, 100, 100},                      // 4 SSAO
    {"ssaonoise.png", 1, 1, 1, 0, 0, 0.5f, 0, 0, 0, 0, 100, 100},         // 5 noise
    {"", 1, 0, 1, 0, 0, 0.0f, 0, 0, 0, 0, 100, 100},                      // 6 solid copies
    {"", 1, 0, 1, 0, 1, 0.5f, 0, 0, 0, 0, 100, 100},                      // 7 blended copies
    {"", 0, 0, 0, 0, 1, 0.5f, 0, 0, 0, 0, 100, 100},                      // 8 black fader
    {"", 1, 1, 1, 0, 1, 0.5f, 0, 0, 0, 0, 100, 100},                      // 9
    {"", 1, 1, 1, 0, 1, 0.5f, 0, 0, 0, 0, 100, 100},                      // 10 cross fader
    {"radial.png", 1, 1, 1, 0, 1, 0.5f, 1, 0, 0, 0, 100, 100},            // 11 flasher
    {"", 1, 0, 1, 0, 0, 0.0f, 0, 0, 5, 5, 30, 30},                        // 12 preview top left
    {"", 1, 0, 1, 0, 0, 0.0f, 0, 0, 70, 5, 95, 30},                       // 13 preview top right
    {"", 1, 0, 1, 0, 0, 0.0f, 0, 0, 5, 70, 30, 95},                       // 14 preview bottom left
    {"", 1, 0, 1, 0, 0, 0.0f, 0, 0, 70, 70, 95, 95},                      // 15 preview bottom right
    {"testbild.jpg", 1, 0, 1, 0, 0, 0.0f, 0, 0, 0, 0, 100, 100},          // 16 test card
    {"flagge_bg.jpg", 1, 0, 1, 0, 0, 0.0f, 0, 0, 0, 0, 100, 100},         // 17 flag sky
    {"vignette.png", 1, 0, 1, 0, 1, 1.0f, 1, 0, 0, 0, 100, 100},          // 18 vignette
    {"", 1, 0, 1, 0, 1, 0.5f, 1, 1, 40, 40, 60, 60},                      // 19
    {"text_tunnel.png", 1, 0, 1, 0, 1, 0.5f, 1, 1, 40, 40, 60, 60},       // 20 captions
    {"text_magnet.png", 1, 0, 1, 0, 1, 0.5f, 1, 1, 40, 40, 60, 60},       // 21
    {"text_zelle.png", 1, 0, 1, 0, 1, 0.5f, 1, 1, 40, 40, 60, 60},        // 22
    {"text_qualle.png", 1, 0, 1, 0, 1, 0.5f, 1, 1, 40, 40, 60, 60},       // 23
    {"text_face.png", 1, 0, 1, 0, 1, 0.5f, 1, 1, 40, 40, 60, 60},         // 24
    {"text_blob.png", 1, 0, 1, 0, 1, 0.5f, 1, 1, 40, 40, 60, 60},         // 25
    {"text_softbodies.png", 1, 0, 1, 0, 1, 0.5f, 1, 1, 40, 40, 60, 60},   // 26
    {"text_ozylogo.png", 1, 0, 1, 0, 1, 0.5f, 1, 1, 40, 40, 60, 60},      // 27
    {"text_credits.png", 1, 0, 1, 0, 1, 0.5f, 1, 1, 0, 0, 100, 100},      // 28 credits
};

}  // namespace

void FillQuadPreset(int32_t number, QuadPreset& preset) {
  if (number < 0 || number >= kQuadPresetCount) return;
  const PresetRow& row = kRows[number];
  preset.fileName = row.fileName;
  preset.colour = D3DXCOLOR(row.r, row.g, row.b, row.a);
  preset.blend = row.blend;
  preset.alpha = row.alpha;
  preset.overlay = row.overlay;
  preset.dynamic = row.dynamic;
  preset.corners[0] = D3DXVECTOR2(row.left, row.top);
  preset.corners[1] = D3DXVECTOR2(row.right, row.top);
  preset.corners[2] = D3DXVECTOR2(row.left, row.bottom);
  preset.corners[3] = D3DXVECTOR2(row.right, row.bottom);
  preset.texCoords[0] = D3DXVECTOR2(0.0f, 0.0f);
  preset.texCoords[1] = D3DXVECTOR2(1.0f, 0.0f);
  preset.texCoords[2] = D3DXVECTOR2(0.0f, 1.0f);
  preset.texCoords[3] = D3DXVECTOR2(1.0f, 1.0f);
}
