#include "WavWriter.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace music {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void PutTag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

bool WriteFloatWav(const std::filesystem::path& path, const StereoBuffer& audio) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(audio.Frames() * 2 * sizeof(float));
  std::vector<std::uint8_t> header;
  PutTag(header, "RIFF");
  Put32(header, 36 + dataBytes);
  PutTag(header, "WAVE");
  PutTag(header, "fmt ");
  Put32(header, 16);
  Put16(header, 3);  // IEEE float
  Put16(header, 2);
  Put32(header, kSampleRate);
  Put32(header, kSampleRate * 2 * sizeof(float));
  Put16(header, 2 * sizeof(float));
  Put16(header, 32);
  PutTag(header, "data");
  Put32(header, dataBytes);
  std::vector<float> interleaved(audio.Frames() * 2);
  for (std::size_t i = 0; i < audio.Frames(); ++i) {
    interleaved[2 * i] = audio.left[i];
    interleaved[2 * i + 1] = audio.right[i];
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
  out.write(reinterpret_cast<const char*>(interleaved.data()), static_cast<std::streamsize>(dataBytes));
  return static_cast<bool>(out);
}

}  // namespace music
