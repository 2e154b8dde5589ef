#pragma once
// A picture decoded from a file into the memory layout a texture is created from: every array
// slice (cube face) with its whole mip chain, slice after slice, each level top row first.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::d3dx {

// The DXGI format numbers the loaders produce (same values as DXGI_FORMAT).
enum class ImageFormat : uint32_t {
  Unknown = 0,
  R8G8B8A8_UNORM = 28,
  R8G8B8A8_UNORM_SRGB = 29,
  BC1_UNORM = 71,
  BC1_UNORM_SRGB = 72,
  BC2_UNORM = 74,
  BC2_UNORM_SRGB = 75,
  BC3_UNORM = 77,
  BC3_UNORM_SRGB = 78,
};

struct ImageLevel {
  size_t offset = 0;     // into DecodedImage::data
  size_t size = 0;       // bytes of this level
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t rowPitch = 0;  // bytes per row (per row of 4x4 blocks when compressed)
};

struct DecodedImage {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t mipLevels = 0;
  uint32_t arraySize = 0;  // 6 per cube
  bool cube = false;
  ImageFormat format = ImageFormat::Unknown;
  std::vector<uint8_t> data;
  std::vector<ImageLevel> levels;  // index = slice * mipLevels + mip

  const ImageLevel& Level(uint32_t slice, uint32_t mip) const { return levels[slice * mipLevels + mip]; }
};

bool IsBlockCompressed(ImageFormat format);
// Bytes of one mip level; 0 when the size does not fit in memory arithmetic.
uint64_t LevelBytes(ImageFormat format, uint32_t width, uint32_t height, uint32_t* rowPitch = nullptr);

// DDS: uncompressed 32-bit RGBA/BGRA(X), BC1 to BC3, legacy or DX10 header, 2D or cube, mip
// chains. Anything damaged, truncated or outside that set is a failure.
bool DecodeDds(const uint8_t* bytes, size_t size, DecodedImage& out);
// JPEG or PNG into RGBA8 with a full box-filtered mip chain, as the D3DX loaders give.
bool DecodeJpegOrPng(const uint8_t* bytes, size_t size, DecodedImage& out);
// Picks the reader from the file's signature.
bool DecodeImage(const uint8_t* bytes, size_t size, DecodedImage& out);
bool DecodeImageFile(const std::string& path, DecodedImage& out);

}  // namespace platform::d3dx
