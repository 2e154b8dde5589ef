#pragma once
// The D3DX texture loaders: JPEG, PNG and DDS files become textures and shader resource views.
// File names are UTF-8 paths. JPEG and PNG load as R8G8B8A8_UNORM with a full mip chain; DDS
// keeps its own format, mip chain and cube faces. Resizing and format conversion are not part
// of this subset: a load description asking for them fails with E_NOTIMPL and one stderr line.
#include <cstdint>

#include "platform/d3d11/d3d11.h"

constexpr UINT D3DX11_DEFAULT = 0xffffffffu;
constexpr UINT D3DX11_FROM_FILE = 0xfffffffdu;
constexpr DXGI_FORMAT DXGI_FORMAT_FROM_FILE = static_cast<DXGI_FORMAT>(0xfffffffdu);

struct D3DX11_IMAGE_INFO;

struct D3DX11_IMAGE_LOAD_INFO {
  UINT Width = D3DX11_DEFAULT;
  UINT Height = D3DX11_DEFAULT;
  UINT Depth = D3DX11_DEFAULT;
  UINT FirstMipLevel = D3DX11_DEFAULT;
  UINT MipLevels = D3DX11_DEFAULT;
  D3D11_USAGE Usage = static_cast<D3D11_USAGE>(D3DX11_DEFAULT);
  UINT BindFlags = D3DX11_DEFAULT;
  UINT CpuAccessFlags = D3DX11_DEFAULT;
  UINT MiscFlags = D3DX11_DEFAULT;
  DXGI_FORMAT Format = static_cast<DXGI_FORMAT>(D3DX11_DEFAULT);
  UINT Filter = D3DX11_DEFAULT;
  UINT MipFilter = D3DX11_DEFAULT;
  D3DX11_IMAGE_INFO* pSrcInfo = nullptr;
};

// D3DX's result for a file it could not read as an image.
constexpr HRESULT D3DX11_ERR_INVALID_DATA = static_cast<HRESULT>(0x887C2FAAu);

HRESULT D3DX11CreateTextureFromFileW(ID3D11Device* pDevice, const char* pSrcFile, D3DX11_IMAGE_LOAD_INFO* pLoadInfo,
                                     ID3DX11ThreadPump* pPump, ID3D11Resource** ppTexture, HRESULT* pHResult);

HRESULT D3DX11CreateShaderResourceViewFromFileW(ID3D11Device* pDevice, const char* pSrcFile,
                                                D3DX11_IMAGE_LOAD_INFO* pLoadInfo, ID3DX11ThreadPump* pPump,
                                                ID3D11ShaderResourceView** ppShaderResourceView, HRESULT* pHResult);

namespace platform::d3dx {
struct DecodedImage;

// The file loaders' second half, for a picture a loading thread has already decoded; path
// names the picture in messages. Nothing is read, so ImageFileReadCount does not change.
HRESULT CreateTextureFromImage(ID3D11Device* device, const char* path, const DecodedImage& image,
                               D3DX11_IMAGE_LOAD_INFO* loadInfo, ID3D11Texture2D** texture);
HRESULT CreateShaderResourceViewFromImage(ID3D11Device* device, const char* path, const DecodedImage& image,
                                          ID3D11ShaderResourceView** view);

// How many image files the loaders have opened so far; lets tests see that a cache did not
// read a file again.
uint64_t ImageFileReadCount();
}  // namespace platform::d3dx
