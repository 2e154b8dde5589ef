#pragma once
// Files and directories below a trusted root, written without ever following a symbolic link:
// the archive's entry names are untrusted input and the working directory may hold links that
// someone planted. Times are file times: 100-nanosecond ticks since 1601-01-01 UTC.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// File attribute bits as the archive describes its entries.
constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x01;
constexpr uint32_t FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr uint32_t FILE_ATTRIBUTE_SYSTEM = 0x04;
constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;

namespace platform {

// Seconds between 1601-01-01 and 1970-01-01.
constexpr int64_t kFileTimeEpochOffsetSeconds = 11644473600;
constexpr uint64_t kFileTimeTicksPerSecond = 10'000'000;

uint64_t UnixSecondsToFileTime(int64_t seconds);

// True when something (a link included) exists at path.
bool PathExists(const std::string& path);
bool CreateDirectory(const std::string& path);

// Creates the last component of `relative` below `root` as a directory. The components before it
// must already be real directories; a symbolic link in their place fails the call. A link at
// the last component is replaced by a directory; an existing directory is success.
bool CreateDirectoryBelow(const std::string& root, std::string_view relative);

// A file being written below a root. Create replaces whatever non-directory sits at the target
// (a regular file, read-only or not, or a symbolic link) with a new file, so a write never lands
// behind a link.
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // `directory` is relative to root and may be empty; its components must be real directories.
  // A failure leaves errno saying why.
  bool Create(const std::string& root, std::string_view directory, std::string_view name, bool readOnly);
  bool Write(const void* data, size_t size);
  // A time of 0 leaves that time as it is.
  bool SetTimes(uint64_t accessTime, uint64_t modificationTime);
  void Close();
  // Closes and removes the file, for a copy that must not stay half written.
  void Discard();
  bool IsOpen() const { return m_file >= 0; }

 private:
  bool FailKeepingErrno();

  int m_directory = -1;
  int m_file = -1;
  std::string m_name;
};

// Reads the whole file into bytes with one allocation of its size (scene files run to megabytes).
// False when it cannot be opened or read; bytes is then empty.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes);

// Deletes path and everything below it. Symbolic links are removed, never followed; read-only
// files and directories are removed too. A missing path is success.
bool DeleteTree(const std::string& path);

}  // namespace platform
