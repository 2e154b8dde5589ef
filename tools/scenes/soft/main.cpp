// pulsar-soft-scene <directory>: simulates the jellies and writes the soft scene, its pictures
// and its caption.
#include "Generator.h"
#include "SoftScene.h"

int main(int argc, char** argv) { return kit::GeneratorMain(argc, argv, soft::WriteSoftContent); }
