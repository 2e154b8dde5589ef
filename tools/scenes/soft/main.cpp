// pulsar-soft-scene <directory>: simulates the jellies and writes the soft scene and its pictures.
#include <cstdio>

#include "SoftScene.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pulsar-soft-scene <output directory>\n");
    return 2;
  }
  if (!soft::WriteSoftContent(argv[1])) {
    std::fprintf(stderr, "pulsar-soft-scene: could not write the soft scene into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
