#include "support/FileTree.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const fs::path& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary);
  out << data;
}

std::vector<std::string> ListTree(const fs::path& root) {
  std::vector<std::string> paths;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    std::string relative = fs::relative(it->path(), root).generic_string();
    if (it->is_directory() && !it->is_symlink()) relative += "/";
    paths.push_back(relative);
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::vector<std::pair<std::string, std::string>> SnapshotTree(const fs::path& root) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const std::string& path : ListTree(root)) {
    files.emplace_back(path, path.ends_with('/') ? std::string() : ReadWholeFile(root / path));
  }
  return files;
}
