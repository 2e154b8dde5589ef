#include "MediaProbe.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

std::string CommandOutput(const std::string& command) {
  std::string output;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[65536];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) output.append(buffer, got);
  pclose(pipe);
  return output;
}

std::string Quoted(const std::filesystem::path& path) {
  std::string quoted = "'";
  for (char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::vector<std::map<std::string, std::string>> ProbeStreams(const std::filesystem::path& file) {
  const std::string text = CommandOutput(
      "ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,r_frame_rate,pix_fmt,duration,"
      "nb_frames -of compact=p=0 " +
      Quoted(file));
  std::vector<std::map<std::string, std::string>> streams;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    std::map<std::string, std::string>& fields = streams.emplace_back();
    std::istringstream pairs(line);
    for (std::string pair; std::getline(pairs, pair, '|');) {
      const size_t equals = pair.find('=');
      if (equals != std::string::npos) fields[pair.substr(0, equals)] = pair.substr(equals + 1);
    }
  }
  return streams;
}

std::vector<std::string> Mp4TopLevelBoxes(const std::filesystem::path& file) {
  std::vector<std::string> boxes;
  std::ifstream in(file, std::ios::binary);
  for (;;) {
    unsigned char header[16];
    if (!in.read(reinterpret_cast<char*>(header), 8)) break;
    uint64_t size = (uint64_t{header[0]} << 24) | (uint64_t{header[1]} << 16) | (uint64_t{header[2]} << 8) | header[3];
    uint64_t headerSize = 8;
    if (size == 1) {
      if (!in.read(reinterpret_cast<char*>(header + 8), 8)) break;
      size = 0;
      for (int i = 8; i < 16; ++i) size = (size << 8) | header[i];
      headerSize = 16;
    }
    boxes.emplace_back(reinterpret_cast<char*>(header + 4), 4);
    if (size < headerSize) break;  // 0: to the end of the file
    in.seekg(static_cast<std::streamoff>(size - headerSize), std::ios::cur);
  }
  return boxes;
}

std::vector<double> FrameLuminance(const std::filesystem::path& file) {
  constexpr int kWidth = 32, kHeight = 18;
  const std::string pixels = CommandOutput("ffmpeg -v error -i " + Quoted(file) + " -map 0:v -vf scale=" +
                                           std::to_string(kWidth) + ":" + std::to_string(kHeight) +
                                           ",format=gray -f rawvideo -");
  std::vector<double> means;
  const size_t frameBytes = kWidth * kHeight;
  for (size_t offset = 0; offset + frameBytes <= pixels.size(); offset += frameBytes) {
    double sum = 0.0;
    for (size_t i = 0; i < frameBytes; ++i) sum += static_cast<unsigned char>(pixels[offset + i]);
    means.push_back(sum / frameBytes);
  }
  return means;
}

std::vector<float> DecodedSound(const std::filesystem::path& file, int rate, double seconds) {
  std::string command = "ffmpeg -v error -i " + Quoted(file) + " -map 0:a -ac 1 -ar " + std::to_string(rate);
  if (seconds > 0.0) command += " -t " + std::to_string(seconds);
  const std::string bytes = CommandOutput(command + " -f f32le -");
  std::vector<float> samples(bytes.size() / sizeof(float));
  std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
  return samples;
}

double StrongestOnset(const std::vector<float>& sound, int rate, double from, double to) {
  std::vector<double> energy(sound.size() + 1, 0.0);
  for (size_t i = 0; i < sound.size(); ++i) energy[i + 1] = energy[i] + double{sound[i]} * sound[i];
  const auto mean = [&](int64_t begin, int64_t end) {
    begin = std::clamp<int64_t>(begin, 0, static_cast<int64_t>(sound.size()));
    end = std::clamp<int64_t>(end, begin, static_cast<int64_t>(sound.size()));
    return end > begin ? (energy[static_cast<size_t>(end)] - energy[static_cast<size_t>(begin)]) / double(end - begin)
                       : 0.0;
  };
  const int64_t after = rate / 100;  // 10 ms
  const int64_t before = rate / 20;  // 50 ms
  double best = -1.0;
  int64_t bestAt = 0;
  for (auto at = static_cast<int64_t>(from * rate); at < static_cast<int64_t>(to * rate); ++at) {
    const double rise = mean(at, at + after) / (mean(at - before, at) + 1e-7);
    if (rise > best) {
      best = rise;
      bestAt = at;
    }
  }
  return static_cast<double>(bestAt) / rate;
}

int BestLag(const std::vector<float>& a, const std::vector<float>& b, int range) {
  double best = -2.0;
  int bestLag = 0;
  for (int lag = -range; lag <= range; ++lag) {
    double product = 0.0, energyA = 0.0, energyB = 0.0;
    for (int64_t i = 0; i < static_cast<int64_t>(a.size()); ++i) {
      const int64_t j = i + lag;
      if (j < 0 || j >= static_cast<int64_t>(b.size())) continue;
      product += double{a[static_cast<size_t>(i)]} * b[static_cast<size_t>(j)];
      energyA += double{a[static_cast<size_t>(i)]} * a[static_cast<size_t>(i)];
      energyB += double{b[static_cast<size_t>(j)]} * b[static_cast<size_t>(j)];
    }
    const double correlation = product / std::sqrt(energyA * energyB + 1e-12);
    if (correlation > best) {
      best = correlation;
      bestLag = lag;
    }
  }
  return bestLag;
}
