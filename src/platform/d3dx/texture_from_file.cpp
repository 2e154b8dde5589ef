// D3DX texture loading on top of the image readers and the layer's CreateTexture2D.
#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/d3dx/DecodedImage.h"
#include "platform/d3dx/d3dx11async.h"
#include "platform/d3dx/d3dx11tex.h"

namespace platform::d3dx {

namespace {

uint64_t g_imageFileReads = 0;

bool IsDefault(UINT value) { return value == D3DX11_DEFAULT || value == D3DX11_FROM_FILE; }

HRESULT NotSupported(const char* path, const char* what) {
  std::fprintf(stderr, "D3DX11CreateTextureFromFileW: %s: %s is not supported\n", path, what);
  return E_NOTIMPL;
}

// Checks the load description against what the file gives and fills the texture description.
HRESULT DescribeTexture(const char* path, const DecodedImage& image, const D3DX11_IMAGE_LOAD_INFO& info,
                        D3D11_TEXTURE2D_DESC& desc) {
  if (!IsDefault(info.Width) && info.Width != image.width) return NotSupported(path, "resizing");
  if (!IsDefault(info.Height) && info.Height != image.height) return NotSupported(path, "resizing");
  if (!IsDefault(info.FirstMipLevel) && info.FirstMipLevel != 0) return NotSupported(path, "skipping mip levels");
  const DXGI_FORMAT fileFormat = static_cast<DXGI_FORMAT>(image.format);
  if (!IsDefault(static_cast<UINT>(info.Format)) && info.Format != fileFormat)
    return NotSupported(path, "format conversion");
  UINT mipLevels = image.mipLevels;
  if (!IsDefault(info.MipLevels) && info.MipLevels != 0) {
    if (info.MipLevels > image.mipLevels) return NotSupported(path, "generating more mip levels than the file has");
    mipLevels = info.MipLevels;
  }
  UINT misc = IsDefault(info.MiscFlags) ? 0u : info.MiscFlags;
  if (image.cube) misc |= D3D11_RESOURCE_MISC_TEXTURECUBE;
  // A cube asked for must come from a file with six faces.
  if ((misc & D3D11_RESOURCE_MISC_TEXTURECUBE) && !image.cube) return D3DX11_ERR_INVALID_DATA;
  if (image.arraySize != 1 && !image.cube) return NotSupported(path, "texture arrays");

  desc = {};
  desc.Width = image.width;
  desc.Height = image.height;
  desc.MipLevels = mipLevels;
  desc.ArraySize = image.arraySize;
  desc.Format = fileFormat;
  desc.SampleDesc.Count = 1;
  desc.SampleDesc.Quality = 0;
  desc.Usage = IsDefault(static_cast<UINT>(info.Usage)) ? D3D11_USAGE_DEFAULT : info.Usage;
  desc.BindFlags = IsDefault(info.BindFlags) ? static_cast<UINT>(D3D11_BIND_SHADER_RESOURCE) : info.BindFlags;
  desc.CPUAccessFlags = IsDefault(info.CpuAccessFlags) ? 0u : info.CpuAccessFlags;
  desc.MiscFlags = misc;
  return S_OK;
}

HRESULT CreateTexture(ID3D11Device* device, const char* path, D3DX11_IMAGE_LOAD_INFO* loadInfo,
                      ID3D11Texture2D** texture) {
  *texture = nullptr;
  if (!device || !path) return E_INVALIDARG;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return D3DX11_ERR_FILE_NOT_FOUND;
  ++g_imageFileReads;
  DecodedImage image;
  if (!DecodeImageFile(path, image)) return D3DX11_ERR_INVALID_DATA;
  return CreateTextureFromImage(device, path, image, loadInfo, texture);
}

// A view of a texture just created; the view keeps the texture alive, our reference goes.
HRESULT ViewOfNewTexture(ID3D11Device* device, ID3D11Texture2D* texture, ID3D11ShaderResourceView** view) {
  if (device == nullptr || texture == nullptr) return E_INVALIDARG;
  const HRESULT hr = device->CreateShaderResourceView(texture, nullptr, view);
  texture->Release();
  return hr;
}

}  // namespace

uint64_t ImageFileReadCount() { return g_imageFileReads; }

HRESULT CreateTextureFromImage(ID3D11Device* device, const char* path, const DecodedImage& image,
                               D3DX11_IMAGE_LOAD_INFO* loadInfo, ID3D11Texture2D** texture) {
  *texture = nullptr;
  if (!device || !path) return E_INVALIDARG;
  const D3DX11_IMAGE_LOAD_INFO defaults;
  D3D11_TEXTURE2D_DESC desc;
  const HRESULT described = DescribeTexture(path, image, loadInfo ? *loadInfo : defaults, desc);
  if (FAILED(described)) return described;

  std::vector<D3D11_SUBRESOURCE_DATA> initial;
  initial.reserve(static_cast<size_t>(desc.ArraySize) * desc.MipLevels);
  for (UINT slice = 0; slice < desc.ArraySize; ++slice)
    for (UINT mip = 0; mip < desc.MipLevels; ++mip) {
      const ImageLevel& level = image.Level(slice, mip);
      initial.push_back({image.data.data() + level.offset, level.rowPitch, static_cast<UINT>(level.size)});
    }
  return device->CreateTexture2D(&desc, initial.data(), texture);
}

HRESULT CreateShaderResourceViewFromImage(ID3D11Device* device, const char* path, const DecodedImage& image,
                                          ID3D11ShaderResourceView** view) {
  *view = nullptr;
  ID3D11Texture2D* texture = nullptr;
  const HRESULT created = CreateTextureFromImage(device, path, image, nullptr, &texture);
  return FAILED(created) ? created : ViewOfNewTexture(device, texture, view);
}

}  // namespace platform::d3dx

HRESULT D3DX11CreateTextureFromFileW(ID3D11Device* pDevice, const char* pSrcFile, D3DX11_IMAGE_LOAD_INFO* pLoadInfo,
                                     ID3DX11ThreadPump* pPump, ID3D11Resource** ppTexture, HRESULT* pHResult) {
  HRESULT hr = E_INVALIDARG;
  if (ppTexture) {
    *ppTexture = nullptr;
    if (pPump) {
      hr = E_NOTIMPL;
    } else {
      ID3D11Texture2D* texture = nullptr;
      hr = platform::d3dx::CreateTexture(pDevice, pSrcFile, pLoadInfo, &texture);
      if (SUCCEEDED(hr)) *ppTexture = texture;
    }
  }
  if (pHResult) *pHResult = hr;
  return hr;
}

HRESULT D3DX11CreateShaderResourceViewFromFileW(ID3D11Device* pDevice, const char* pSrcFile,
                                                D3DX11_IMAGE_LOAD_INFO* pLoadInfo, ID3DX11ThreadPump* pPump,
                                                ID3D11ShaderResourceView** ppShaderResourceView, HRESULT* pHResult) {
  HRESULT hr = E_INVALIDARG;
  if (ppShaderResourceView) {
    *ppShaderResourceView = nullptr;
    if (pPump) {
      hr = E_NOTIMPL;
    } else {
      ID3D11Texture2D* texture = nullptr;
      hr = platform::d3dx::CreateTexture(pDevice, pSrcFile, pLoadInfo, &texture);
      if (SUCCEEDED(hr)) hr = platform::d3dx::ViewOfNewTexture(pDevice, texture, ppShaderResourceView);
    }
  }
  if (pHResult) *pHResult = hr;
  return hr;
}
