#pragma once
// Screen-space ambient occlusion from the camera depth image and a tiled noise texture.
#include "gfx/shaders/ScreenBuffers.h"
#include "gfx/shaders/ShaderProgram.h"

class SSAOShader : public ShaderProgram {
 public:
  ID3D11Buffer* screenBuffer = nullptr;
  ID3D11ShaderResourceView* texture0 = nullptr;
  ID3D11ShaderResourceView* texture1 = nullptr;

  bool Initialize();
  bool SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                           const D3DXVECTOR2* screenSize);
  void Render(UINT indexCount);
  void Shutdown();
};
