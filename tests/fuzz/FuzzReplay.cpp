// A short, deterministic fuzz run for the ordinary build: every seed, every truncation of
// it, and seeded random mutations (bit flips, overwritten words, cut and repeated ranges)
// through the fuzz entry point. A crash or a sanitizer report fails the test.
#include <cstdio>
#include <cstdlib>
#include <random>

#include "SeedScenes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Mutate(std::mt19937& random, std::vector<uint8_t>* bytes) {
  if (bytes->empty()) return;
  const int edits = 1 + static_cast<int>(random() % 4);
  for (int e = 0; e < edits && !bytes->empty(); ++e) {
    const size_t at = random() % bytes->size();
    switch (random() % 4) {
      case 0:
        (*bytes)[at] ^= static_cast<uint8_t>(1u << (random() % 8));
        break;
      case 1: {  // a word that makes counts and indices interesting
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

}  // namespace

int main(int argc, char** argv) {
  const long iterations = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 20000;
  std::mt19937 random(1337);
  long runs = 0;
  for (const auto& [name, seed] : fuzz_seeds::SeedScenes()) {
    for (size_t length = 0; length <= seed.size(); ++length, ++runs) LLVMFuzzerTestOneInput(seed.data(), length);
    for (long i = 0; i < iterations; ++i, ++runs) {
      std::vector<uint8_t> bytes = seed;
      Mutate(random, &bytes);
      LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
  }
  std::printf("c4e fuzz replay: %ld inputs\n", runs);
  return 0;
}
