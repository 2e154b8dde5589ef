// Quad vertices from a preset's percent corners, and the preset table's flags. Where each size
// class lands on screen is read back from pixels in QuadTest.
#include <gtest/gtest.h>

#include "gfx/QuadGeometry.h"
#include "gfx/QuadPreset.h"

TEST(QuadGeometry, TrianglesShareTheDiagonalAndCarryThePresetColour) {
  QuadPreset preset;
  FillQuadPreset(13, preset);  // 70, 5, 95, 30
  QuadVertex v[kQuadVertexCount];
  BuildQuadVertices(preset.corners, preset.texCoords, preset.colour, 0, 1000, 500, v);
  EXPECT_FLOAT_EQ(v[0].x, 200.0f);   // 70 % of 1000 from the centre
  EXPECT_FLOAT_EQ(v[0].y, 225.0f);   // 5 % of 500 below the top edge at +250
  EXPECT_FLOAT_EQ(v[1].x, 450.0f);
  EXPECT_FLOAT_EQ(v[1].y, 100.0f);
  EXPECT_EQ(v[3].x, v[0].x);
  EXPECT_EQ(v[5].y, v[1].y);
  for (const QuadVertex& vertex : v) {
    EXPECT_EQ(vertex.z, 1.0f);
    EXPECT_EQ(vertex.r, 1.0f);
    EXPECT_EQ(vertex.g, 0.0f);
    EXPECT_EQ(vertex.a, 0.0f);
  }
}

TEST(QuadPreset, TableRowsCarryTheirFlags) {
  QuadPreset two, three, four;
  FillQuadPreset(2, two);
  FillQuadPreset(3, three);
  FillQuadPreset(4, four);
  EXPECT_EQ(three.fileName, two.fileName);
  EXPECT_EQ(four.corners[3], two.corners[3]);

  QuadPreset vignette;
  FillQuadPreset(18, vignette);
  EXPECT_EQ(vignette.fileName, "vignette.png");
  EXPECT_EQ(vignette.alpha, 1.0f);
  EXPECT_TRUE(vignette.blend && vignette.overlay && !vignette.dynamic);

  for (int32_t caption = 19; caption <= 28; ++caption) {
    QuadPreset p;
    FillQuadPreset(caption, p);
    EXPECT_TRUE(p.dynamic && p.blend && p.overlay) << caption;
  }
  QuadPreset logo, credits;
  FillQuadPreset(27, logo);
  FillQuadPreset(28, credits);
  EXPECT_EQ(logo.fileName, "text_ozylogo.png");
  EXPECT_EQ(logo.corners[0], D3DXVECTOR2(40.0f, 40.0f));
  EXPECT_EQ(credits.corners[3], D3DXVECTOR2(100.0f, 100.0f));
}

TEST(QuadPreset, NumbersOutsideTheTableKeepTheDefaults) {
  for (int32_t number : {29, 100, -1}) {
    QuadPreset p;
    FillQuadPreset(number, p);
    EXPECT_TRUE(p.fileName.empty());
    EXPECT_EQ(p.colour, D3DXCOLOR(1.0f, 0.0f, 1.0f, 0.5f));
    EXPECT_EQ(p.alpha, 0.5f);
    EXPECT_EQ(p.corners[3], D3DXVECTOR2(0.0f, 0.0f));
    EXPECT_EQ(p.dynamic, 0);
  }
}
