#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>

#include "platform/d3d11/d3d11.h"
#include "platform/d3d11/formats.h"
#include "platform/d3d11/gl_check.h"

using platform::d3d11::CheckGLError;
using platform::d3d11::TextureFormat;
using platform::d3d11::TextureFormatOf;

namespace {

HRESULT Invalid(const char* what) {
  platform::d3d11::ReportRefusal("%s", what);
  return E_INVALIDARG;
}

uint32_t FullMipCount(uint32_t width, uint32_t height) {
  uint32_t levels = 1;
  for (uint32_t size = std::max(width, height); size > 1; size /= 2) ++levels;
  return levels;
}

GLenum TextureTarget(const D3D11_TEXTURE2D_DESC& desc) {
  if ((desc.MiscFlags & D3D11_RESOURCE_MISC_TEXTURECUBE) != 0) return GL_TEXTURE_CUBE_MAP;
  return desc.ArraySize > 1 ? GL_TEXTURE_2D_ARRAY : GL_TEXTURE_2D;
}

void UploadImage(GLuint texture, GLenum target, const TextureFormat& format, uint32_t level, uint32_t slice,
                 uint32_t width, uint32_t height, const D3D11_SUBRESOURCE_DATA& data) {
  const bool layered = target != GL_TEXTURE_2D;
  if (format.bytesPerBlock != 0) {
    const GLsizei bytes = static_cast<GLsizei>(platform::d3d11::ImageBytes(format, width, height));
    if (layered) {
      glCompressedTextureSubImage3D(texture, level, 0, 0, slice, width, height, 1, format.internalFormat, bytes,
                                    data.pSysMem);
    } else {
      glCompressedTextureSubImage2D(texture, level, 0, 0, width, height, format.internalFormat, bytes, data.pSysMem);
    }
    return;
  }
  const uint32_t pitch = data.SysMemPitch != 0 ? data.SysMemPitch : width * format.bytesPerPixel;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(pitch / format.bytesPerPixel));
  if (layered) {
    glTextureSubImage3D(texture, level, 0, 0, slice, width, height, 1, format.uploadFormat, format.uploadType,
                        data.pSysMem);
  } else {
    glTextureSubImage2D(texture, level, 0, 0, width, height, format.uploadFormat, format.uploadType, data.pSysMem);
  }
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

}  // namespace

HRESULT ID3D11Device::CreateBuffer(const D3D11_BUFFER_DESC* pDesc, const D3D11_SUBRESOURCE_DATA* pInitialData,
                                   ID3D11Buffer** ppBuffer) {
  if (pDesc == nullptr || pDesc->ByteWidth == 0) return Invalid("CreateBuffer: empty buffer");
  if ((pDesc->BindFlags & D3D11_BIND_CONSTANT_BUFFER) != 0 && pDesc->ByteWidth % 16 != 0) {
    return Invalid("CreateBuffer: a constant buffer's size must be a multiple of 16");
  }
  if (pDesc->Usage == D3D11_USAGE_DYNAMIC && (pDesc->CPUAccessFlags & D3D11_CPU_ACCESS_WRITE) == 0) {
    return Invalid("CreateBuffer: a dynamic buffer needs CPU write access");
  }
  if (pDesc->Usage == D3D11_USAGE_IMMUTABLE && pInitialData == nullptr) {
    return Invalid("CreateBuffer: an immutable buffer needs initial data");
  }
  if (ppBuffer == nullptr) return S_FALSE;
  auto* buffer = new ID3D11Buffer(this, *pDesc);
  glCreateBuffers(1, &buffer->m_glName);
  const GLenum usage = pDesc->Usage == D3D11_USAGE_DYNAMIC ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW;
  glNamedBufferData(buffer->m_glName, pDesc->ByteWidth, pInitialData != nullptr ? pInitialData->pSysMem : nullptr,
                    usage);
  if (!CheckGLError("CreateBuffer")) {
    buffer->Release();
    return E_OUTOFMEMORY;
  }
  *ppBuffer = buffer;
  return S_OK;
}

