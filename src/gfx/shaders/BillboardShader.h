#pragma once
// Particles: each point becomes a textured square facing the camera in the geometry shader.
#include "gfx/shaders/ShaderProgram.h"

class BillboardShader : public ShaderProgram {
 public:
  bool Initialize();
  bool SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                           ID3D11ShaderResourceView* texture);
  // Draws `vertexCount` points with the caller's topology and vertex buffer, then unbinds the
  // geometry shader so the next draw of another program is not expanded.
  void Render(UINT vertexCount);
  void Shutdown();
};
