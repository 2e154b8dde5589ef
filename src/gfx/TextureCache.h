#pragma once
// Every image of the show, loaded from the data directory on first request and kept until
// shutdown: one list of 2D textures and one of cube textures, each entry found by its exact name.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ID3D11Device;
class ID3D11ShaderResourceView;
namespace platform::d3dx {
struct DecodedImage;
}

class TextureCache {
 public:
  explicit TextureCache(ID3D11Device* device) : m_device(device) {}
  ~TextureCache();
  TextureCache(const TextureCache&) = delete;
  TextureCache& operator=(const TextureCache&) = delete;

  // Index into the 2D list, or -1 when the name is empty or the file cannot be loaded. A
  // failure is not remembered: the next request tries the file again. A picture a loading
  // thread has already decoded from the file stands in for reading it.
  int32_t GetTexture(std::string_view fileName, const platform::d3dx::DecodedImage* decoded = nullptr);
  // The same for cube textures (DDS files with six faces), used by scene materials.
  int32_t GetCubeTexture(std::string_view fileName, const platform::d3dx::DecodedImage* decoded = nullptr);

  // The view at an index, or null when the index (taken unsigned) is outside the list.
  ID3D11ShaderResourceView* TextureAt(int32_t index) const;
  ID3D11ShaderResourceView* CubeTextureAt(int32_t index) const;

  // Development mode: the held picture of this name read again from its file. The new
  // picture's texels replace the old ones in place, so every holder of the view draws it from
  // the next frame on. False, with the old picture kept and *message saying why, when the file
  // does not decode or its size, format or mip chain differ from the old; false with no
  // message when the cache holds no picture of that name.
  bool Reload(std::string_view fileName, std::string* message);

  // Releases every view, each list from its last entry to its first, the 2D list first.
  void Shutdown();

 private:
  struct Entry {
    std::string name;
    ID3D11ShaderResourceView* view = nullptr;
  };

  static int32_t Find(const std::vector<Entry*>& list, std::string_view fileName);
  // A new view of the file, flat or as a cube; null when it cannot be made.
  ID3D11ShaderResourceView* Load(const std::string& path, const platform::d3dx::DecodedImage* decoded = nullptr) const;
  ID3D11ShaderResourceView* LoadCube(const std::string& path, const platform::d3dx::DecodedImage* decoded = nullptr) const;
  // Adds a loaded view under the name; its index, or -1 (the view released) without memory.
  static int32_t Add(std::vector<Entry*>& list, std::string_view fileName, ID3D11ShaderResourceView* view);
  bool CopyInto(ID3D11ShaderResourceView* target, ID3D11ShaderResourceView* source, std::string* message) const;
  static void Release(std::vector<Entry*>& list);

  ID3D11Device* m_device;
  std::vector<Entry*> m_textures;
  std::vector<Entry*> m_cubeTextures;
};
