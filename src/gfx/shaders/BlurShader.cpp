#include "gfx/shaders/BlurShader.h"

#include "gfx/ReleaseAndForget.h"
#include "gfx/shaders/ConstantBuffer.h"
#include "gfx/shaders/ScreenQuadDraw.h"

bool BlurShader::Initialize() {
  return CreateTwoStageProgram("blur_VS.hlsl", "Blur_VS", "blur_PS.hlsl", "Blur_PS", kQuadVertexLayout, 3) &&
         CreateConstantBuffer(device, sizeof(ScreenModeBufferType), &screenBuffer);
}

bool BlurShader::SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                                     const D3DXVECTOR2* screenSize) {
  if (!WriteMatrixBuffer(world, view, projection)) return false;
  context->VSSetConstantBuffers(0, 1, &matrixBuffer);
  const ScreenModeBufferType screen{direction, screenSize->x, screenSize->y, 0.0f};
  if (!UpdateConstantBuffer(context, screenBuffer, screen)) return false;
  context->PSSetConstantBuffers(0, 1, &screenBuffer);
  context->PSSetShaderResources(0, 1, &sourceTexture);
  return true;
}

void BlurShader::Render(UINT indexCount) {
  context->PSSetSamplers(0, 1, &clampSampler);
  DrawScreenQuad(*this, indexCount);
}

void BlurShader::Shutdown() {
  ReleaseAndForget(screenBuffer);
  ReleaseProgram();
}
