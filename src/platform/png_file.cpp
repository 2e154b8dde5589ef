#include "platform/png_file.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace platform {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kIhdrEnd = 8 + 4 + 4 + 13 + 4;  // signature, then IHDR's length, type, data and CRC
// The keyword, its terminating zero, then the text.
constexpr char kMarkText[] = "Software\0Pulsar";
constexpr size_t kMarkBytes = sizeof(kMarkText) - 1;
// The mark follows IHDR; a PNG whose first chunks run past this is not one of ours.
constexpr size_t kHeadBytes = 4096;

void PutBigEndian(uint32_t value, std::vector<uint8_t>& out) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t BigEndian(const uint8_t* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}

std::vector<uint8_t> MarkChunk() {
  std::vector<uint8_t> chunk;
  PutBigEndian(static_cast<uint32_t>(kMarkBytes), chunk);
  const size_t typeAt = chunk.size();
  chunk.insert(chunk.end(), {'t', 'E', 'X', 't'});
  chunk.insert(chunk.end(), kMarkText, kMarkText + kMarkBytes);
  const uLong crc = crc32(0L, chunk.data() + typeAt, static_cast<uInt>(chunk.size() - typeAt));
  PutBigEndian(static_cast<uint32_t>(crc), chunk);
  return chunk;
}

}  // namespace

bool WriteShowPng(const std::string& path, int width, int height, const uint8_t* rgba) {
  int length = 0;
  unsigned char* encoded = stbi_write_png_to_mem(rgba, width * 4, width, height, 4, &length);
  if (encoded == nullptr) return false;
  std::vector<uint8_t> png(encoded, encoded + length);
  std::free(encoded);
  if (png.size() < kIhdrEnd) return false;
  const std::vector<uint8_t> mark = MarkChunk();
  png.insert(png.begin() + kIhdrEnd, mark.begin(), mark.end());

  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

bool IsShowPng(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::vector<uint8_t> head(kHeadBytes);
  file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(file.gcount()));
  if (head.size() < sizeof(kSignature) || std::memcmp(head.data(), kSignature, sizeof(kSignature)) != 0) return false;
  // The chunks in the head, up to the picture data: length, type, data, CRC.
  for (size_t at = sizeof(kSignature); at + 8 <= head.size();) {
    const uint32_t length = BigEndian(head.data() + at);
    const uint8_t* type = head.data() + at + 4;
    if (length > head.size() - at - 8) return false;
    if (std::memcmp(type, "IDAT", 4) == 0 || std::memcmp(type, "IEND", 4) == 0) return false;
    if (std::memcmp(type, "tEXt", 4) == 0 && length == kMarkBytes &&
        std::memcmp(type + 4, kMarkText, kMarkBytes) == 0) {
      return true;
    }
    at += 8 + static_cast<size_t>(length) + 4;
  }
  return false;
}

}  // namespace platform
