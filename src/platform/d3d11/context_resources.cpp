#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>

#include "platform/d3d11/context_state.h"
#include "platform/d3d11/d3d11.h"
#include "platform/d3d11/formats.h"
#include "platform/d3d11/gl_check.h"
#include "platform/d3d11/layer_clock.h"

using namespace platform::d3d11;

namespace {

struct Subresource {
  uint32_t level;
  uint32_t slice;
  uint32_t width;
  uint32_t height;
};

bool LocateSubresource(const D3D11_TEXTURE2D_DESC& desc, UINT index, Subresource* out) {
  if (index >= desc.MipLevels * desc.ArraySize) return false;
  out->level = index % desc.MipLevels;
  out->slice = index / desc.MipLevels;
  out->width = std::max(desc.Width >> out->level, 1u);
  out->height = std::max(desc.Height >> out->level, 1u);
  return true;
}

void WriteTextureRegion(ID3D11Texture2D* texture, const TextureFormat& format, const Subresource& sub, UINT x, UINT y,
                        UINT width, UINT height, const void* data, UINT rowPitch) {
  const bool layered = texture->glTarget() != GL_TEXTURE_2D;
  if (format.bytesPerBlock != 0) {
    const GLsizei bytes = static_cast<GLsizei>(ImageBytes(format, width, height));
    if (layered) {
      glCompressedTextureSubImage3D(texture->glName(), sub.level, x, y, sub.slice, width, height, 1,
                                    format.internalFormat, bytes, data);
    } else {
      glCompressedTextureSubImage2D(texture->glName(), sub.level, x, y, width, height, format.internalFormat, bytes,
                                    data);
    }
    return;
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, rowPitch != 0 ? static_cast<GLint>(rowPitch / format.bytesPerPixel) : 0);
  if (layered) {
    glTextureSubImage3D(texture->glName(), sub.level, x, y, sub.slice, width, height, 1, format.uploadFormat,
                        format.uploadType, data);
  } else {
    glTextureSubImage2D(texture->glName(), sub.level, x, y, width, height, format.uploadFormat, format.uploadType,
                        data);
  }
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

}  // namespace

HRESULT ID3D11DeviceContext::Map(ID3D11Resource* pResource, UINT Subresource, D3D11_MAP MapType, UINT /*MapFlags*/,
                                 D3D11_MAPPED_SUBRESOURCE* pMappedResource) {
  const platform::d3d11::LayerCallTimer timer;
  if (pResource == nullptr || pMappedResource == nullptr) return E_INVALIDARG;
  *pMappedResource = {};
  D3D11_RESOURCE_DIMENSION dimension;
  pResource->GetType(&dimension);
  const bool reads = MapType == D3D11_MAP_READ || MapType == D3D11_MAP_READ_WRITE;

  if (dimension == D3D11_RESOURCE_DIMENSION_BUFFER) {
    auto* buffer = static_cast<ID3D11Buffer*>(pResource);
    const D3D11_BUFFER_DESC& desc = buffer->m_desc;
    if (Subresource != 0 || buffer->m_mapped) return E_INVALIDARG;
    GLbitfield access = 0;
    if (MapType == D3D11_MAP_WRITE_DISCARD || MapType == D3D11_MAP_WRITE_NO_OVERWRITE) {
      if (desc.Usage != D3D11_USAGE_DYNAMIC) {
        platform::d3d11::ReportRefusal("Map with discard or no-overwrite needs a dynamic buffer");
        return E_INVALIDARG;
      }
      access = GL_MAP_WRITE_BIT |
               (MapType == D3D11_MAP_WRITE_DISCARD ? GL_MAP_INVALIDATE_BUFFER_BIT : GL_MAP_UNSYNCHRONIZED_BIT);
    } else if (desc.Usage == D3D11_USAGE_STAGING) {
      access = (reads ? GL_MAP_READ_BIT : 0) | (MapType != D3D11_MAP_READ ? GL_MAP_WRITE_BIT : 0);
    } else {
      platform::d3d11::ReportRefusal("Map of a buffer that is neither dynamic nor staging");
      return E_INVALIDARG;
    }
    void* data = glMapNamedBufferRange(buffer->glName(), 0, desc.ByteWidth, access);
    if (data == nullptr) {
      CheckGLError("Map");
      return E_OUTOFMEMORY;
    }
    buffer->m_mapped = true;
    pMappedResource->pData = data;
    pMappedResource->RowPitch = desc.ByteWidth;
    pMappedResource->DepthPitch = desc.ByteWidth;
    return S_OK;
  }

  auto* texture = static_cast<ID3D11Texture2D*>(pResource);
  const D3D11_TEXTURE2D_DESC& desc = texture->m_desc;
  ::Subresource sub;
  if (texture->m_mapped || !LocateSubresource(desc, Subresource, &sub)) return E_INVALIDARG;
  if (desc.Usage != D3D11_USAGE_DYNAMIC && desc.Usage != D3D11_USAGE_STAGING) {
    platform::d3d11::ReportRefusal("Map of a texture that is neither dynamic nor staging");
    return E_INVALIDARG;
  }
  const TextureFormat format = TextureFormatOf(desc.Format);
  const uint32_t bytes = ImageBytes(format, sub.width, sub.height);
  texture->m_mapStorage.assign(bytes, 0);
  if (reads) {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (format.bytesPerBlock != 0) {
      glGetCompressedTextureSubImage(texture->glName(), sub.level, 0, 0, sub.slice, sub.width, sub.height, 1,
                                     static_cast<GLsizei>(bytes), texture->m_mapStorage.data());
    } else {
      glGetTextureSubImage(texture->glName(), sub.level, 0, 0, sub.slice, sub.width, sub.height, 1,
                           format.uploadFormat, format.uploadType, static_cast<GLsizei>(bytes),
                           texture->m_mapStorage.data());
    }
  }
  texture->m_mapped = true;
  pMappedResource->pData = texture->m_mapStorage.data();
  pMappedResource->RowPitch = RowBytes(format, sub.width);
  pMappedResource->DepthPitch = bytes;
  return S_OK;
}

void ID3D11DeviceContext::Unmap(ID3D11Resource* pResource, UINT Subresource) {
  const platform::d3d11::LayerCallTimer timer;
  if (pResource == nullptr) return;
  D3D11_RESOURCE_DIMENSION dimension;
  pResource->GetType(&dimension);
  if (dimension == D3D11_RESOURCE_DIMENSION_BUFFER) {
    auto* buffer = static_cast<ID3D11Buffer*>(pResource);
    if (!buffer->m_mapped) return;
    glUnmapNamedBuffer(buffer->glName());
    buffer->m_mapped = false;
    return;
  }
  auto* texture = static_cast<ID3D11Texture2D*>(pResource);
  ::Subresource sub;
  if (!texture->m_mapped || !LocateSubresource(texture->m_desc, Subresource, &sub)) return;
  const TextureFormat format = TextureFormatOf(texture->m_desc.Format);
  WriteTextureRegion(texture, format, sub, 0, 0, sub.width, sub.height, texture->m_mapStorage.data(), 0);
  texture->m_mapped = false;
  texture->m_mapStorage.clear();
  texture->m_mapStorage.shrink_to_fit();
}

void ID3D11DeviceContext::UpdateSubresource(ID3D11Resource* pDstResource, UINT DstSubresource,
                                            const D3D11_BOX* pDstBox, const void* pSrcData, UINT SrcRowPitch,
                                            UINT /*SrcDepthPitch*/) {
  const platform::d3d11::LayerCallTimer timer;
  if (pDstResource == nullptr || pSrcData == nullptr) return;
  D3D11_RESOURCE_DIMENSION dimension;
  pDstResource->GetType(&dimension);
  if (dimension == D3D11_RESOURCE_DIMENSION_BUFFER) {
    auto* buffer = static_cast<ID3D11Buffer*>(pDstResource);
    if (buffer->m_desc.Usage == D3D11_USAGE_DYNAMIC || buffer->m_desc.Usage == D3D11_USAGE_IMMUTABLE) {
      platform::d3d11::ReportRefusal("UpdateSubresource of a dynamic or immutable buffer");
      return;
    }
    const UINT begin = pDstBox != nullptr ? pDstBox->left : 0;
    const UINT end = pDstBox != nullptr ? pDstBox->right : buffer->m_desc.ByteWidth;
    if (begin >= end || end > buffer->m_desc.ByteWidth) return;
    glNamedBufferSubData(buffer->glName(), begin, end - begin, pSrcData);
    return;
  }
  auto* texture = static_cast<ID3D11Texture2D*>(pDstResource);
  ::Subresource sub;
  if (!LocateSubresource(texture->m_desc, DstSubresource, &sub)) return;
  UINT x = 0, y = 0, width = sub.width, height = sub.height;
  if (pDstBox != nullptr) {
    if (pDstBox->right <= pDstBox->left || pDstBox->bottom <= pDstBox->top || pDstBox->right > sub.width ||
        pDstBox->bottom > sub.height) {
      return;
    }
    x = pDstBox->left;
    y = pDstBox->top;
    width = pDstBox->right - pDstBox->left;
    height = pDstBox->bottom - pDstBox->top;
  }
  WriteTextureRegion(texture, TextureFormatOf(texture->m_desc.Format), sub, x, y, width, height, pSrcData,
                     SrcRowPitch);
}

void ID3D11DeviceContext::CopyResource(ID3D11Resource* pDstResource, ID3D11Resource* pSrcResource) {
  const platform::d3d11::LayerCallTimer timer;
  if (pDstResource == nullptr || pSrcResource == nullptr || pDstResource == pSrcResource) return;
  D3D11_RESOURCE_DIMENSION dst, src;
  pDstResource->GetType(&dst);
  pSrcResource->GetType(&src);
  if (dst != src) return;
  if (dst == D3D11_RESOURCE_DIMENSION_BUFFER) {
    auto* to = static_cast<ID3D11Buffer*>(pDstResource);
    auto* from = static_cast<ID3D11Buffer*>(pSrcResource);
    if (to->m_desc.ByteWidth != from->m_desc.ByteWidth) return;
    glCopyNamedBufferSubData(from->glName(), to->glName(), 0, 0, to->m_desc.ByteWidth);
    return;
  }
  auto* to = static_cast<ID3D11Texture2D*>(pDstResource);
  auto* from = static_cast<ID3D11Texture2D*>(pSrcResource);
  const D3D11_TEXTURE2D_DESC& a = to->m_desc;
  const D3D11_TEXTURE2D_DESC& b = from->m_desc;
  if (a.Width != b.Width || a.Height != b.Height || a.MipLevels != b.MipLevels || a.ArraySize != b.ArraySize ||
      TextureFormatOf(a.Format).internalFormat != TextureFormatOf(b.Format).internalFormat) {
    platform::d3d11::ReportRefusal("CopyResource between textures of different shape");
    return;
  }
  for (UINT level = 0; level < a.MipLevels; ++level) {
    glCopyImageSubData(from->glName(), from->glTarget(), level, 0, 0, 0, to->glName(), to->glTarget(), level, 0, 0, 0,
                       std::max(a.Width >> level, 1u), std::max(a.Height >> level, 1u), a.ArraySize);
  }
}
