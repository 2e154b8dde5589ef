// A short, deterministic fuzz run of one entry point for the ordinary build: replay <what>
// [mutations per seed]. A crash or a sanitizer report fails the test.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FuzzMutation.h"
#include "SeedFiles.h"
#include "SeedScenes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s c4e|archive|dds [mutations per seed]\n", argv[0]);
    return 2;
  }
  const long mutations = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 20000;
  const fuzz_seeds::Seeds seeds = std::strcmp(argv[1], "c4e") == 0       ? fuzz_seeds::SeedScenes()
                                  : std::strcmp(argv[1], "archive") == 0 ? fuzz_seeds::SeedArchives()
                                                                         : fuzz_seeds::SeedDdsImages();
  if (seeds.empty()) return 1;
  const long runs = fuzz_seeds::ReplaySeeds(seeds, mutations, LLVMFuzzerTestOneInput);
  std::printf("%s fuzz replay: %ld inputs\n", argv[1], runs);
  return 0;
}
