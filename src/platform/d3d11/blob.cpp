#include <cstring>

#include "platform/d3d11/d3dcommon.h"

ID3D10Blob* ID3D10Blob::Create(const void* bytes, SIZE_T size) {
  auto* blob = new ID3D10Blob();
  blob->m_bytes.resize(size);
  if (size > 0) std::memcpy(blob->m_bytes.data(), bytes, size);
  return blob;
}
