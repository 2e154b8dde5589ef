// pulsar-logo-scene <directory>: writes the logo scene, its pictures, its caption and the credits.
#include <cstdio>
#include <string>

#include "Generator.h"
#include "LogoScene.h"

int main(int argc, char** argv) {
  return kit::GeneratorMain(argc, argv, [](const std::string& directory) {
    std::string error;
    if (logo::WriteLogoContent(PULSAR_LOGO_FONT, directory, &error)) return true;
    std::fprintf(stderr, "pulsar-logo-scene: %s\n", error.c_str());
    return false;
  });
}
