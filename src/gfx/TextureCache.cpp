#include "gfx/TextureCache.h"

#include <new>
#include <string>
#include <tuple>

#include "app/DataDirectory.h"
#include "platform/d3dx/DecodedImage.h"
#include "platform/d3dx/d3dx11tex.h"

TextureCache::~TextureCache() { Shutdown(); }

int32_t TextureCache::Find(const std::vector<Entry*>& list, std::string_view fileName) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i]->name == fileName) return static_cast<int32_t>(i);
  return -1;
}

int32_t TextureCache::Add(std::vector<Entry*>& list, std::string_view fileName, ID3D11ShaderResourceView* view) {
  auto* entry = new (std::nothrow) Entry{std::string(fileName), view};
  if (!entry) {
    view->Release();
    return -1;
  }
  list.push_back(entry);
  return static_cast<int32_t>(list.size() - 1);
}

ID3D11ShaderResourceView* TextureCache::Load(const std::string& path,
                                             const platform::d3dx::DecodedImage* decoded) const {
  ID3D11ShaderResourceView* view = nullptr;
  const HRESULT hr =
      decoded != nullptr
          ? platform::d3dx::CreateShaderResourceViewFromImage(m_device, path.c_str(), *decoded, &view)
          : D3DX11CreateShaderResourceViewFromFileW(m_device, path.c_str(), nullptr, nullptr, &view, nullptr);
  return FAILED(hr) ? nullptr : view;
}

ID3D11ShaderResourceView* TextureCache::LoadCube(const std::string& path,
                                                 const platform::d3dx::DecodedImage* decoded) const {
  D3DX11_IMAGE_LOAD_INFO loadInfo;
  loadInfo.MiscFlags = D3D11_RESOURCE_MISC_TEXTURECUBE;
  loadInfo.Format = DXGI_FORMAT_FROM_FILE;
  ID3D11Texture2D* texture = nullptr;
  if (decoded != nullptr) {
    if (FAILED(platform::d3dx::CreateTextureFromImage(m_device, path.c_str(), *decoded, &loadInfo, &texture)))
      return nullptr;
  } else {
    ID3D11Resource* resource = nullptr;
    if (FAILED(D3DX11CreateTextureFromFileW(m_device, path.c_str(), &loadInfo, nullptr, &resource, nullptr)))
      return nullptr;
    texture = static_cast<ID3D11Texture2D*>(resource);
  }
  D3D11_TEXTURE2D_DESC textureDesc;
  texture->GetDesc(&textureDesc);
  D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc = {};
  viewDesc.Format = textureDesc.Format;
  viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURECUBE;
  viewDesc.TextureCube.MostDetailedMip = 0;
  viewDesc.TextureCube.MipLevels = textureDesc.MipLevels;
  ID3D11ShaderResourceView* view = nullptr;
  const HRESULT hr = m_device->CreateShaderResourceView(texture, &viewDesc, &view);
  // The view holds the texture from here on.
  texture->Release();
  return FAILED(hr) ? nullptr : view;
}

int32_t TextureCache::GetTexture(std::string_view fileName, const platform::d3dx::DecodedImage* decoded) {
  if (fileName.empty()) return -1;
  const int32_t found = Find(m_textures, fileName);
  if (found >= 0) return found;
  ID3D11ShaderResourceView* view = Load(DataPath(fileName), decoded);
  return view ? Add(m_textures, fileName, view) : -1;
}

int32_t TextureCache::GetCubeTexture(std::string_view fileName, const platform::d3dx::DecodedImage* decoded) {
  if (fileName.empty()) return -1;
  const int32_t found = Find(m_cubeTextures, fileName);
  if (found >= 0) return found;
  ID3D11ShaderResourceView* view = LoadCube(DataPath(fileName), decoded);
  return view ? Add(m_cubeTextures, fileName, view) : -1;
}

bool TextureCache::CopyInto(ID3D11ShaderResourceView* target, ID3D11ShaderResourceView* source,
                            std::string* message) const {
  ID3D11Resource* to = nullptr;
  ID3D11Resource* from = nullptr;
  target->GetResource(&to);
  source->GetResource(&from);
  D3D11_TEXTURE2D_DESC old{}, fresh{};
  static_cast<ID3D11Texture2D*>(to)->GetDesc(&old);
  static_cast<ID3D11Texture2D*>(from)->GetDesc(&fresh);
  const bool sameShape = old.Width == fresh.Width && old.Height == fresh.Height && old.MipLevels == fresh.MipLevels &&
                         old.ArraySize == fresh.ArraySize && old.Format == fresh.Format;
  if (sameShape) {
    ID3D11DeviceContext* context = nullptr;
    m_device->GetImmediateContext(&context);
    context->CopyResource(to, from);
    context->Release();
  } else {
    *message = "the new picture is " + std::to_string(fresh.Width) + " x " + std::to_string(fresh.Height) +
               " in another size or format than the one in use (" + std::to_string(old.Width) + " x " +
               std::to_string(old.Height) + "); it shows at the next start";
  }
  to->Release();
  from->Release();
  return sameShape;
}

bool TextureCache::Reload(std::string_view fileName, std::string* message) {
  message->clear();
  const int32_t flat = Find(m_textures, fileName);
  const int32_t cube = Find(m_cubeTextures, fileName);
  if (flat < 0 && cube < 0) return false;
  const std::string path = DataPath(fileName);
  bool ok = true;
  for (const auto& [list, index, cubeMap] : {std::tuple{&m_textures, flat, false}, std::tuple{&m_cubeTextures, cube, true}}) {
    if (index < 0) continue;
    ID3D11ShaderResourceView* fresh = cubeMap ? LoadCube(path) : Load(path);
    if (!fresh) {
      *message = "the picture cannot be decoded; the one in use stays";
      return false;
    }
    ok = CopyInto((*list)[static_cast<size_t>(index)]->view, fresh, message) && ok;
    fresh->Release();
  }
  return ok;
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
