// Writes a fuzzer's seed corpus: fuzz_seed_corpus c4e|archive|dds <directory>.
#include <cstdio>
#include <cstring>

#include "FuzzMutation.h"
#include "SeedFiles.h"
#include "SeedScenes.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fuzz_seed_corpus c4e|archive|dds <directory>\n");
    return 2;
  }
  const fuzz_seeds::Seeds seeds = std::strcmp(argv[1], "c4e") == 0       ? fuzz_seeds::SeedScenes()
                                  : std::strcmp(argv[1], "archive") == 0 ? fuzz_seeds::SeedArchives()
                                                                         : fuzz_seeds::SeedDdsImages();
  return fuzz_seeds::WriteSeeds(seeds, argv[2]) ? 0 : 1;
}
