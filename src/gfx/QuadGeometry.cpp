#include "gfx/QuadGeometry.h"

float SizeClassScale(int32_t sizeClass) {
  switch (sizeClass) {
    case 1: return 0.5f;
    case 2: return 0.25f;
    default: return 1.0f;
  }
}

void BuildQuadVertices(const D3DXVECTOR2 corners[4], const D3DXVECTOR2 texCoords[4], const D3DXCOLOR& colour,
                       int32_t sizeClass, int32_t width, int32_t height, QuadVertex out[kQuadVertexCount]) {
  const float s = SizeClassScale(sizeClass);
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const float halfWidth = w * 0.5f * s, halfHeight = h * 0.5f * s;
  const float unitX = w / 100.0f * s, unitY = h / 100.0f * s;
  static constexpr int kCornerOfVertex[kQuadVertexCount] = {0, 3, 2, 0, 1, 3};
  for (uint32_t i = 0; i < kQuadVertexCount; ++i) {
    const int c = kCornerOfVertex[i];
    out[i] = QuadVertex{corners[c].x * unitX - halfWidth,
                        halfHeight - corners[c].y * unitY,
                        1.0f,
                        colour.r,
                        colour.g,
                        colour.b,
                        colour.a,
                        texCoords[c].x,
                        texCoords[c].y};
  }
}
