#pragma once
// The show's own directory for the unpacked data: fresh for every run (mkdtemp, mode 0700) under
// $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp, so the working directory is never written to and
// two shows can run side by side. A lock file inside names the process that owns it and stays
// locked while it lives; a directory whose owner was killed before it could clean up is removed
// by the next show that starts.
#include <string>
#include <string_view>
#include <vector>

constexpr const char* kLockFileName = "pulsar.lock";

class PrivateDataDirectory {
 public:
  PrivateDataDirectory() = default;
  PrivateDataDirectory(const PrivateDataDirectory&) = delete;
  PrivateDataDirectory& operator=(const PrivateDataDirectory&) = delete;

  // Removes what dead shows left in the base directory, then makes a fresh directory there. On
  // failure error says where and why.
  bool Create(std::string* error);
  // Removes the directory with everything in it; tolerates one that was never created.
  void Delete();
  // "" until created and after Delete.
  const std::string& path() const { return m_path; }

 private:
  std::string m_path;
  int m_lockFile = -1;
};

// The candidate base directories, in order of preference.
std::vector<std::string> DataDirectoryBases();

// Removes a data directory, its lock file last: a removal cut short leaves the lock naming the
// owner, so a later start still recognises the rest.
void RemoveDataDirectory(const std::string& path);

// True for the names mkdtemp gives the show's directories, "pulsar-data-" and six letters or digits.
bool IsPrivateDirectoryName(std::string_view name);

// Removes every directory in base that is provably a dead show's: the show's name pattern, owned
// by this user, a real directory (no link), and a lock file naming a process that no longer
// exists and that nobody holds locked. Returns how many were removed.
int RemoveStaleDataDirectories(const std::string& base);
