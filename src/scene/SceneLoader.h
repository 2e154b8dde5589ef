#pragma once
// Loads .c4e files from the data directory into Scenes it owns, in load order. Every failure
// is shown in a message box captioned with the file name. Reading, parsing and building a
// scene's meshes, and decoding its pictures, need no GL context and run ahead on worker
// threads (ReadAhead); creating the textures and uploading happen on the loading thread.
#include <atomic>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "gfx/RenderContext.h"
#include "platform/d3dx/DecodedImage.h"
#include "scene/Scene.h"

class SceneLoader {
 public:
  explicit SceneLoader(const RenderContext& renderContext) : context(renderContext) {}
  SceneLoader(const SceneLoader&) = delete;
  SceneLoader& operator=(const SceneLoader&) = delete;
  ~SceneLoader();

  // Reads, parses and assembles the files on worker threads, decoding the pictures their
  // materials name, for the Loads that follow in the same order to take. A Load of another
  // file reads that one itself and leaves the files read ahead waiting.
  void ReadAhead(const std::vector<std::string>& fileNames) { ReadAhead(fileNames, context.textures != nullptr); }
  // The same, decoding the pictures or not whatever the context holds: a loader made before the
  // device and its texture cache still decodes the pictures they will take.
  void ReadAhead(const std::vector<std::string>& fileNames, bool decodePictures);
  // Loads engine_data/fileName; on success the new scene is the last of scenes. With a next
  // file, that one is read ahead meanwhile, for the next Load to take.
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
  // A picture a material names, decoded by the worker; the loading thread makes its texture.
  struct DecodedPicture {
    std::string name;
    bool cube = false;
    platform::d3dx::DecodedImage image;
  };
  // A scene as far as it comes without the GL context: its file read, parsed and assembled.
  struct Parsed {
    std::unique_ptr<Scene> scene;
    bool opened = false;
    const char* failure = nullptr;  // the reader's, when the file did not parse
    std::vector<DecodedPicture> pictures;
  };
  struct Ahead {
    std::string fileName;
    std::future<Parsed> parsed;
  };
  Parsed Parse(const std::string& fileName) const;
  Parsed ParseBytes(const std::vector<uint8_t>& bytes) const;
  // The scene read ahead under this name, or the file read and parsed now.
  Parsed TakeParsed(const std::string& fileName);
  // Decodes the pictures of the scene's materials that no reader has claimed yet.
  void DecodePictures(Parsed* parsed);
  // True for the first reader to ask for this picture.
  bool ClaimPicture(const std::string& name, bool cube);
  // Resolves the textures and uploads the meshes; shows the failure of either step.
  std::unique_ptr<Scene> Finish(const std::string& fileName, Parsed parsed);
  bool ResolveTextures(Material* material, const std::vector<DecodedPicture>& pictures);
  void ShowError(const std::string& text) const;
  // Lets the readers end after the files in hand and waits for them.
  void StopReadingAhead();
  void WaitForReaders();

  static constexpr size_t kReaders = 2;

  std::unique_ptr<Scene> m_failed;
  std::deque<Ahead> m_ahead;
  std::atomic<bool> m_stopReading{false};
  std::mutex m_claimedMutex;
  std::vector<std::pair<std::string, bool>> m_claimedPictures;
  // Declared last, so they go first: a future of std::async waits for its task when it goes,
  // and the tasks read the members above.
  std::vector<std::future<void>> m_readers;
};
