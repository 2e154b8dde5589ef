#pragma once
// The scene's ambient light.
#include "math/d3dx_math.h"

class Environment {
 public:
  D3DXCOLOR ambientColor{0.0f, 0.0f, 0.0f, 1.0f};  // alpha 1
  float environmentValue = 0.0f;
};
