#pragma once
// Development mode's live reload: watches the repository's HLSL sources and the scene
// generators' output in the build's data stage, copies a finished file into the show's data
// directory and makes the program, scene or loaded picture again from it before the next
// frame. A file that does not compile or load leaves the old one in use; the reason goes to
// stderr and stays in problem() for the window title and the picture until that file loads.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/file_watch.h"

class Demo;

class LiveReload {
 public:
  // The repository's shader sources and, below the build directory, the data stage.
  static std::string ShaderDirectory(const std::string& sourceDir);
  static std::string StageDirectory(const std::string& buildDir);

  // Watches sourceDir's shaders and buildDir's data stage for the Demo; false when the
  // shader directory is missing or inotify cannot be had.
  bool Create(const std::string& sourceDir, const std::string& buildDir, Demo* demo);
  void Shutdown();

  // Takes every change since the last call into the show; called once per frame before the
  // frame is drawn. Returns how many files were taken in.
  int Apply();

  // The latest reload problem that still stands ("" when none).
  std::string problem() const;
  // Milliseconds from the last taken-in file's modification to the moment it was in use.
  int64_t lastLatencyMs() const { return m_lastLatencyMs; }

 private:
  enum class Kind { Shader, Scene, SceneData };  // SceneData: pictures and the like beside the scenes
  bool CopyIntoData(const std::string& source, const std::string& name, std::string* error) const;
  bool Take(const std::string& source, const std::string& name, Kind kind);
  void Report(const std::string& name, bool ok, const std::string& text);

  platform::FileWatcher m_watcher;
  std::string m_shaderDirectory;
  std::string m_stageDirectory;
  Demo* m_pDemo = nullptr;
  std::map<std::string, std::string> m_problems;  // per file, while it fails
  std::string m_latestProblemFile;
  int64_t m_lastLatencyMs = -1;
};
