#pragma once
// Looks into finished video files with ffprobe and ffmpeg: their streams, each frame's
// brightness, the decoded sound, and where the sound's loudest onset lies.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

// Whole standard output of a shell command.
std::string CommandOutput(const std::string& command);
// A path quoted for the shell.
std::string Quoted(const std::filesystem::path& path);

// One line per stream of ffprobe's: codec_type, codec_name, width, height, r_frame_rate,
// pix_fmt, duration, nb_frames (as far as the stream has them).
std::vector<std::map<std::string, std::string>> ProbeStreams(const std::filesystem::path& file);
// Top-level box types of an MP4 file in their order ("ftyp", "moov", "mdat", ...).
std::vector<std::string> Mp4TopLevelBoxes(const std::filesystem::path& file);

// Mean luma (0..255) of every decoded frame.
std::vector<double> FrameLuminance(const std::filesystem::path& file);
// The sound decoded to mono float at rate Hz; only its first seconds when that is above 0.
std::vector<float> DecodedSound(const std::filesystem::path& file, int rate, double seconds = 0.0);
// The time in seconds where the sound's short-term energy rises most steeply against the moment
// before it, searched between from and to seconds.
double StrongestOnset(const std::vector<float>& sound, int rate, double from, double to);
// The lag in samples (within ±range) at which b best matches a (b[i + lag] ≈ a[i]).
int BestLag(const std::vector<float>& a, const std::vector<float>& b, int range);
