// pulsar-blob-scene <directory>: writes the blob scene, its pictures and its caption.
#include "BlobScene.h"
#include "Generator.h"

int main(int argc, char** argv) { return kit::GeneratorMain(argc, argv, blob::WriteBlobContent); }
