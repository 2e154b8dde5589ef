#include "gfx/shaders/DepthShader.h"

namespace {

// The first 24 bytes of the 72-byte mesh vertex.
const D3D11_INPUT_ELEMENT_DESC kDepthLayout[2] = {
    {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"NORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
};

}  // namespace

bool DepthShader::Initialize() {
  return CreateTwoStageProgram("depth_VS.hlsl", "Depth_VS", "depth_PS.hlsl", "Depth_PS", kDepthLayout, 2);
}

bool DepthShader::SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view,
                                      const D3DXMATRIX& projection) {
  if (!WriteMatrixBuffer(world, view, projection)) return false;
  context->VSSetConstantBuffers(0, 1, &matrixBuffer);
  return true;
}

void DepthShader::Render(UINT indexCount) {
  context->IASetInputLayout(inputLayout);
  context->VSSetShader(vertexShader, nullptr, 0);
  context->PSSetShader(pixelShader, nullptr, 0);
  context->DrawIndexed(indexCount, 0, 0);
}

void DepthShader::Shutdown() { ReleaseProgram(); }
