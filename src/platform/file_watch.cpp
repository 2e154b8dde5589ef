#include "platform/file_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

constexpr uint32_t kFileEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM | IN_CREATE;

}  // namespace

bool FileWatcher::Create() {
  Shutdown();
  m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  return m_fd >= 0;
}

void FileWatcher::Shutdown() {
  if (m_fd >= 0) close(m_fd);  // drops every watch with it
  m_fd = -1;
  m_roots.clear();
  m_watched.clear();
}

bool FileWatcher::AddWatch(const std::string& directory, bool recursive, size_t root) {
  const int descriptor = inotify_add_watch(m_fd, directory.c_str(), kFileEvents | IN_ONLYDIR);
  if (descriptor < 0) return false;
  // Watching the same directory twice hands back the same descriptor.
  auto same = std::find_if(m_watched.begin(), m_watched.end(), [&](const Watched& w) { return w.descriptor == descriptor; });
  if (same == m_watched.end()) m_watched.push_back({descriptor, directory, recursive, root});
  if (root < m_roots.size() && m_roots[root].directory == directory) m_roots[root].descriptor = descriptor;
  if (!recursive) return true;
  std::error_code error;
  for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    if (it->is_directory(error) && !it->is_symlink(error)) AddWatch(it->path().string(), true, root);
  }
  return true;
}

bool FileWatcher::Watch(const std::string& directory, bool recursive) {
  if (m_fd < 0) return false;
  m_roots.push_back({directory, recursive, -1});
  std::error_code error;
  if (!std::filesystem::is_directory(directory, error)) return true;
  return AddWatch(directory, recursive, m_roots.size() - 1);
}

void FileWatcher::Record(std::vector<FileChange>* changes, std::string path, bool removed) {
  changes->erase(std::remove_if(changes->begin(), changes->end(), [&](const FileChange& c) { return c.path == path; }),
                 changes->end());
  changes->push_back({std::move(path), removed});
}

void FileWatcher::ReadEvents(std::vector<FileChange>* changes) {
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    const ssize_t length = read(m_fd, buffer, sizeof(buffer));
    if (length <= 0) return;  // EAGAIN: nothing more; anything else: nothing to read either
    for (ssize_t offset = 0; offset + static_cast<ssize_t>(sizeof(inotify_event)) <= length;) {
      inotify_event event;
      std::memcpy(&event, buffer + offset, sizeof(event));
      const char* name = buffer + offset + sizeof(inotify_event);
      offset += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
      if (offset > length) break;
      // By value: clang refuses to capture a struct with a flexible array member.
      const int descriptor = event.wd;
      auto watched = std::find_if(m_watched.begin(), m_watched.end(),
                                  [descriptor](const Watched& w) { return w.descriptor == descriptor; });
      if (watched == m_watched.end()) continue;
      if (event.mask & IN_IGNORED) {
        // The directory is gone; its root is looked for again later.
        for (Root& root : m_roots)
          if (root.descriptor == event.wd) root.descriptor = -1;
        m_watched.erase(watched);
        continue;
      }
      if (event.len == 0) continue;
      const std::string path = watched->directory + "/" + std::string(name, strnlen(name, event.len));
      if (event.mask & IN_ISDIR) {
        if ((event.mask & (IN_CREATE | IN_MOVED_TO)) && watched->recursive) {
          const size_t root = watched->root;
          AddWatch(path, true, root);  // invalidates `watched`
        }
        continue;
      }
      if (event.mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) Record(changes, path, false);
      if (event.mask & (IN_DELETE | IN_MOVED_FROM)) Record(changes, path, true);
    }
  }
}

void FileWatcher::RewatchMissingRoots(std::vector<FileChange>* changes) {
  for (size_t i = 0; i < m_roots.size(); ++i) {
    if (m_roots[i].descriptor >= 0) continue;
    std::error_code error;
    if (!std::filesystem::is_directory(m_roots[i].directory, error)) continue;
    const Root root = m_roots[i];
    if (!AddWatch(root.directory, root.recursive, i)) continue;
    // Whatever was written before the watch began is new to the caller.
    for (std::filesystem::directory_iterator it(root.directory, error), end; !error && it != end; it.increment(error))
      if (it->is_regular_file(error)) Record(changes, it->path().string(), false);
  }
}

std::vector<FileChange> FileWatcher::Poll() {
  std::vector<FileChange> changes;
  if (m_fd < 0) return changes;
  ReadEvents(&changes);
  RewatchMissingRoots(&changes);
  return changes;
}

}  // namespace platform
