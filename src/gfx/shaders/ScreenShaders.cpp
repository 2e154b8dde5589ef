#include "gfx/shaders/ScreenShaders.h"

#include "gfx/shaders/ConstantBuffer.h"

namespace {

void ReleaseBuffer(ID3D11Buffer*& buffer) {
  if (buffer != nullptr) {
    buffer->Release();
    buffer = nullptr;
  }
}

// Input layout, shaders and the draw shared by the three passes; samplers differ.
void DrawQuad(ShaderProgram& program, UINT indexCount) {
  program.context->IASetInputLayout(program.inputLayout);
  program.context->VSSetShader(program.vertexShader, nullptr, 0);
  program.context->PSSetShader(program.pixelShader, nullptr, 0);
  program.context->DrawIndexed(indexCount, 0, 0);
}

}  // namespace

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
  DrawQuad(*this, indexCount);
}

void BlurShader::Shutdown() {
  ReleaseBuffer(screenBuffer);
  ReleaseProgram();
}

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
  DrawQuad(*this, indexCount);
}

void SSAOShader::Shutdown() {
  ReleaseBuffer(screenBuffer);
  ReleaseProgram();
}

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
  DrawQuad(*this, indexCount);
}

void TexMixShader::Shutdown() {
  ReleaseBuffer(screenBuffer);
  ReleaseProgram();
}
