#pragma once
// Combines two images by mode: bloom, ambient occlusion, blurred image.
#include <cstdint>

#include "gfx/shaders/ScreenBuffers.h"
#include "gfx/shaders/ShaderProgram.h"

class TexMixShader : public ShaderProgram {
 public:
  ID3D11Buffer* screenBuffer = nullptr;
  int32_t mixMode = 0;
  ID3D11ShaderResourceView* texture0 = nullptr;
  ID3D11ShaderResourceView* texture1 = nullptr;

  bool Initialize();
  bool SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                           const D3DXVECTOR2* screenSize);
  void Render(UINT indexCount);
  void Shutdown();
};
