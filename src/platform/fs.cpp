#include "platform/fs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace platform {
namespace {

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

void CloseIfOpen(int& descriptor) {
  if (descriptor >= 0) close(descriptor);
  descriptor = -1;
}

// Splits a relative path at '/'; empty and "." components vanish. A ".." component makes the
// whole path invalid: nothing here ever climbs above its root.
bool SplitComponents(std::string_view path, std::vector<std::string>* components) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part == "..") return false;
    if (!part.empty() && part != ".") components->emplace_back(part);
    start = end + 1;
  }
  return true;
}

// Opens root (trusted, links allowed) and then each component below it without following links.
int OpenDirectoryChain(const std::string& root, const std::vector<std::string>& components, size_t count) {
  int directory = open(root.empty() ? "." : root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (size_t i = 0; i < count && directory >= 0; ++i) {
    const int next = openat(directory, components[i].c_str(), kDirectoryFlags);
    close(directory);
    directory = next;
  }
  return directory;
}

bool DeleteDirectoryContents(int directory) {
  // Our own directory must be writable to remove its children.
  struct stat self {};
  if (fstat(directory, &self) == 0 && (self.st_mode & S_IRWXU) != S_IRWXU) fchmod(directory, self.st_mode | S_IRWXU);

  std::vector<std::string> names;
  const int listing = dup(directory);
  if (listing < 0) return false;
  DIR* stream = fdopendir(listing);
  if (!stream) {
    close(listing);
    return false;
  }
  while (const dirent* entry = readdir(stream)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  closedir(stream);

  bool removedAll = true;
  for (const std::string& name : names) {
    struct stat info {};
    if (fstatat(directory, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      removedAll = removedAll && errno == ENOENT;
      continue;
    }
    if (S_ISDIR(info.st_mode)) {
      int child = openat(directory, name.c_str(), kDirectoryFlags);
      if (child < 0) {
        removedAll = false;
        continue;
      }
      const bool emptied = DeleteDirectoryContents(child);
      CloseIfOpen(child);
      removedAll = emptied && unlinkat(directory, name.c_str(), AT_REMOVEDIR) == 0 && removedAll;
    } else {
      removedAll = unlinkat(directory, name.c_str(), 0) == 0 && removedAll;
    }
  }
  return removedAll;
}

}  // namespace

uint64_t UnixSecondsToFileTime(int64_t seconds) {
  return static_cast<uint64_t>(seconds + kFileTimeEpochOffsetSeconds) * kFileTimeTicksPerSecond;
}

bool PathExists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

bool CreateDirectory(const std::string& path) { return mkdir(path.c_str(), 0755) == 0; }

bool CreateDirectoryBelow(const std::string& root, std::string_view relative) {
  std::vector<std::string> components;
  if (!SplitComponents(relative, &components) || components.empty()) return false;
  int parent = OpenDirectoryChain(root, components, components.size() - 1);
  if (parent < 0) return false;
  const char* name = components.back().c_str();
  bool created = mkdirat(parent, name, 0755) == 0;
  if (!created && errno == EEXIST) {
    struct stat info {};
    if (fstatat(parent, name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
      if (S_ISDIR(info.st_mode)) {
        created = true;
      } else if (S_ISLNK(info.st_mode)) {
        created = unlinkat(parent, name, 0) == 0 && mkdirat(parent, name, 0755) == 0;
      }
    }
  }
  CloseIfOpen(parent);
  return created;
}

OutputFile::~OutputFile() { Close(); }

bool OutputFile::Create(const std::string& root, std::string_view directory, std::string_view name,
                        bool readOnly) {
  Close();
  std::vector<std::string> components;
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos ||
      !SplitComponents(directory, &components)) {
    errno = EINVAL;
    return false;
  }
  m_directory = OpenDirectoryChain(root, components, components.size());
  if (m_directory < 0) return FailKeepingErrno();
  m_name = std::string(name);

  // Replace, never open, what is there: a link would redirect the write, a read-only file
  // would refuse it.
  struct stat info {};
  if (fstatat(m_directory, m_name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISDIR(info.st_mode)) errno = EISDIR;
    if (S_ISDIR(info.st_mode) || unlinkat(m_directory, m_name.c_str(), 0) != 0) return FailKeepingErrno();
  }
  const mode_t mode = readOnly ? 0444 : 0644;
  m_file = openat(m_directory, m_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  if (m_file < 0) return FailKeepingErrno();
  // The umask may only take bits away; read-only must stay exactly read-only.
  if (readOnly) fchmod(m_file, mode);
  return true;
}

bool OutputFile::Write(const void* data, size_t size) {
  if (m_file < 0) return false;
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = write(m_file, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool OutputFile::SetTimes(uint64_t accessTime, uint64_t modificationTime) {
  if (m_file < 0) return false;
  const auto toTimespec = [](uint64_t fileTime) {
    timespec time{};
    if (fileTime == 0) {
      time.tv_nsec = UTIME_OMIT;
      return time;
    }
    const int64_t ticksPerSecond = static_cast<int64_t>(kFileTimeTicksPerSecond);
    const int64_t sinceUnixEpoch = static_cast<int64_t>(fileTime) - kFileTimeEpochOffsetSeconds * ticksPerSecond;
    int64_t seconds = sinceUnixEpoch / ticksPerSecond;
    int64_t remainder = sinceUnixEpoch % ticksPerSecond;
    if (remainder < 0) {
      remainder += ticksPerSecond;
      --seconds;
    }
    time.tv_sec = static_cast<time_t>(seconds);
    time.tv_nsec = static_cast<long>(remainder * 100);
    return time;
  };
  const timespec times[2] = {toTimespec(accessTime), toTimespec(modificationTime)};
  return futimens(m_file, times) == 0;
}

bool OutputFile::FailKeepingErrno() {
  const int error = errno;
  Close();
  errno = error;
  return false;
}

void OutputFile::Close() {
  CloseIfOpen(m_file);
  CloseIfOpen(m_directory);
  m_name.clear();
}

void OutputFile::Discard() {
  CloseIfOpen(m_file);
  if (m_directory >= 0 && !m_name.empty()) unlinkat(m_directory, m_name.c_str(), 0);
  Close();
}

bool DeleteTree(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return errno == ENOENT;
  if (!S_ISDIR(info.st_mode)) return unlink(path.c_str()) == 0;
  int directory = open(path.c_str(), kDirectoryFlags);
  if (directory < 0) return false;
  const bool emptied = DeleteDirectoryContents(directory);
  CloseIfOpen(directory);
  return emptied && rmdir(path.c_str()) == 0;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
  bytes->clear();
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return false;
  struct stat status {};
  bool ok = fstat(file, &status) == 0 && !S_ISDIR(status.st_mode);
  // One byte over the size, so the read that finds the end needs no room of its own.
  if (ok && status.st_size > 0) bytes->reserve(static_cast<size_t>(status.st_size) + 1);
  // Read to the end rather than to the size taken: the file may change while it is read.
  size_t filled = 0;
  while (ok) {
    if (filled == bytes->size()) bytes->resize(std::max(bytes->capacity(), filled + 65536));
    const ssize_t got = read(file, bytes->data() + filled, bytes->size() - filled);
    if (got > 0) {
      filled += static_cast<size_t>(got);
    } else if (got == 0) {
      break;
    } else if (errno != EINTR) {
      ok = false;
    }
  }
  close(file);
  if (!ok) {
    bytes->clear();
    return false;
  }
  bytes->resize(filled);
  return true;
}

}  // namespace platform
