#include "platform/d3d11/formats.h"

#include <epoxy/gl.h>

namespace platform::d3d11 {

TextureFormat TextureFormatOf(DXGI_FORMAT format) {
  switch (format) {
    case DXGI_FORMAT_R8G8B8A8_TYPELESS:
    case DXGI_FORMAT_R8G8B8A8_UNORM:
      return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, 4, 0, false};
    case DXGI_FORMAT_R8G8B8A8_UNORM_SRGB:
      return {GL_SRGB8_ALPHA8, GL_RGBA, GL_UNSIGNED_BYTE, 4, 0, false};
    case DXGI_FORMAT_B8G8R8A8_TYPELESS:
    case DXGI_FORMAT_B8G8R8A8_UNORM:
    case DXGI_FORMAT_B8G8R8X8_UNORM:
      return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4, 0, false};
    case DXGI_FORMAT_B8G8R8A8_UNORM_SRGB:
      return {GL_SRGB8_ALPHA8, GL_BGRA, GL_UNSIGNED_BYTE, 4, 0, false};
    case DXGI_FORMAT_R32G32B32A32_TYPELESS:
    case DXGI_FORMAT_R32G32B32A32_FLOAT:
      return {GL_RGBA32F, GL_RGBA, GL_FLOAT, 16, 0, false};
    case DXGI_FORMAT_R16G16B16A16_FLOAT:
      return {GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT, 8, 0, false};
    case DXGI_FORMAT_R16G16B16A16_UNORM:
      return {GL_RGBA16, GL_RGBA, GL_UNSIGNED_SHORT, 8, 0, false};
    case DXGI_FORMAT_R32G32_FLOAT:
      return {GL_RG32F, GL_RG, GL_FLOAT, 8, 0, false};
    case DXGI_FORMAT_R16G16_FLOAT:
      return {GL_RG16F, GL_RG, GL_HALF_FLOAT, 4, 0, false};
    case DXGI_FORMAT_R32_TYPELESS:
    case DXGI_FORMAT_R32_FLOAT:
      return {GL_R32F, GL_RED, GL_FLOAT, 4, 0, false};
    case DXGI_FORMAT_R16_FLOAT:
      return {GL_R16F, GL_RED, GL_HALF_FLOAT, 2, 0, false};
    case DXGI_FORMAT_R8G8_UNORM:
      return {GL_RG8, GL_RG, GL_UNSIGNED_BYTE, 2, 0, false};
    case DXGI_FORMAT_R8_UNORM:
    case DXGI_FORMAT_A8_UNORM:
      return {GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1, 0, false};
    case DXGI_FORMAT_R24G8_TYPELESS:
    case DXGI_FORMAT_D24_UNORM_S8_UINT:
    case DXGI_FORMAT_R24_UNORM_X8_TYPELESS:
      return {GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, 4, 0, true};
    case DXGI_FORMAT_D32_FLOAT:
      return {GL_DEPTH_COMPONENT32F, GL_DEPTH_COMPONENT, GL_FLOAT, 4, 0, true};
    case DXGI_FORMAT_BC1_TYPELESS:
    case DXGI_FORMAT_BC1_UNORM:
      return {GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 0, 0, 0, 8, false};
    case DXGI_FORMAT_BC2_TYPELESS:
    case DXGI_FORMAT_BC2_UNORM:
      return {GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 0, 0, 0, 16, false};
    case DXGI_FORMAT_BC3_TYPELESS:
    case DXGI_FORMAT_BC3_UNORM:
      return {GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 0, 0, 0, 16, false};
    default:
      return {};
  }
}

VertexFormat VertexFormatOf(DXGI_FORMAT format) {
  switch (format) {
    case DXGI_FORMAT_R32G32B32A32_FLOAT:
      return {4, GL_FLOAT, false, false, 16};
    case DXGI_FORMAT_R32G32B32_FLOAT:
      return {3, GL_FLOAT, false, false, 12};
    case DXGI_FORMAT_R32G32_FLOAT:
      return {2, GL_FLOAT, false, false, 8};
    case DXGI_FORMAT_R32_FLOAT:
      return {1, GL_FLOAT, false, false, 4};
    case DXGI_FORMAT_R8G8B8A8_UNORM:
      return {4, GL_UNSIGNED_BYTE, true, false, 4};
    case DXGI_FORMAT_R32G32B32A32_UINT:
      return {4, GL_UNSIGNED_INT, false, true, 16};
    case DXGI_FORMAT_R32_UINT:
      return {1, GL_UNSIGNED_INT, false, true, 4};
    default:
      return {};
  }
}

uint32_t RowBytes(const TextureFormat& format, uint32_t width) {
  if (format.bytesPerBlock != 0) return ((width + 3) / 4) * format.bytesPerBlock;
  return width * format.bytesPerPixel;
}

uint32_t ImageBytes(const TextureFormat& format, uint32_t width, uint32_t height) {
  const uint32_t rows = format.bytesPerBlock != 0 ? (height + 3) / 4 : height;
  return RowBytes(format, width) * rows;
}

}  // namespace platform::d3d11
