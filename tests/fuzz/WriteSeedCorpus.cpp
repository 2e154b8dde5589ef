// Writes the fuzzer's seed corpus: c4e_seed_corpus <directory>.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "SeedScenes.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: c4e_seed_corpus <directory>\n");
    return 2;
  }
  const std::filesystem::path directory = argv[1];
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  for (const auto& [name, bytes] : fuzz_seeds::SeedScenes()) {
    std::ofstream file(directory / name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
      std::fprintf(stderr, "cannot write %s\n", (directory / name).c_str());
      return 1;
    }
  }
  return 0;
}
