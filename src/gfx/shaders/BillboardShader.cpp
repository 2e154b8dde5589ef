#include "gfx/shaders/BillboardShader.h"

#include "gfx/shaders/ConstantBuffer.h"

namespace {

// 36-byte billboard vertex: position, size, colour.
const D3D11_INPUT_ELEMENT_DESC kBillboardLayout[3] = {
    {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"SIZE", 0, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"COLOR", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
};

void ReleaseBlob(ID3D10Blob*& blob) {
  if (blob != nullptr) {
    blob->Release();
    blob = nullptr;
  }
}

}  // namespace

bool BillboardShader::Initialize() {
  ID3D10Blob* vertexBlob = nullptr;
  ID3D10Blob* geometryBlob = nullptr;
  ID3D10Blob* pixelBlob = nullptr;
  bool ok = CompileShaderFile("vs_5_0", &vertexBlob, window, "billboard_VS.hlsl", "Billboard_VS") &&
            CompileShaderFile("gs_5_0", &geometryBlob, window, "billboard_GS.hlsl", "Billboard_GS") &&
            CompileShaderFile("ps_5_0", &pixelBlob, window, "billboard_PS.hlsl", "Billboard_PS");
  ok = ok && SUCCEEDED(device->CreateVertexShader(vertexBlob->GetBufferPointer(), vertexBlob->GetBufferSize(),
                                                  nullptr, &vertexShader));
  ok = ok && SUCCEEDED(device->CreateGeometryShader(geometryBlob->GetBufferPointer(), geometryBlob->GetBufferSize(),
                                                    nullptr, &geometryShader));
  ok = ok && SUCCEEDED(device->CreatePixelShader(pixelBlob->GetBufferPointer(), pixelBlob->GetBufferSize(), nullptr,
                                                 &pixelShader));
  ok = ok && SUCCEEDED(device->CreateInputLayout(kBillboardLayout, 3, vertexBlob->GetBufferPointer(),
                                                 vertexBlob->GetBufferSize(), &inputLayout));
  ReleaseBlob(vertexBlob);
  ReleaseBlob(geometryBlob);
  ReleaseBlob(pixelBlob);
  return ok && CreateConstantBuffer(device, sizeof(MatrixBufferType), &matrixBuffer);
}

bool BillboardShader::SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view,
                                          const D3DXMATRIX& projection, ID3D11ShaderResourceView* texture) {
  if (!WriteMatrixBuffer(world, view, projection)) return false;
  context->VSSetConstantBuffers(0, 1, &matrixBuffer);
  context->GSSetConstantBuffers(0, 1, &matrixBuffer);
  context->PSSetShaderResources(0, 1, &texture);
  return true;
}

void BillboardShader::Render(UINT vertexCount) {
  context->IASetInputLayout(inputLayout);
  context->VSSetShader(vertexShader, nullptr, 0);
  context->GSSetShader(geometryShader, nullptr, 0);
  context->PSSetShader(pixelShader, nullptr, 0);
  context->PSSetSamplers(0, 1, &wrapSampler);
  context->Draw(vertexCount, 0);
  context->GSSetShader(nullptr, nullptr, 0);
}

void BillboardShader::Shutdown() { ReleaseProgram(); }
