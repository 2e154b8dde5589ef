// pulsar-logo-scene <directory> <font>: writes the logo scene and its pictures into the data stage.
#include <cstdio>
#include <string>

#include "LogoScene.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pulsar-logo-scene <output directory> <font file>\n");
    return 2;
  }
  std::string error;
  if (!logo::WriteLogoContent(argv[2], argv[1], &error)) {
    std::fprintf(stderr, "pulsar-logo-scene: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
