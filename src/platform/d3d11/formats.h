#pragma once
// How each DXGI format is stored, uploaded and read as a vertex attribute in OpenGL.
#include <cstdint>

#include "platform/dxgi/dxgi.h"

namespace platform::d3d11 {

struct TextureFormat {
  uint32_t internalFormat = 0;  // GL sized internal format, 0 when unsupported
  uint32_t uploadFormat = 0;    // GL pixel format of CPU data (uncompressed formats)
  uint32_t uploadType = 0;
  uint32_t bytesPerPixel = 0;   // uncompressed formats
  uint32_t bytesPerBlock = 0;   // block-compressed formats (4 × 4 texels)
  bool depthStencil = false;
};

struct VertexFormat {
  int components = 0;  // 0 when unsupported
  uint32_t type = 0;
  bool normalized = false;
  bool integer = false;
  uint32_t bytes = 0;
};

TextureFormat TextureFormatOf(DXGI_FORMAT format);
VertexFormat VertexFormatOf(DXGI_FORMAT format);

// Bytes of one mip level's image (rows of blocks for compressed formats).
uint32_t ImageBytes(const TextureFormat& format, uint32_t width, uint32_t height);
uint32_t RowBytes(const TextureFormat& format, uint32_t width);

}  // namespace platform::d3d11
