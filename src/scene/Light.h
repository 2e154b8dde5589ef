#pragma once
// A scene light: points from its position at its target polyobject.
#include <vector>

#include "scene/SceneObject.h"

class Light : public SceneObject {
 public:
  bool Lists(uint64_t objectId) const;

  uint64_t targetId = 0;
  std::vector<uint64_t> objectList;
  bool listed = false;  // whether the mesh being drawn is in objectList
  int32_t type = 0;
  D3DXCOLOR color;  // alpha 0
  float multiplier = 0.0f;
  float shaderParamA = 0.0f;
  float shaderParamB = 0.0f;
  D3DXVECTOR3 direction;
  const float lightTerms[3] = {1.0f, 0.001f, 0.0f};
  // Matrices of the shadow depth pass.
  D3DXMATRIX lightView;
  D3DXMATRIX lightProjection;
};
