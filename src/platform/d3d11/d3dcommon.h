#pragma once
// Blobs and the few shared enumerations of Direct3D.
#include <vector>

#include "platform/dxgi/unknown.h"

enum D3D_DRIVER_TYPE : uint32_t {
  D3D_DRIVER_TYPE_UNKNOWN = 0,
  D3D_DRIVER_TYPE_HARDWARE = 1,
  D3D_DRIVER_TYPE_REFERENCE = 2,
  D3D_DRIVER_TYPE_NULL = 3,
  D3D_DRIVER_TYPE_SOFTWARE = 4,
  D3D_DRIVER_TYPE_WARP = 5,
};

enum D3D_FEATURE_LEVEL : uint32_t {
  D3D_FEATURE_LEVEL_10_0 = 0xa000,
  D3D_FEATURE_LEVEL_10_1 = 0xa100,
  D3D_FEATURE_LEVEL_11_0 = 0xb000,
};

enum D3D_PRIMITIVE_TOPOLOGY : uint32_t {
  D3D_PRIMITIVE_TOPOLOGY_UNDEFINED = 0,
  D3D_PRIMITIVE_TOPOLOGY_POINTLIST = 1,
  D3D_PRIMITIVE_TOPOLOGY_LINELIST = 2,
  D3D_PRIMITIVE_TOPOLOGY_LINESTRIP = 3,
  D3D_PRIMITIVE_TOPOLOGY_TRIANGLELIST = 4,
  D3D_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP = 5,
  D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED = 0,
  D3D11_PRIMITIVE_TOPOLOGY_POINTLIST = 1,
  D3D11_PRIMITIVE_TOPOLOGY_LINELIST = 2,
  D3D11_PRIMITIVE_TOPOLOGY_LINESTRIP = 3,
  D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST = 4,
  D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP = 5,
};
using D3D11_PRIMITIVE_TOPOLOGY = D3D_PRIMITIVE_TOPOLOGY;

enum D3D_SRV_DIMENSION : uint32_t {
  D3D_SRV_DIMENSION_UNKNOWN = 0,
  D3D_SRV_DIMENSION_TEXTURE2D = 4,
  D3D_SRV_DIMENSION_TEXTURE2DARRAY = 5,
  D3D_SRV_DIMENSION_TEXTURECUBE = 9,
  D3D11_SRV_DIMENSION_UNKNOWN = 0,
  D3D11_SRV_DIMENSION_TEXTURE2D = 4,
  D3D11_SRV_DIMENSION_TEXTURE2DARRAY = 5,
  D3D11_SRV_DIMENSION_TEXTURECUBE = 9,
};
using D3D11_SRV_DIMENSION = D3D_SRV_DIMENSION;

struct D3D_SHADER_MACRO {
  LPCSTR Name;
  LPCSTR Definition;
};
using D3D10_SHADER_MACRO = D3D_SHADER_MACRO;

// A byte buffer: compiled shader code, or a compiler's message text (not terminated by
// the blob size; the text is followed by a zero byte inside the buffer).
class ID3D10Blob : public IUnknown {
 public:
  LPVOID GetBufferPointer() { return m_bytes.data(); }
  SIZE_T GetBufferSize() { return m_bytes.size(); }

  // The layer's own: a blob holding a copy of the bytes.
  static ID3D10Blob* Create(const void* bytes, SIZE_T size);

 private:
  ID3D10Blob() = default;
  std::vector<uint8_t> m_bytes;
};
using ID3DBlob = ID3D10Blob;
using LPD3D10BLOB = ID3D10Blob*;

class ID3DInclude;
class ID3DX11ThreadPump;
