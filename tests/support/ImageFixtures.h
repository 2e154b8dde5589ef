#pragma once
// Small image files made in memory for loader tests: PNG and JPEG through stb_image_write,
// DDS written field by field so tests can damage any part of it.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// RGBA8 pixels, top row first.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba);
std::vector<uint8_t> EncodeJpeg(int width, int height, const std::vector<uint8_t>& rgba, int quality = 95);

struct DdsFixture {
  enum class Kind { Rgba8, Bgra8, Bgrx8, Bc1, Bc2, Bc3 };
  Kind kind = Kind::Rgba8;
  uint32_t width = 4;
  uint32_t height = 4;
  uint32_t mipLevels = 1;
  bool cube = false;
  bool dx10Header = false;
};
// Texel bytes count up from 0 so every level and face has recognisable content.
std::vector<uint8_t> EncodeDds(const DdsFixture& fixture);

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
