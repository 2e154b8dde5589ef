#pragma once
// Every data file is named by one prefix plus its file name: "engine_data/" + "music.mp3" below
// the data root. While the show runs the root is its private data directory; until one is set
// (tools, tests) it is the working directory.
#include <string>
#include <string_view>

const std::string& DataDirectoryPrefix();
std::string DataPath(std::string_view fileName);

// "" names the working directory; any other root may end in '/' or not.
void SetDataRoot(std::string_view root);
