// pulsar-pack <archive> <stage dir> <top directory>
#include <cstdio>
#include <string>

#include "ZipPacker.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: pulsar-pack <archive> <stage dir> <top directory>\n");
    return 2;
  }
  std::string error;
  if (!PackDirectory(argv[1], argv[2], argv[3], &error)) {
    std::fprintf(stderr, "pulsar-pack: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
