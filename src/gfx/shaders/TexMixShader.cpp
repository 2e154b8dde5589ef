#include "gfx/shaders/TexMixShader.h"

#include "gfx/ReleaseAndForget.h"
#include "gfx/shaders/ConstantBuffer.h"
#include "gfx/shaders/ScreenQuadDraw.h"

bool TexMixShader::Initialize() {
  return CreateTwoStageProgram("texmix_VS.hlsl", "TexMix_VS", "texmix_PS.hlsl", "TexMix_PS", kQuadVertexLayout, 3) &&
         CreateConstantBuffer(device, sizeof(ScreenModeBufferType), &screenBuffer);
}

bool TexMixShader::SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                                       const D3DXVECTOR2* screenSize) {
  if (!WriteMatrixBuffer(world, view, projection)) return false;
  context->VSSetConstantBuffers(0, 1, &matrixBuffer);
  const ScreenModeBufferType screen{mixMode, screenSize->x, screenSize->y, 0.0f};
  if (!UpdateConstantBuffer(context, screenBuffer, screen)) return false;
  context->PSSetConstantBuffers(0, 1, &screenBuffer);
  ID3D11ShaderResourceView* textures[2] = {texture0, texture1};
  context->PSSetShaderResources(0, 2, textures);
  return true;
}

void TexMixShader::Render(UINT indexCount) {
  context->PSSetSamplers(0, 1, &wrapSampler);
  context->PSSetSamplers(1, 1, &clampSampler);
  DrawScreenQuad(*this, indexCount);
}

void TexMixShader::Shutdown() {
  ReleaseAndForget(screenBuffer);
  ReleaseProgram();
}
