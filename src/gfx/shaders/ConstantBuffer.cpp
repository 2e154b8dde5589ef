#include "gfx/shaders/ConstantBuffer.h"

bool CreateConstantBuffer(ID3D11Device* device, UINT byteWidth, ID3D11Buffer** buffer) {
  D3D11_BUFFER_DESC desc{};
  desc.ByteWidth = byteWidth;
  desc.Usage = D3D11_USAGE_DYNAMIC;
  desc.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
  desc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
  desc.MiscFlags = 0;
  desc.StructureByteStride = 0;
  return SUCCEEDED(device->CreateBuffer(&desc, nullptr, buffer));
}
