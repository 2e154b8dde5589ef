// pulsar-blob-scene <directory>: writes the blob scene and its pictures into the data stage.
#include <cstdio>

#include "BlobScene.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pulsar-blob-scene <output directory>\n");
    return 2;
  }
  if (!blob::WriteBlobContent(argv[1])) {
    std::fprintf(stderr, "pulsar-blob-scene: could not write the blob scene into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
