#include "scene/SceneLoader.h"

#include <fstream>
#include <iterator>

#include "app/DataDirectory.h"
#include "gfx/TextureCache.h"
#include "platform/message_box.h"
#include "scene/SceneAssembly.h"
#include "scene/SceneFileReader.h"

void SceneLoader::ShowError(const std::string& text) const {
  platform::MessageBox(context.hWnd, text, fileName, MB_ICONERROR);
}

bool SceneLoader::Load(const std::string& name) {
  std::unique_ptr<Scene> scene = LoadDetached(name);
  if (!scene) return false;
  scenes.push_back(std::move(scene));
  return true;
}

std::unique_ptr<Scene> SceneLoader::LoadDetached(const std::string& name) {
  fileName = name;
  std::ifstream stream(DataPath(name), std::ios::binary);
  std::vector<uint8_t> bytes;
  if (stream.is_open()) bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
  if (!stream.is_open() || stream.bad()) {
    m_failed = std::make_unique<Scene>(context);
    current = m_failed.get();
    ShowError("open file");
    return nullptr;
  }
  return Build(name, bytes);
}

bool SceneLoader::LoadFromMemory(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::unique_ptr<Scene> scene = Build(name, bytes);
  if (!scene) return false;
  scenes.push_back(std::move(scene));
  return true;
}

std::unique_ptr<Scene> SceneLoader::Build(const std::string& name, const std::vector<uint8_t>& bytes) {
  fileName = name;
  auto scene = std::make_unique<Scene>(context);
  current = scene.get();
  SceneFileReader reader(bytes.data(), bytes.size());
  if (const char* failure = reader.Read(scene.get(), &SceneLoader::ResolveTextures, this)) {
    ShowError(failure);
    m_failed = std::move(scene);
    return nullptr;
  }
  AssembleScene(scene.get(), context.device, context.context);
  return scene;
}

bool SceneLoader::ResolveTextures(void* loader, Material* material) {
  return static_cast<SceneLoader*>(loader)->ResolveTextures(material);
}

bool SceneLoader::ResolveTextures(Material* material) {
  TextureCache* textures = context.textures;
  if (!textures) return true;  // no texture cache (tools, tests): names are kept, views stay null

  struct MapLookup {
    bool present;
    const std::string& name;
    ID3D11ShaderResourceView** view;
    const char* failure;
  };
  const MapLookup maps[] = {
      {material->hasDiffuse && material->hasDiffuseMap, material->diffuseMap, &material->diffuseTexture,
       "couldn't load texture: "},
      {material->hasNormalMap, material->normalMap, &material->normalTexture, "couldn't load normal texture: "},
      {material->hasLuminanceMap, material->luminanceMap, &material->luminanceTexture,
       "couldn't load luminance texture: "},
      {material->hasEnvironmentMap, material->environmentMap, &material->environmentTexture,
       "couldn't load environment texture: "},
  };
  for (const MapLookup& map : maps) {
    if (!map.present) continue;
    const int32_t index = textures->GetTexture(map.name);
    if (index < 0) {
      ShowError(map.failure + map.name);
      return false;
    }
    *map.view = textures->TextureAt(index);
  }
  if (material->hasReflectionMap) {
    const int32_t index = textures->GetCubeTexture(material->reflectionMap);
    if (index < 0) {
      ShowError("couldn't load reflection texture: " + material->reflectionMap);
      return false;
    }
    material->reflectionTexture = textures->CubeTextureAt(index);
  }
  return true;
}
