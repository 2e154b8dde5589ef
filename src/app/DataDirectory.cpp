#include "app/DataDirectory.h"

namespace {

constexpr std::string_view kDataDirectoryName = "engine_data/";

std::string& Prefix() {
  static std::string prefix(kDataDirectoryName);
  return prefix;
}

}  // namespace

const std::string& DataDirectoryPrefix() { return Prefix(); }

std::string DataPath(std::string_view fileName) { return Prefix() + std::string(fileName); }

void SetDataRoot(std::string_view root) {
  std::string prefix(root);
  if (!prefix.empty() && prefix.back() != '/') prefix.push_back('/');
  prefix += kDataDirectoryName;
  Prefix() = prefix;
}
