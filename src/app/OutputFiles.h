#pragma once
// The files a run writes on the user's word: --screenshot, --capture, --profile and --video. A
// file already under one of those names is replaced only when an earlier run of the show wrote
// it; anything else there is the user's, and the run stops before it starts.
#include <string>

// The first line of every frame profile, and the comment every recorded video carries: how a
// later run knows them for the show's own.
inline constexpr char kProfileFirstLine[] = "# pulsar frame profile";
inline constexpr char kVideoMark[] = "recorded by Pulsar, a real-time audiovisual show";

struct RunOutputs {
  std::string screenshot;
  std::string captureDirectory;  // frame_00000.png, frame_00001.png, ... inside
  std::string profile;
  std::string video;
};

// "" when every output may be written; otherwise a message naming the first file in the way.
std::string OutputInTheWay(const RunOutputs& outputs);

bool IsShowProfile(const std::string& path);
bool IsShowVideo(const std::string& path);
