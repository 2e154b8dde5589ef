// pulsar-qualle-scene <directory>: writes the qualle scene and its pictures into the data stage.
#include "Generator.h"
#include "QualleScene.h"

int main(int argc, char** argv) { return kit::GeneratorMain(argc, argv, qualle::WriteQualleContent); }
