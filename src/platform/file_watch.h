#pragma once
// Changes to the files of watched directories, through inotify, read without ever blocking:
// a file counts as changed once it was closed after writing or moved in (how editors and
// generators finish a file), and as removed when it was deleted or moved away.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct FileChange {
  std::string path;  // the watched directory joined with the file's name
  bool removed = false;
};

class FileWatcher {
 public:
  FileWatcher() = default;
  ~FileWatcher() { Shutdown(); }
  FileWatcher(const FileWatcher&) = delete;
  FileWatcher& operator=(const FileWatcher&) = delete;

  // False when inotify cannot be had.
  bool Create();
  // Watches the directory, with recursive every directory below it too (also those made
  // later). A directory that does not exist yet is watched from when it appears; false only
  // when it exists and cannot be watched.
  bool Watch(const std::string& directory, bool recursive);
  // The changes since the last call, one per file in the order their last event came; a
  // watched directory that was deleted and made again is watched again.
  std::vector<FileChange> Poll();
  void Shutdown();

 private:
  struct Root {
    std::string directory;
    bool recursive = false;
    int descriptor = -1;  // -1 while the directory is missing
  };
  struct Watched {
    int descriptor = -1;
    std::string directory;
    bool recursive = false;
    size_t root = 0;
  };

  bool AddWatch(const std::string& directory, bool recursive, size_t root);
  void ReadEvents(std::vector<FileChange>* changes);
  void RewatchMissingRoots(std::vector<FileChange>* changes);
  static void Record(std::vector<FileChange>* changes, std::string path, bool removed);

  int m_fd = -1;
  std::vector<Root> m_roots;
  std::vector<Watched> m_watched;
};

}  // namespace platform
