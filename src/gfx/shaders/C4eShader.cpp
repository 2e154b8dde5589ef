#include "gfx/shaders/C4eShader.h"

#include "gfx/ReleaseAndForget.h"
#include "gfx/shaders/ConstantBuffer.h"
#include "gfx/shaders/ScreenQuadDraw.h"

namespace {

// 72-byte mesh vertex.
const D3D11_INPUT_ELEMENT_DESC kMeshLayout[6] = {
    {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"NORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"COLOR", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"TANGENT", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"BINORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
};

}  // namespace

bool C4eShader::Initialize() {
  if (!CreateTwoStageProgram("c4e_VS.hlsl", "c4e_VS", "c4e_PS.hlsl", "c4e_PS", kMeshLayout, 6)) return false;
  // The transforms buffer is larger than the common matrixBuffer: five matrices.
  ReleaseAndForget(matrixBuffer);
  return CreateConstantBuffer(device, sizeof(C4eTransformsBufferType), &matrixBuffer) &&
         CreateConstantBuffer(device, sizeof(C4eEyeBufferType), &eyeBuffer) &&
         CreateConstantBuffer(device, sizeof(C4eMaterialBufferType), &materialBuffer) &&
         CreateConstantBuffer(device, sizeof(C4eLightsBufferType), &lightsBuffer);
}

bool C4eShader::SetShaderParameters(const C4eTransformsBufferType& transforms, const C4eEyeBufferType& eye,
                                    const C4eMaterialBufferType& material, const C4eLightsBufferType& lights,
                                    ID3D11ShaderResourceView* const resources[kResourceSlots]) {
  C4eTransformsBufferType transposed;
  D3DXMatrixTranspose(&transposed.world, &transforms.world);
  D3DXMatrixTranspose(&transposed.view, &transforms.view);
  D3DXMatrixTranspose(&transposed.projection, &transforms.projection);
  D3DXMatrixTranspose(&transposed.lightView, &transforms.lightView);
  D3DXMatrixTranspose(&transposed.lightProjection, &transforms.lightProjection);
  if (!UpdateConstantBuffer(context, matrixBuffer, transposed)) return false;
  context->VSSetConstantBuffers(0, 1, &matrixBuffer);
  if (!UpdateConstantBuffer(context, eyeBuffer, eye)) return false;
  context->VSSetConstantBuffers(1, 1, &eyeBuffer);
  if (!UpdateConstantBuffer(context, materialBuffer, material)) return false;
  context->PSSetConstantBuffers(0, 1, &materialBuffer);
  if (!UpdateConstantBuffer(context, lightsBuffer, lights)) return false;
  context->PSSetConstantBuffers(1, 1, &lightsBuffer);
  context->PSSetShaderResources(0, kResourceSlots, resources);
  return true;
}

void C4eShader::Render(UINT indexCount) {
  context->IASetInputLayout(inputLayout);
  context->VSSetShader(vertexShader, nullptr, 0);
  context->PSSetShader(pixelShader, nullptr, 0);
  context->PSSetSamplers(0, 1, &wrapSampler);
  context->PSSetSamplers(1, 1, &clampSampler);
  context->DrawIndexed(indexCount, 0, 0);
}

void C4eShader::Shutdown() {
  ReleaseAndForget(lightsBuffer);
  ReleaseAndForget(materialBuffer);
  ReleaseAndForget(eyeBuffer);
  ReleaseProgram();
}
