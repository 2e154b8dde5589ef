#include "FuzzMutation.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fuzz_seeds {

void Mutate(std::mt19937& random, std::vector<uint8_t>* bytes) {
  if (bytes->empty()) return;
  const int edits = 1 + static_cast<int>(random() % 4);
  for (int e = 0; e < edits && !bytes->empty(); ++e) {
    const size_t at = random() % bytes->size();
    switch (random() % 4) {
      case 0:
        (*bytes)[at] ^= static_cast<uint8_t>(1u << (random() % 8));
        break;
      case 1: {
        static const uint32_t kWords[] = {0, 1, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x100, 0x1000, 3, 8, 9};
        const uint32_t word = kWords[random() % (sizeof(kWords) / sizeof(kWords[0]))];
        for (size_t i = 0; i < 4 && at + i < bytes->size(); ++i) (*bytes)[at + i] = static_cast<uint8_t>(word >> (8 * i));
        break;
      }
      case 2:
        bytes->resize(at);
        break;
      default: {
        const size_t length = std::min<size_t>(1 + random() % 64, bytes->size() - at);
        const std::vector<uint8_t> copy(bytes->begin() + static_cast<std::ptrdiff_t>(at),
                                        bytes->begin() + static_cast<std::ptrdiff_t>(at + length));
        bytes->insert(bytes->begin() + static_cast<std::ptrdiff_t>(random() % bytes->size()), copy.begin(), copy.end());
        break;
      }
    }
  }
}

long ReplaySeeds(const Seeds& seeds, long mutationsPerSeed, int (*entry)(const uint8_t*, size_t)) {
  std::mt19937 random(1337);
  long runs = 0;
  for (const auto& [name, seed] : seeds) {
    for (size_t length = 0; length <= seed.size(); ++length, ++runs) entry(seed.data(), length);
    for (long i = 0; i < mutationsPerSeed; ++i, ++runs) {
      std::vector<uint8_t> bytes = seed;
      Mutate(random, &bytes);
      entry(bytes.data(), bytes.size());
    }
  }
  return runs;
}

bool WriteSeeds(const Seeds& seeds, const std::string& directory) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  for (const auto& [name, bytes] : seeds) {
    const std::filesystem::path path = std::filesystem::path(directory) / name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace fuzz_seeds
