#include "gfx/shaders/SSAOShader.h"

#include "gfx/ReleaseAndForget.h"
#include "gfx/shaders/ConstantBuffer.h"
#include "gfx/shaders/ScreenQuadDraw.h"

bool SSAOShader::Initialize() {
  return CreateTwoStageProgram("ssao_VS.hlsl", "SSAO_VS", "ssao_PS.hlsl", "SSAO_PS", kQuadVertexLayout, 3) &&
         CreateConstantBuffer(device, sizeof(ScreenSizeBufferType), &screenBuffer);
}

bool SSAOShader::SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                                     const D3DXVECTOR2* screenSize) {
  if (!WriteMatrixBuffer(world, view, projection)) return false;
  context->VSSetConstantBuffers(0, 1, &matrixBuffer);
  const ScreenSizeBufferType screen{screenSize->x, screenSize->y, {0, 0}};
  if (!UpdateConstantBuffer(context, screenBuffer, screen)) return false;
  context->PSSetConstantBuffers(0, 1, &screenBuffer);
  ID3D11ShaderResourceView* textures[2] = {texture0, texture1};
  context->PSSetShaderResources(0, 2, textures);
  return true;
}

void SSAOShader::Render(UINT indexCount) {
  context->PSSetSamplers(0, 1, &wrapSampler);
  context->PSSetSamplers(1, 1, &clampSampler);
  DrawScreenQuad(*this, indexCount);
}

void SSAOShader::Shutdown() {
  ReleaseAndForget(screenBuffer);
  ReleaseProgram();
}
