#include "scene/SceneLoader.h"

#include <system_error>

#include "app/DataDirectory.h"
#include "gfx/TextureCache.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "scene/SceneAssembly.h"
#include "scene/SceneFileReader.h"

void SceneLoader::ShowError(const std::string& text) const {
  platform::MessageBox(context.hWnd, text, fileName, MB_ICONERROR);
}

void SceneLoader::Prepare(const std::string& name) {
  m_preparedName = name;
  try {
    m_prepared = std::async(std::launch::async, [this, name] { return Parse(name); });
  } catch (const std::system_error&) {
    m_prepared = {};
  }
}

bool SceneLoader::Load(const std::string& name, const std::string& nextName) {
  std::unique_ptr<Scene> scene = LoadDetached(name, nextName);
  if (!scene) return false;
  scenes.push_back(std::move(scene));
  return true;
}

std::unique_ptr<Scene> SceneLoader::LoadDetached(const std::string& name, const std::string& nextName) {
  Parsed parsed = m_prepared.valid() && m_preparedName == name ? m_prepared.get() : Parse(name);
  if (!nextName.empty()) Prepare(nextName);
  return Finish(name, std::move(parsed));
}

bool SceneLoader::LoadFromMemory(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::unique_ptr<Scene> scene = Finish(name, ParseBytes(bytes));
  if (!scene) return false;
  scenes.push_back(std::move(scene));
  return true;
}

SceneLoader::Parsed SceneLoader::Parse(const std::string& name) const {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(DataPath(name), &bytes)) return Parsed{};
  return ParseBytes(bytes);
}

SceneLoader::Parsed SceneLoader::ParseBytes(const std::vector<uint8_t>& bytes) const {
  Parsed parsed;
  parsed.opened = true;
  parsed.scene = std::make_unique<Scene>(context);
  SceneFileReader reader(bytes.data(), bytes.size());
  parsed.failure = reader.Read(parsed.scene.get(), nullptr, nullptr);
  if (!parsed.failure) AssembleSceneData(parsed.scene.get());
  return parsed;
}

std::unique_ptr<Scene> SceneLoader::Finish(const std::string& name, Parsed parsed) {
  fileName = name;
  if (!parsed.opened) {
    m_failed = std::make_unique<Scene>(context);
    current = m_failed.get();
    ShowError("open file");
    return nullptr;
  }
  current = parsed.scene.get();
  // The materials come first in the file, so a texture that cannot be loaded is reported before
  // anything found wrong after them, as when the file is read front to back.
  const char* failure = parsed.failure;
  for (const auto& material : parsed.scene->materials) {
    if (!ResolveTextures(material.get())) {
      failure = "materials";
      break;
    }
  }
  if (failure) {
    ShowError(failure);
    m_failed = std::move(parsed.scene);
    return nullptr;
  }
  UploadSceneMeshes(parsed.scene.get(), context.device, context.context);
  return std::move(parsed.scene);
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
