// pulsar-lab-scene <directory>: writes the lab scene and its pictures into the data stage.
#include <cstdio>

#include "LabScene.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pulsar-lab-scene <output directory>\n");
    return 2;
  }
  if (!lab::WriteLabContent(argv[1])) {
    std::fprintf(stderr, "pulsar-lab-scene: could not write the lab scene into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
