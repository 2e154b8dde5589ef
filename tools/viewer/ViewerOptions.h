#pragma once
// pulsar-view's command line.
#include <cstdint>
#include <string>

#include "SceneViewer.h"

struct ViewerOptions {
  std::string dataDirectory = ".";  // the directory that holds engine_data/
  std::string sceneFile;            // a .c4e name inside engine_data/
  int64_t timeMs = 0;
  int32_t camera = 0;
  std::string pngPath;  // headless: render one frame into this file
  ViewerSettings settings;
  bool helpRequested = false;  // -h or --help: print the usage and nothing else
};

// False with a message in *error for anything it does not understand.
bool ParseViewerOptions(int argc, char** argv, ViewerOptions* options, std::string* error);
const char* ViewerUsage();
