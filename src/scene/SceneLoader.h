#pragma once
// Loads .c4e files from the data directory into Scenes it owns, in load order. Every failure
// is shown in a message box captioned with the file name. Reading, parsing and building a
// scene's meshes need no GL context and can run ahead on a worker thread (Prepare); textures
// and uploads happen on the loading thread.
#include <future>
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

  // Loads engine_data/fileName; on success the new scene is the last of scenes. With a next
  // file, that one is read and parsed on a worker thread meanwhile, for the next Load to take.
  bool Load(const std::string& fileName, const std::string& nextFileName = std::string());
  // The same from bytes already in memory; fileName is the caption of any message.
  bool LoadFromMemory(const std::string& fileName, const std::vector<uint8_t>& bytes);
  // Loads engine_data/fileName into a scene of its own, not added to scenes (replacing a
  // scene while the show plays); null after a failure, which shows its box as Load does.
  std::unique_ptr<Scene> LoadDetached(const std::string& fileName, const std::string& nextFileName = std::string());

  std::vector<std::unique_ptr<Scene>> scenes;
  RenderContext context;
  // The scene being loaded; after a failed load, the scene that failed.
  Scene* current = nullptr;
  std::string fileName;

 private:
  // A scene as far as it comes without the GL context: its file read, parsed and assembled.
  struct Parsed {
    std::unique_ptr<Scene> scene;
    bool opened = false;
    const char* failure = nullptr;  // the reader's, when the file did not parse
  };
  // Starts parsing fileName on a worker thread; without one, the file is parsed when loaded.
  void Prepare(const std::string& fileName);
  Parsed Parse(const std::string& fileName) const;
  Parsed ParseBytes(const std::vector<uint8_t>& bytes) const;
  // Resolves the textures and uploads the meshes; shows the failure of either step.
  std::unique_ptr<Scene> Finish(const std::string& fileName, Parsed parsed);
  bool ResolveTextures(Material* material);
  void ShowError(const std::string& text) const;

  std::unique_ptr<Scene> m_failed;
  std::string m_preparedName;
  // Declared last, so it goes first: a future of std::async waits for its task when it goes, and
  // the task reads the members above. Replacing it waits the same way.
  std::future<Parsed> m_prepared;
};
