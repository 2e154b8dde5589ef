#pragma once
// One key of a mesh's vertex animation: every vertex position, and the normals computed
// from them after loading.
#include <cstdint>
#include <vector>

#include "math/d3dx_math.h"

struct MorphKey {
  int32_t frame = 0;
  uint32_t time = 0;  // frame × 40 ms
  int32_t interpolation = 0;
  int32_t vertexCount = 0;
  std::vector<D3DXVECTOR3> positions;
  std::vector<D3DXVECTOR3> normals;
};
