// pulsar-zelle-scene <directory>: writes the zelle scene and its pictures into the data stage.
#include "Generator.h"
#include "ZelleScene.h"

int main(int argc, char** argv) { return kit::GeneratorMain(argc, argv, zelle::WriteZelleContent); }