HRESULT ID3D11Device::CreateTexture2D(const D3D11_TEXTURE2D_DESC* pDesc, const D3D11_SUBRESOURCE_DATA* pInitialData,
                                      ID3D11Texture2D** ppTexture2D) {
  if (pDesc == nullptr || pDesc->Width == 0 || pDesc->Height == 0 || pDesc->ArraySize == 0) {
    return Invalid("CreateTexture2D: empty texture");
  }
  if (pDesc->SampleDesc.Count > 1) {
    platform::d3d11::ReportNotImplemented("CreateTexture2D with multisampling");
    return E_NOTIMPL;
  }
  const bool cube = (pDesc->MiscFlags & D3D11_RESOURCE_MISC_TEXTURECUBE) != 0;
  if (cube && (pDesc->ArraySize != 6 || pDesc->Width != pDesc->Height)) {
    return Invalid("CreateTexture2D: a cube texture needs six square faces");
  }
  if (!cube && pDesc->ArraySize > 1 && pDesc->ArraySize > 2048) return Invalid("CreateTexture2D: array too large");
  const TextureFormat format = TextureFormatOf(pDesc->Format);
  if (format.internalFormat == 0) {
    platform::d3d11::ReportRefusal("CreateTexture2D: format %u is not supported", pDesc->Format);
    return E_INVALIDARG;
  }
  if (pDesc->Usage == D3D11_USAGE_IMMUTABLE && pInitialData == nullptr) {
    return Invalid("CreateTexture2D: an immutable texture needs initial data");
  }
  const uint32_t fullMips = FullMipCount(pDesc->Width, pDesc->Height);
  if (pDesc->MipLevels > fullMips) return Invalid("CreateTexture2D: more mip levels than the size allows");
  if (ppTexture2D == nullptr) return S_FALSE;

  D3D11_TEXTURE2D_DESC desc = *pDesc;
  if (desc.MipLevels == 0) desc.MipLevels = fullMips;
  auto* texture = new ID3D11Texture2D(this, desc);
  texture->m_glTarget = TextureTarget(desc);
  glCreateTextures(texture->m_glTarget, 1, &texture->m_glName);
  const GLuint name = texture->m_glName;
  if (texture->m_glTarget == GL_TEXTURE_2D_ARRAY) {
    glTextureStorage3D(name, desc.MipLevels, format.internalFormat, desc.Width, desc.Height, desc.ArraySize);
  } else {
    glTextureStorage2D(name, desc.MipLevels, format.internalFormat, desc.Width, desc.Height);
  }
  if (pInitialData != nullptr) {
    for (uint32_t slice = 0; slice < desc.ArraySize; ++slice) {
      for (uint32_t level = 0; level < desc.MipLevels; ++level) {
        const D3D11_SUBRESOURCE_DATA& data = pInitialData[slice * desc.MipLevels + level];
        if (data.pSysMem == nullptr) continue;
        UploadImage(name, texture->m_glTarget, format, level, slice, std::max(desc.Width >> level, 1u),
                    std::max(desc.Height >> level, 1u), data);
      }
    }
  }
  glTextureParameteri(name, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(desc.MipLevels - 1));
  if (!CheckGLError("CreateTexture2D")) {
    texture->Release();
    return E_OUTOFMEMORY;
  }
  *ppTexture2D = texture;
  return S_OK;
}

HRESULT ID3D11Device::CreateShaderResourceView(ID3D11Resource* pResource, const D3D11_SHADER_RESOURCE_VIEW_DESC* pDesc,
                                               ID3D11ShaderResourceView** ppSRView) {
  if (pResource == nullptr) return Invalid("CreateShaderResourceView: no resource");
  D3D11_RESOURCE_DIMENSION dimension;
  pResource->GetType(&dimension);
  if (dimension != D3D11_RESOURCE_DIMENSION_TEXTURE2D) {
    platform::d3d11::ReportNotImplemented("CreateShaderResourceView of a buffer");
    return E_NOTIMPL;
  }
  auto* texture = static_cast<ID3D11Texture2D*>(pResource);
  D3D11_TEXTURE2D_DESC textureDesc;
  texture->GetDesc(&textureDesc);
  if ((textureDesc.BindFlags & D3D11_BIND_SHADER_RESOURCE) == 0) {
    return Invalid("CreateShaderResourceView: the texture lacks D3D11_BIND_SHADER_RESOURCE");
  }
  const bool cube = texture->glTarget() == GL_TEXTURE_CUBE_MAP;
  D3D11_SHADER_RESOURCE_VIEW_DESC desc{};
  if (pDesc != nullptr) {
    desc = *pDesc;
  } else {
    desc.Format = textureDesc.Format;
    desc.ViewDimension = cube ? D3D11_SRV_DIMENSION_TEXTURECUBE
                              : (textureDesc.ArraySize > 1 ? D3D11_SRV_DIMENSION_TEXTURE2DARRAY
                                                           : D3D11_SRV_DIMENSION_TEXTURE2D);
    desc.Texture2D.MostDetailedMip = 0;
    desc.Texture2D.MipLevels = textureDesc.MipLevels;
  }
  const bool wantsCube = desc.ViewDimension == D3D11_SRV_DIMENSION_TEXTURECUBE;
  if (wantsCube != cube) return Invalid("CreateShaderResourceView: view and texture disagree on being a cube");
  // Both dimensions keep MostDetailedMip and MipLevels in the same place.
  const uint32_t first = desc.Texture2D.MostDetailedMip;
  uint32_t count = desc.Texture2D.MipLevels == 0xffffffffu ? textureDesc.MipLevels - first : desc.Texture2D.MipLevels;
  if (first >= textureDesc.MipLevels || count == 0 || first + count > textureDesc.MipLevels) {
    return Invalid("CreateShaderResourceView: mip range outside the texture");
  }
  if (TextureFormatOf(desc.Format).internalFormat != TextureFormatOf(textureDesc.Format).internalFormat) {
    return Invalid("CreateShaderResourceView: format incompatible with the texture");
  }
  if (ppSRView == nullptr) return S_FALSE;
  auto* view = new ID3D11ShaderResourceView(this, pResource, desc);
  if (first == 0 && count == textureDesc.MipLevels) {
    view->m_glTexture = texture->glName();
  } else {
    glGenTextures(1, &view->m_glTexture);
    glTextureView(view->m_glTexture, texture->glTarget(), texture->glName(),
                  TextureFormatOf(textureDesc.Format).internalFormat, first, count, 0, textureDesc.ArraySize);
    view->m_ownsTextureView = true;
  }
  if (!CheckGLError("CreateShaderResourceView")) {
    view->Release();
    return E_FAIL;
  }
  *ppSRView = view;
  return S_OK;
}

