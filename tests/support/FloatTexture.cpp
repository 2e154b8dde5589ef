#include "support/FloatTexture.h"

#include <cstring>

namespace testing_support {

std::vector<float> ReadFloatTexture(ID3D11Device* device, ID3D11DeviceContext* context, ID3D11Texture2D* texture) {
  D3D11_TEXTURE2D_DESC desc = {};
  texture->GetDesc(&desc);
  D3D11_TEXTURE2D_DESC stagingDesc = desc;
  stagingDesc.Usage = D3D11_USAGE_STAGING;
  stagingDesc.BindFlags = 0;
  stagingDesc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
  ID3D11Texture2D* staging = nullptr;
  if (FAILED(device->CreateTexture2D(&stagingDesc, nullptr, &staging))) return {};
  context->CopyResource(staging, texture);
  std::vector<float> texels;
  D3D11_MAPPED_SUBRESOURCE mapped;
  if (SUCCEEDED(context->Map(staging, 0, D3D11_MAP_READ, 0, &mapped))) {
    texels.resize(static_cast<size_t>(desc.Width) * desc.Height * 4);
    const size_t rowBytes = static_cast<size_t>(desc.Width) * 4 * sizeof(float);
    for (UINT y = 0; y < desc.Height; ++y)
      std::memcpy(&texels[static_cast<size_t>(y) * desc.Width * 4],
                  static_cast<const uint8_t*>(mapped.pData) + static_cast<size_t>(y) * mapped.RowPitch, rowBytes);
    context->Unmap(staging, 0);
  }
  staging->Release();
  return texels;
}

void WriteFloatTexture(ID3D11DeviceContext* context, ID3D11Texture2D* texture, const std::vector<float>& texels) {
  D3D11_TEXTURE2D_DESC desc = {};
  texture->GetDesc(&desc);
  context->UpdateSubresource(texture, 0, nullptr, texels.data(), desc.Width * 4 * sizeof(float), 0);
}

std::vector<uint8_t> ReadBoundConstantBuffer(ID3D11Device* device, ID3D11DeviceContext* context, bool pixelStage,
                                             UINT slot) {
  ID3D11Buffer* bound = nullptr;
  if (pixelStage) context->PSGetConstantBuffers(slot, 1, &bound);
  else context->VSGetConstantBuffers(slot, 1, &bound);
  if (bound == nullptr) return {};
  D3D11_BUFFER_DESC desc = {};
  bound->GetDesc(&desc);
  D3D11_BUFFER_DESC stagingDesc = {};
  stagingDesc.ByteWidth = desc.ByteWidth;
  stagingDesc.Usage = D3D11_USAGE_STAGING;
  stagingDesc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
  ID3D11Buffer* staging = nullptr;
  std::vector<uint8_t> bytes;
  if (SUCCEEDED(device->CreateBuffer(&stagingDesc, nullptr, &staging))) {
    context->CopyResource(staging, bound);
    D3D11_MAPPED_SUBRESOURCE mapped;
    if (SUCCEEDED(context->Map(staging, 0, D3D11_MAP_READ, 0, &mapped))) {
      const uint8_t* data = static_cast<const uint8_t*>(mapped.pData);
      bytes.assign(data, data + desc.ByteWidth);
      context->Unmap(staging, 0);
    }
    staging->Release();
  }
  bound->Release();
  return bytes;
}

}  // namespace testing_support
