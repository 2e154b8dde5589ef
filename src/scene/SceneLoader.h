#pragma once
// Loads .c4e files from the data directory into Scenes it owns, in load order. Every failure
// is shown in a message box captioned with the file name.
#include <memory>
#include <string>
#include <vector>

#include "gfx/RenderContext.h"
#include "scene/Scene.h"

class SceneLoader {
 public:
  explicit SceneLoader(const RenderContext& renderContext) : context(renderContext) {}
  SceneLoader(const SceneLoader&) = delete;
  SceneLoader& operator=(const SceneLoader&) = delete;

  // Loads engine_data/fileName; on success the new scene is the last of scenes.
  bool Load(const std::string& fileName);
  // The same from bytes already in memory; fileName is the caption of any message.
  bool LoadFromMemory(const std::string& fileName, const std::vector<uint8_t>& bytes);
  // Loads engine_data/fileName into a scene of its own, not added to scenes (replacing a
  // scene while the show plays); null after a failure, which shows its box as Load does.
  std::unique_ptr<Scene> LoadDetached(const std::string& fileName);

  std::vector<std::unique_ptr<Scene>> scenes;
  RenderContext context;
  // The scene being loaded; after a failed load, the scene that failed.
  Scene* current = nullptr;
  std::string fileName;

 private:
  static bool ResolveTextures(void* loader, Material* material);
  bool ResolveTextures(Material* material);
  void ShowError(const std::string& text) const;
  std::unique_ptr<Scene> Build(const std::string& fileName, const std::vector<uint8_t>& bytes);

  std::unique_ptr<Scene> m_failed;
};
