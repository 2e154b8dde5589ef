#pragma once
// The three screen-space passes of the bloom, ambient-occlusion and mixing chains. Each reads
// the full back-buffer size from screenBuffer, also when its target is smaller.
#include <cstdint>

#include "gfx/shaders/ShaderProgram.h"

// screenBuffer of BlurShader and TexMixShader: a mode as an integer, then width, height, 0.
struct ScreenModeBufferType {
  int32_t mode;
  float width;
  float height;
  float padding;
};
static_assert(sizeof(ScreenModeBufferType) == 16);

// screenBuffer of SSAOShader: width, height, then two zero words.
struct ScreenSizeBufferType {
  float width;
  float height;
  uint32_t padding[2];
};
static_assert(sizeof(ScreenSizeBufferType) == 16);

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
