#pragma once
// The six vertices of a screen quad: corners in percent of the screen mapped onto the pixel
// space of a full, half or quarter target, origin in its centre and Y upwards, to match the
// orthographic projection of that size.
#include <cstdint>

#include "math/d3dx_math.h"

struct QuadVertex {
  float x, y, z;
  float r, g, b, a;
  float u, v;
};
static_assert(sizeof(QuadVertex) == 36, "the quad input layout is 36 bytes a vertex");

constexpr uint32_t kQuadVertexCount = 6;

// 1 for size class 0 (full), 0.5 for 1 (half), 0.25 for 2 (quarter).
float SizeClassScale(int32_t sizeClass);

// Two triangles: top-left, bottom-right, bottom-left; top-left, top-right, bottom-right.
void BuildQuadVertices(const D3DXVECTOR2 corners[4], const D3DXVECTOR2 texCoords[4], const D3DXCOLOR& colour,
                       int32_t sizeClass, int32_t width, int32_t height, QuadVertex out[kQuadVertexCount]);
