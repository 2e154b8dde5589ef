#pragma once
// A fresh directory for one test, removed with everything in it afterwards; optionally the
// working directory while it lives (the show reads and writes relative to it).
#include <filesystem>

class TempDirectory {
 public:
  explicit TempDirectory(bool enter = false);
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
  std::filesystem::path m_previousWorkingDirectory;
};