HRESULT ID3D11Device::CreateRenderTargetView(ID3D11Resource* pResource, const D3D11_RENDER_TARGET_VIEW_DESC* pDesc,
                                             ID3D11RenderTargetView** ppRTView) {
  if (pResource == nullptr) return Invalid("CreateRenderTargetView: no resource");
  D3D11_RESOURCE_DIMENSION dimension;
  pResource->GetType(&dimension);
  if (dimension != D3D11_RESOURCE_DIMENSION_TEXTURE2D) return Invalid("CreateRenderTargetView: not a texture");
  auto* texture = static_cast<ID3D11Texture2D*>(pResource);
  D3D11_TEXTURE2D_DESC textureDesc;
  texture->GetDesc(&textureDesc);
  if ((textureDesc.BindFlags & D3D11_BIND_RENDER_TARGET) == 0) {
    return Invalid("CreateRenderTargetView: the texture lacks D3D11_BIND_RENDER_TARGET");
  }
  if (texture->glTarget() != GL_TEXTURE_2D) {
    platform::d3d11::ReportNotImplemented("CreateRenderTargetView of a cube or array texture");
    return E_NOTIMPL;
  }
  D3D11_RENDER_TARGET_VIEW_DESC desc{};
  if (pDesc != nullptr) {
    desc = *pDesc;
    if (desc.ViewDimension != D3D11_RTV_DIMENSION_TEXTURE2D) return Invalid("CreateRenderTargetView: dimension");
    if (desc.Texture2D.MipSlice >= textureDesc.MipLevels) return Invalid("CreateRenderTargetView: mip slice");
  } else {
    desc.Format = textureDesc.Format;
    desc.ViewDimension = D3D11_RTV_DIMENSION_TEXTURE2D;
    desc.Texture2D.MipSlice = 0;
  }
  if (ppRTView == nullptr) return S_FALSE;
  *ppRTView = new ID3D11RenderTargetView(this, pResource, desc);
  return S_OK;
}

HRESULT ID3D11Device::CreateDepthStencilView(ID3D11Resource* pResource, const D3D11_DEPTH_STENCIL_VIEW_DESC* pDesc,
                                             ID3D11DepthStencilView** ppDepthStencilView) {
  if (pResource == nullptr) return Invalid("CreateDepthStencilView: no resource");
  D3D11_RESOURCE_DIMENSION dimension;
  pResource->GetType(&dimension);
  if (dimension != D3D11_RESOURCE_DIMENSION_TEXTURE2D) return Invalid("CreateDepthStencilView: not a texture");
  auto* texture = static_cast<ID3D11Texture2D*>(pResource);
  D3D11_TEXTURE2D_DESC textureDesc;
  texture->GetDesc(&textureDesc);
  if ((textureDesc.BindFlags & D3D11_BIND_DEPTH_STENCIL) == 0 || !TextureFormatOf(textureDesc.Format).depthStencil) {
    return Invalid("CreateDepthStencilView: the texture is no depth-stencil texture");
  }
  D3D11_DEPTH_STENCIL_VIEW_DESC desc{};
  if (pDesc != nullptr) {
    desc = *pDesc;
    if (desc.ViewDimension != D3D11_DSV_DIMENSION_TEXTURE2D) return Invalid("CreateDepthStencilView: dimension");
    if (desc.Texture2D.MipSlice >= textureDesc.MipLevels) return Invalid("CreateDepthStencilView: mip slice");
  } else {
    desc.Format = textureDesc.Format;
    desc.ViewDimension = D3D11_DSV_DIMENSION_TEXTURE2D;
  }
  if (ppDepthStencilView == nullptr) return S_FALSE;
  *ppDepthStencilView = new ID3D11DepthStencilView(this, pResource, desc);
  return S_OK;
}
