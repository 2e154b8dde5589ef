#include "app/PrivateDataDirectory.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/fs.h"

namespace {

constexpr std::string_view kNamePrefix = "pulsar-data-";
constexpr size_t kUniqueLength = 6;  // what mkdtemp puts in place of XXXXXX

std::string Join(const std::string& directory, std::string_view name) {
  std::string path = directory;
  if (path.empty() || path.back() != '/') path.push_back('/');
  path += name;
  return path;
}

std::vector<std::string> ListDirectory(const std::string& path) {
  std::vector<std::string> names;
  DIR* stream = opendir(path.c_str());
  if (!stream) return names;
  while (const dirent* entry = readdir(stream)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  closedir(stream);
  return names;
}

// The process id a lock file names; 0 when it names none.
pid_t ReadLockOwner(int lockFile) {
  char text[32] = {};
  const ssize_t length = pread(lockFile, text, sizeof(text) - 1, 0);
  if (length <= 0) return 0;
  char* end = nullptr;
  errno = 0;
  const long pid = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || (*end != '\n' && *end != '\0') || pid <= 0 || pid > INT_MAX) return 0;
  return static_cast<pid_t>(pid);
}

bool WriteLockOwner(int lockFile) {
  char text[32];
  const int length = std::snprintf(text, sizeof(text), "%ld\n", static_cast<long>(getpid()));
  return length > 0 && write(lockFile, text, static_cast<size_t>(length)) == length;
}

bool OwnedByUs(const struct stat& status) { return status.st_uid == geteuid(); }

bool IsDeadShowsDirectory(int base, const char* name) {
  struct stat entry {};
  if (fstatat(base, name, &entry, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(entry.st_mode) || !OwnedByUs(entry)) {
    return false;
  }
  const int directory = openat(base, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (directory < 0) return false;
  bool dead = false;
  struct stat opened {};
  // The directory judged is the one looked at, not something renamed into its place since.
  if (fstat(directory, &opened) == 0 && opened.st_dev == entry.st_dev && opened.st_ino == entry.st_ino) {
    const int lockFile = openat(directory, kLockFileName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat lock {};
    if (lockFile >= 0 && fstat(lockFile, &lock) == 0 && S_ISREG(lock.st_mode) && OwnedByUs(lock)) {
      const pid_t owner = ReadLockOwner(lockFile);
      // Dead twice over: no such process, and nobody holds the lock (a live show whose process
      // id means something else here, in another pid namespace, still does).
      dead = owner > 0 && kill(owner, 0) != 0 && errno == ESRCH && flock(lockFile, LOCK_EX | LOCK_NB) == 0;
    }
    if (lockFile >= 0) close(lockFile);
  }
  close(directory);
  return dead;
}

}  // namespace

void RemoveDataDirectory(const std::string& path) {
  for (const std::string& name : ListDirectory(path)) {
    if (name != kLockFileName) platform::DeleteTree(Join(path, name));
  }
  platform::DeleteTree(path);
}

std::vector<std::string> DataDirectoryBases() {
  std::vector<std::string> bases;
  for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
    // A relative value would put the data below the working directory.
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') bases.emplace_back(value);
  }
  bases.emplace_back("/tmp");
  return bases;
}

bool IsPrivateDirectoryName(std::string_view name) {
  if (name.size() != kNamePrefix.size() + kUniqueLength || !name.starts_with(kNamePrefix)) return false;
  for (const char c : name.substr(kNamePrefix.size())) {
    const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!letterOrDigit) return false;
  }
  return true;
}

int RemoveStaleDataDirectories(const std::string& base) {
  const int baseDirectory = open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (baseDirectory < 0) return 0;
  int removed = 0;
  for (const std::string& name : ListDirectory(base)) {
    if (IsPrivateDirectoryName(name) && IsDeadShowsDirectory(baseDirectory, name.c_str())) {
      RemoveDataDirectory(Join(base, name));
      ++removed;
    }
  }
  close(baseDirectory);
  return removed;
}

bool PrivateDataDirectory::Create(std::string* error) {
  Delete();
  std::string reasons;
  for (const std::string& base : DataDirectoryBases()) {
    RemoveStaleDataDirectories(base);
    std::string path = Join(base, kNamePrefix);
    path.append(kUniqueLength, 'X');
    if (!mkdtemp(path.data())) {
      reasons += (reasons.empty() ? "" : "; ") + base + ": " + std::strerror(errno);
      continue;
    }
    const std::string lockPath = Join(path, kLockFileName);
    const int lockFile = open(lockPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFile < 0 || flock(lockFile, LOCK_EX) != 0 || !WriteLockOwner(lockFile)) {
      reasons += (reasons.empty() ? "" : "; ") + lockPath + ": " + std::strerror(errno);
      if (lockFile >= 0) close(lockFile);
      platform::DeleteTree(path);
      continue;
    }
    m_path = path;
    m_lockFile = lockFile;
    return true;
  }
  *error = "Could not make a private data directory: " + reasons;
  return false;
}

void PrivateDataDirectory::Delete() {
  if (!m_path.empty()) RemoveDataDirectory(m_path);
  m_path.clear();
  if (m_lockFile >= 0) close(m_lockFile);
  m_lockFile = -1;
}
