#include "app/OutputFiles.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/png_file.h"

namespace fs = std::filesystem;

namespace {

// Both containers put their tags ahead of the pictures (the index of an .mp4 goes first).
constexpr size_t kVideoHeadBytes = 8u << 20;

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

std::string InTheWay(const char* option, const std::string& path) {
  return std::string(option) + ": " + path +
         " is already there and was not written by Pulsar; nothing was replaced. Move it away or choose "
         "another name.";
}

// frame_ followed by five digits and .png: the names a capture writes.
bool IsFrameName(const std::string& name) {
  if (name.size() != 15 || name.compare(0, 6, "frame_") != 0 || name.compare(11, 4, ".png") != 0) return false;
  return std::all_of(name.begin() + 6, name.begin() + 11, [](char c) { return c >= '0' && c <= '9'; });
}

std::string FrameInTheWay(const std::string& directory) {
  std::error_code error;
  if (!fs::is_directory(directory, error)) return "";
  std::vector<std::string> names;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string path = (fs::path(directory) / name).string();
    if (IsFrameName(name) && !platform::IsShowPng(path)) return InTheWay("--capture", path);
  }
  return "";
}

}  // namespace

bool IsShowProfile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string first;
  return file && std::getline(file, first) && first.compare(0, std::strlen(kProfileFirstLine), kProfileFirstLine) == 0;
}

bool IsShowVideo(const std::string& path) {
  std::error_code error;
  const uintmax_t size = fs::file_size(path, error);
  std::ifstream file(path, std::ios::binary);
  if (error || !file) return false;
  std::string head(static_cast<size_t>(std::min<uintmax_t>(size, kVideoHeadBytes)), '\0');
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(file.gcount()));
  return head.find(kVideoMark) != std::string::npos;
}

std::string OutputInTheWay(const RunOutputs& outputs) {
  const std::string frame = outputs.captureDirectory.empty() ? "" : FrameInTheWay(outputs.captureDirectory);
  if (!frame.empty()) return frame;
  const struct {
    const char* option;
    const std::string& path;
    bool (*written)(const std::string&);
  } files[] = {{"--screenshot", outputs.screenshot, platform::IsShowPng},
               {"--profile", outputs.profile, IsShowProfile},
               {"--video", outputs.video, IsShowVideo}};
  for (const auto& file : files)
    if (!file.path.empty() && Exists(file.path) && !file.written(file.path)) return InTheWay(file.option, file.path);
  return "";
}
