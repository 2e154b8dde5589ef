// pulsar-fratze-scene <directory>: writes the fratze scene and its pictures into the data stage.
#include "Generator.h"
#include "FratzeScene.h"

int main(int argc, char** argv) { return kit::GeneratorMain(argc, argv, fratze::WriteFratzeContent); }
