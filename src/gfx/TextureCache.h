#pragma once
// Every image of the show, loaded from the data directory on first request and kept until
// shutdown: one list of 2D textures and one of cube textures, each entry found by its exact name.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ID3D11Device;
class ID3D11ShaderResourceView;

class TextureCache {
 public:
  explicit TextureCache(ID3D11Device* device) : m_device(device) {}
  ~TextureCache();
  TextureCache(const TextureCache&) = delete;
  TextureCache& operator=(const TextureCache&) = delete;

  // Index into the 2D list, or -1 when the name is empty or the file cannot be loaded. A
  // failure is not remembered: the next request tries the file again.
  int32_t GetTexture(std::string_view fileName);
  // The same for cube textures (DDS files with six faces), used by scene materials.
  int32_t GetCubeTexture(std::string_view fileName);

  // The view at an index, or null when the index (taken unsigned) is outside the list.
  ID3D11ShaderResourceView* TextureAt(int32_t index) const;
  ID3D11ShaderResourceView* CubeTextureAt(int32_t index) const;

  // Releases every view, each list from its last entry to its first, the 2D list first.
  void Shutdown();

 private:
  struct Entry {
    std::string name;
    ID3D11ShaderResourceView* view = nullptr;
  };

  static int32_t Find(const std::vector<Entry*>& list, std::string_view fileName);
  static void Release(std::vector<Entry*>& list);

  ID3D11Device* m_device;
  std::vector<Entry*> m_textures;
  std::vector<Entry*> m_cubeTextures;
};
