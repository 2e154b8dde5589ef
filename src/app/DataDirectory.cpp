#include "app/DataDirectory.h"

const std::string& DataDirectoryPrefix() {
  static const std::string prefix = "engine_data/";
  return prefix;
}

std::string DataPath(std::string_view fileName) {
  return DataDirectoryPrefix() + std::string(fileName);
}
