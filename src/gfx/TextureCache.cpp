#include "gfx/TextureCache.h"

#include <new>

#include "app/DataDirectory.h"
#include "platform/d3dx/d3dx11tex.h"

TextureCache::~TextureCache() { Shutdown(); }

int32_t TextureCache::Find(const std::vector<Entry*>& list, std::string_view fileName) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i]->name == fileName) return static_cast<int32_t>(i);
  return -1;
}

int32_t TextureCache::GetTexture(std::string_view fileName) {
  if (fileName.empty()) return -1;
  const int32_t found = Find(m_textures, fileName);
  if (found >= 0) return found;

  auto* entry = new (std::nothrow) Entry{std::string(fileName), nullptr};
  if (!entry) return -1;
  const std::string path = DataPath(fileName);
  if (FAILED(D3DX11CreateShaderResourceViewFromFileW(m_device, path.c_str(), nullptr, nullptr, &entry->view,
                                                     nullptr))) {
    delete entry;
    return -1;
  }
  m_textures.push_back(entry);
  return static_cast<int32_t>(m_textures.size() - 1);
}

int32_t TextureCache::GetCubeTexture(std::string_view fileName) {
  if (fileName.empty()) return -1;
  const int32_t found = Find(m_cubeTextures, fileName);
  if (found >= 0) return found;

  auto* entry = new (std::nothrow) Entry{std::string(fileName), nullptr};
  if (!entry) return -1;
  const std::string path = DataPath(fileName);
  D3DX11_IMAGE_LOAD_INFO loadInfo;
  loadInfo.MiscFlags = D3D11_RESOURCE_MISC_TEXTURECUBE;
  loadInfo.Format = DXGI_FORMAT_FROM_FILE;
  ID3D11Resource* resource = nullptr;
  if (FAILED(D3DX11CreateTextureFromFileW(m_device, path.c_str(), &loadInfo, nullptr, &resource, nullptr))) {
    delete entry;
    return -1;
  }
  auto* texture = static_cast<ID3D11Texture2D*>(resource);
  D3D11_TEXTURE2D_DESC textureDesc;
  texture->GetDesc(&textureDesc);
  D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc = {};
  viewDesc.Format = textureDesc.Format;
  viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURECUBE;
  viewDesc.TextureCube.MostDetailedMip = 0;
  viewDesc.TextureCube.MipLevels = textureDesc.MipLevels;
  const HRESULT hr = m_device->CreateShaderResourceView(texture, &viewDesc, &entry->view);
  // The view holds the texture from here on.
  texture->Release();
  if (FAILED(hr)) {
    delete entry;
    return -1;
  }
  m_cubeTextures.push_back(entry);
  return static_cast<int32_t>(m_cubeTextures.size() - 1);
}

ID3D11ShaderResourceView* TextureCache::TextureAt(int32_t index) const {
  if (static_cast<uint32_t>(index) >= m_textures.size()) return nullptr;
  return m_textures[static_cast<uint32_t>(index)]->view;
}

ID3D11ShaderResourceView* TextureCache::CubeTextureAt(int32_t index) const {
  if (static_cast<uint32_t>(index) >= m_cubeTextures.size()) return nullptr;
  return m_cubeTextures[static_cast<uint32_t>(index)]->view;
}

void TextureCache::Release(std::vector<Entry*>& list) {
  while (!list.empty()) {
    Entry* entry = list.back();
    if (entry->view) entry->view->Release();
    delete entry;
    list.pop_back();
  }
}

void TextureCache::Shutdown() {
  Release(m_textures);
  Release(m_cubeTextures);
}
