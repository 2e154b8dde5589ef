#pragma once
// One axis of the separable blur of the bloom and occlusion chains; it reads the full
// back-buffer size, also when its target is smaller.
#include <cstdint>

#include "gfx/shaders/ScreenBuffers.h"
#include "gfx/shaders/ShaderProgram.h"

class BlurShader : public ShaderProgram {
 public:
  ID3D11Buffer* screenBuffer = nullptr;
  int32_t direction = -1;  // 0 blurs horizontally, 1 vertically
  ID3D11ShaderResourceView* sourceTexture = nullptr;

  bool Initialize();
  bool SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                           const D3DXVECTOR2* screenSize);
  void Render(UINT indexCount);
  void Shutdown();
};
