#pragma once
// Every data file is named by this prefix plus its file name: "engine_data/" + "music.mp3".
#include <string>
#include <string_view>

const std::string& DataDirectoryPrefix();
std::string DataPath(std::string_view fileName);
