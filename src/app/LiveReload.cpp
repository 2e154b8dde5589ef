#include "app/LiveReload.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/DataDirectory.h"
#include "demo/Demo.h"

namespace fs = std::filesystem;

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Milliseconds from the file's last modification until now (-1 when it cannot be read).
int64_t MillisecondsSinceModified(const std::string& path) {
  struct stat info{};
  if (stat(path.c_str(), &info) != 0) return -1;
  using namespace std::chrono;
  const auto modified = seconds(info.st_mtim.tv_sec) + nanoseconds(info.st_mtim.tv_nsec);
  const auto now = system_clock::now().time_since_epoch();
  return duration_cast<milliseconds>(now - duration_cast<system_clock::duration>(modified)).count();
}

// The text as a developer reads it: the show's private data directory left out (its files are
// copies, named well enough by their file names), and a line the box caption starts with the
// file's name ("x.hlsl: x.hlsl:3: error") only once.
std::string Tidied(std::string text, const std::string& name) {
  const std::string& prefix = DataDirectoryPrefix();
  for (size_t at = text.find(prefix); !prefix.empty() && at != std::string::npos; at = text.find(prefix, at))
    text.erase(at, prefix.size());
  const std::string doubled = name + ": " + name;
  for (size_t at = 0; at < text.size();) {
    if (text.compare(at, doubled.size(), doubled) == 0) text.erase(at, name.size() + 2);
    const size_t end = text.find('\n', at);
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return text;
}

}  // namespace

std::string LiveReload::ShaderDirectory(const std::string& sourceDir) { return sourceDir + "/content/shaders"; }

std::string LiveReload::StageDirectory(const std::string& buildDir) { return buildDir + "/stage/engine_data"; }

bool LiveReload::Create(const std::string& sourceDir, const std::string& buildDir, Demo* demo) {
  Shutdown();
  std::error_code error;
  if (!demo || !fs::is_directory(ShaderDirectory(sourceDir), error)) return false;
  m_pDemo = demo;
  m_shaderDirectory = ShaderDirectory(sourceDir);
  m_stageDirectory = StageDirectory(buildDir);
  // The stage may be missing until the first build; it is watched from when it appears.
  return m_watcher.Create() && m_watcher.Watch(m_shaderDirectory, false) && m_watcher.Watch(m_stageDirectory, false);
}

void LiveReload::Shutdown() {
  m_watcher.Shutdown();
  m_pDemo = nullptr;
  m_problems.clear();
  m_latestProblemFile.clear();
}

std::string LiveReload::problem() const {
  const auto found = m_problems.find(m_latestProblemFile);
  if (found != m_problems.end()) return found->second;
  return m_problems.empty() ? std::string() : m_problems.begin()->second;
}

bool LiveReload::CopyIntoData(const std::string& source, const std::string& name, std::string* error) const {
  std::ifstream in(source, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.is_open() || in.bad()) {
    *error = name + " cannot be read; the one in use stays";
    return false;
  }
  // Whole or not at all: a reader never sees half a file.
  const std::string target = DataPath(name);
  const std::string partial = target + ".partial";
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  std::error_code renameError;
  if (!out || (fs::rename(partial, target, renameError), renameError)) {
    fs::remove(partial, renameError);
    *error = name + " cannot be written into the data directory; the one in use stays";
    return false;
  }
  return true;
}

void LiveReload::Report(const std::string& name, bool ok, const std::string& text) {
  if (ok) {
    m_problems.erase(name);
    std::fprintf(stderr, "[reload] %s in use (%lld ms after it was saved)\n", name.c_str(),
                 static_cast<long long>(m_lastLatencyMs));
  } else {
    m_problems[name] = Tidied(text, name);
    m_latestProblemFile = name;
    std::fprintf(stderr, "[reload] %s\n", m_problems[name].c_str());
  }
  std::fflush(stderr);
}

bool LiveReload::Take(const std::string& source, const std::string& name, Kind kind) {
  std::string text;
  if (!CopyIntoData(source, name, &text)) {
    Report(name, false, text);
    return false;
  }
  bool ok = true;
  if (kind == Kind::Shader) ok = m_pDemo->ReloadShader(name, &text);
  if (kind == Kind::Scene) ok = m_pDemo->ReloadScene(name, &text);
  if (kind == Kind::SceneData) ok = m_pDemo->ReloadPicture(name, &text);
  if (ok) m_lastLatencyMs = MillisecondsSinceModified(source);
  // A picture no one has loaded yet (or another file beside the scenes) waits in the data
  // directory for the scene that names it.
  if (kind == Kind::SceneData && !ok && text.empty()) return true;
  if (!ok && text.empty()) {
    std::fprintf(stderr, "[reload] %s is not one of the show's; left alone\n", name.c_str());
    return false;
  }
  Report(name, ok, text);
  return ok;
}

int LiveReload::Apply() {
  if (!m_pDemo) return 0;
  std::vector<platform::FileChange> shaders, scenes, sceneData;
  for (platform::FileChange& change : m_watcher.Poll()) {
    const fs::path path(change.path);
    const std::string name = path.filename().string();
    // Editors' and generators' scratch files are not the show's.
    if (name.empty() || name[0] == '.' || EndsWith(name, "~") || EndsWith(name, ".partial")) continue;
    const bool fromSources = path.parent_path() == fs::path(m_shaderDirectory);
    // The stage holds copies of the shaders too; the sources are what a developer edits.
    std::vector<platform::FileChange>* list = fromSources ? (EndsWith(name, ".hlsl") ? &shaders : nullptr)
                                              : EndsWith(name, ".c4e")  ? &scenes
                                              : EndsWith(name, ".hlsl") ? nullptr
                                                                        : &sceneData;
    if (!list) continue;
    if (change.removed) {
      std::fprintf(stderr, "[reload] %s was removed; the one in use stays\n", name.c_str());
      continue;
    }
    list->push_back(change);
  }
  int taken = 0;
  // Pictures first: a rebuilt scene may name pictures that are new too.
  for (const platform::FileChange& change : sceneData)
    taken += Take(change.path, fs::path(change.path).filename().string(), Kind::SceneData) ? 1 : 0;
  for (const platform::FileChange& change : shaders)
    taken += Take(change.path, fs::path(change.path).filename().string(), Kind::Shader) ? 1 : 0;
  for (const platform::FileChange& change : scenes)
    taken += Take(change.path, fs::path(change.path).filename().string(), Kind::Scene) ? 1 : 0;
  return taken;
}
