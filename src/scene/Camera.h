#pragma once
// A scene camera: looks from its position at its target polyobject.
#include "scene/SceneObject.h"

class Camera : public SceneObject {
 public:
  uint64_t targetId = 0;
  D3DXMATRIX view;  // computed by the scene update
};
