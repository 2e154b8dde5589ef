#pragma once
// The one way the shader programs fill a constant buffer: map with discard, write, unmap.
// Every program rewrites its buffers before each draw; a failed map skips that draw.
#include <cstring>
#include <type_traits>

#include "platform/d3d11/d3d11.h"

// A dynamic constant buffer of `byteWidth` bytes, CPU-writable, no initial data.
bool CreateConstantBuffer(ID3D11Device* device, UINT byteWidth, ID3D11Buffer** buffer);

// Maps `buffer` with D3D11_MAP_WRITE_DISCARD and lets `fill(void* data)` write it.
template <class Fill>
bool WriteConstantBuffer(ID3D11DeviceContext* context, ID3D11Buffer* buffer, Fill&& fill) {
  D3D11_MAPPED_SUBRESOURCE mapped;
  if (FAILED(context->Map(buffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return false;
  fill(mapped.pData);
  context->Unmap(buffer, 0);
  return true;
}

// Copies one plain struct laid out as the HLSL cbuffer is.
template <class T>
bool UpdateConstantBuffer(ID3D11DeviceContext* context, ID3D11Buffer* buffer, const T& contents) {
  static_assert(std::is_trivially_copyable_v<T>);
  static_assert(sizeof(T) % 16 == 0, "constant buffers are whole 16-byte registers");
  return WriteConstantBuffer(context, buffer, [&](void* data) { std::memcpy(data, &contents, sizeof(T)); });
}
