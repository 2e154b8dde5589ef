#include "support/TempDirectory.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

TempDirectory::TempDirectory(bool enter) {
  std::string pattern = (std::filesystem::temp_directory_path() / "pulsar-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
  if (enter) {
    m_previousWorkingDirectory = std::filesystem::current_path();
    std::filesystem::current_path(m_path);
  }
}

TempDirectory::~TempDirectory() {
  std::error_code ignored;
  if (!m_previousWorkingDirectory.empty()) std::filesystem::current_path(m_previousWorkingDirectory, ignored);
  // Read-only files and directories must not stop the clean-up.
  for (auto it = std::filesystem::recursive_directory_iterator(m_path, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(m_path, ignored);
}
