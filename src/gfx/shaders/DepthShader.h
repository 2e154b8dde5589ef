#pragma once
// Depth from the light (shadow map) or from the camera: world, view and projection only.
#include "gfx/shaders/ShaderProgram.h"

class DepthShader : public ShaderProgram {
 public:
  bool Initialize();
  bool SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view, const D3DXMATRIX& projection);
  void Render(UINT indexCount);
  void Shutdown();
};
