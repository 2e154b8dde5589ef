#include "gfx/shaders/ShaderProgram.h"

#include <string>

#include "app/DataDirectory.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/shaders/ConstantBuffer.h"
#include "platform/d3dx/d3dx11async.h"
#include "platform/message_box.h"

const D3D11_INPUT_ELEMENT_DESC kQuadVertexLayout[3] = {
    {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"COLOR", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
};

void ReportShaderError(ID3D10Blob* errorMessage, const std::string& path, HWND owner) {
  if (errorMessage != nullptr) {
    const auto* text = static_cast<const char*>(errorMessage->GetBufferPointer());
    const size_t size = errorMessage->GetBufferSize();
    // The blob's own size bounds the text; a trailing zero ends it early.
    std::string message(text, size);
    const size_t end = message.find('\0');
    if (end != std::string::npos) message.resize(end);
    platform::MessageBox(owner, message, path, MB_ICONERROR);
    errorMessage->Release();
    return;
  }
  platform::MessageBox(owner, path, "missing shader file", MB_ICONERROR);
}

bool ShaderProgram::CreateSamplers() {
  D3D11_SAMPLER_DESC desc{};
  desc.Filter = D3D11_FILTER_MIN_MAG_MIP_LINEAR;
  desc.AddressU = D3D11_TEXTURE_ADDRESS_WRAP;
  desc.AddressV = D3D11_TEXTURE_ADDRESS_WRAP;
  desc.AddressW = D3D11_TEXTURE_ADDRESS_WRAP;
  desc.MipLODBias = 0.0f;
  desc.MaxAnisotropy = 1;
  desc.ComparisonFunc = D3D11_COMPARISON_ALWAYS;
  desc.BorderColor[0] = desc.BorderColor[1] = desc.BorderColor[2] = desc.BorderColor[3] = 0.0f;
  desc.MinLOD = 0.0f;
  desc.MaxLOD = D3D11_FLOAT32_MAX;
  if (FAILED(device->CreateSamplerState(&desc, &wrapSampler))) return false;
  desc.AddressU = D3D11_TEXTURE_ADDRESS_CLAMP;
  desc.AddressV = D3D11_TEXTURE_ADDRESS_CLAMP;
  desc.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
  return SUCCEEDED(device->CreateSamplerState(&desc, &clampSampler));
}

bool ShaderProgram::CompileShaderFile(const char* profile, ID3D10Blob** blob, HWND owner, const char* fileName,
                                      const char* entryPoint, const D3D10_SHADER_MACRO* defines) {
  const std::string path = DataPath(fileName);
  ID3D10Blob* errorMessage = nullptr;
  const HRESULT hr = D3DX11CompileFromFileW(path.c_str(), defines, nullptr, entryPoint, profile,
                                            D3D10_SHADER_ENABLE_STRICTNESS, 0, nullptr, blob, &errorMessage, nullptr);
  if (FAILED(hr)) {
    ReportShaderError(errorMessage, path, owner);
    return false;
  }
  return true;
}

bool ShaderProgram::CreateTwoStageProgram(const char* vertexFile, const char* vertexEntry, const char* pixelFile,
                                          const char* pixelEntry, const D3D11_INPUT_ELEMENT_DESC* layout,
                                          UINT layoutCount) {
  ID3D10Blob* vertexBlob = nullptr;
  ID3D10Blob* pixelBlob = nullptr;
  if (!CompileShaderFile("vs_5_0", &vertexBlob, window, vertexFile, vertexEntry)) return false;
  bool ok = CompileShaderFile("ps_5_0", &pixelBlob, window, pixelFile, pixelEntry);
  ok = ok && SUCCEEDED(device->CreateVertexShader(vertexBlob->GetBufferPointer(), vertexBlob->GetBufferSize(),
                                                  nullptr, &vertexShader));
  ok = ok && SUCCEEDED(device->CreatePixelShader(pixelBlob->GetBufferPointer(), pixelBlob->GetBufferSize(), nullptr,
                                                 &pixelShader));
  ok = ok && SUCCEEDED(device->CreateInputLayout(layout, layoutCount, vertexBlob->GetBufferPointer(),
                                                 vertexBlob->GetBufferSize(), &inputLayout));
  ReleaseAndForget(vertexBlob);
  ReleaseAndForget(pixelBlob);
  return ok && CreateConstantBuffer(device, sizeof(MatrixBufferType), &matrixBuffer);
}

bool ShaderProgram::WriteMatrixBuffer(const D3DXMATRIX& world, const D3DXMATRIX& view, const D3DXMATRIX& projection) {
  MatrixBufferType matrices;
  D3DXMatrixTranspose(&matrices.world, &world);
  D3DXMatrixTranspose(&matrices.view, &view);
  D3DXMatrixTranspose(&matrices.projection, &projection);
  return UpdateConstantBuffer(context, matrixBuffer, matrices);
}

void ShaderProgram::ReleaseProgram() {
  ReleaseAndForget(matrixBuffer);
  ReleaseAndForget(clampSampler);
  ReleaseAndForget(wrapSampler);
  ReleaseAndForget(inputLayout);
  ReleaseAndForget(pixelShader);
  ReleaseAndForget(geometryShader);
  ReleaseAndForget(vertexShader);
}
