// pulsar-lab-scene <directory>: writes the lab scene and its pictures into the data stage.
#include "Generator.h"
#include "LabScene.h"

int main(int argc, char** argv) { return kit::GeneratorMain(argc, argv, lab::WriteLabContent); }
