// JPEG and PNG through stb_image, limited to exactly those two formats so that a damaged file
// can never be taken for some other format without a signature.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include <zlib.h>

#include "platform/d3dx/DecodedImage.h"
#include "platform/fs.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS 16384
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace platform::d3dx {

namespace {

bool IsJpeg(const uint8_t* b, size_t n) { return n >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF; }
bool IsPng(const uint8_t* b, size_t n) {
  static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return n >= 8 && std::memcmp(b, signature, 8) == 0;
}
// stb_image pads a JPEG that ends early with zeros and decodes it anyway; a file whose scan
// data is not followed by the end-of-image marker has lost its end and is refused.
bool JpegHasEnd(const uint8_t* b, size_t n) {
  size_t scan = 0;
  for (size_t i = 2; i + 1 < n; ++i)
    if (b[i] == 0xFF && b[i + 1] == 0xDA) {
      scan = i + 2;
      break;
    }
  if (scan == 0) return false;
  // Inside scan data a 0xFF byte is always followed by 0x00 or a restart marker, never 0xD9.
  for (size_t i = scan; i + 1 < n; ++i)
    if (b[i] == 0xFF && b[i + 1] == 0xD9) return true;
  return false;
}

uint32_t ReadBigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

// stb_image skips chunk checksums; checking them (and that IEND is there) turns a damaged or
// cut PNG into a load failure instead of a picture with garbage in it.
bool PngChunksIntact(const uint8_t* b, size_t n) {
  size_t at = 8;
  while (n - at >= 12) {
    const uint32_t length = ReadBigEndian32(b + at);
    if (length > n - at - 12) return false;
    const uint8_t* type = b + at + 4;
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), type, static_cast<uInt>(length + 4));
    if (crc != ReadBigEndian32(b + at + 8 + length)) return false;
    if (std::memcmp(type, "IEND", 4) == 0) return true;
    at += 12 + static_cast<size_t>(length);
  }
  return false;
}

bool IsDds(const uint8_t* b, size_t n) { return n >= 4 && std::memcmp(b, "DDS ", 4) == 0; }

// Each level halves the one above with a 2x2 box (edge texels repeat on odd sizes).
void AppendHalfLevel(DecodedImage& image, const ImageLevel& above) {
  ImageLevel level;
  level.width = std::max(1u, above.width / 2);
  level.height = std::max(1u, above.height / 2);
  level.rowPitch = level.width * 4;
  level.size = static_cast<size_t>(level.rowPitch) * level.height;
  level.offset = image.data.size();
  image.data.resize(image.data.size() + level.size);
  const uint8_t* src = image.data.data() + above.offset;
  uint8_t* dst = image.data.data() + level.offset;
  for (uint32_t y = 0; y < level.height; ++y)
    for (uint32_t x = 0; x < level.width; ++x) {
      const uint32_t x0 = std::min(above.width - 1, x * 2), x1 = std::min(above.width - 1, x * 2 + 1);
      const uint32_t y0 = std::min(above.height - 1, y * 2), y1 = std::min(above.height - 1, y * 2 + 1);
      for (int c = 0; c < 4; ++c) {
        const uint32_t sum = src[y0 * above.rowPitch + x0 * 4 + c] + src[y0 * above.rowPitch + x1 * 4 + c] +
                             src[y1 * above.rowPitch + x0 * 4 + c] + src[y1 * above.rowPitch + x1 * 4 + c];
        dst[y * level.rowPitch + x * 4 + c] = static_cast<uint8_t>((sum + 2) / 4);
      }
    }
  image.levels.push_back(level);
}

}  // namespace

bool DecodeJpegOrPng(const uint8_t* bytes, size_t size, DecodedImage& out) {
  out = DecodedImage{};
  if (!bytes || size > 0x7FFFFFFFu) return false;
  if (!(IsJpeg(bytes, size) && JpegHasEnd(bytes, size)) && !(IsPng(bytes, size) && PngChunksIntact(bytes, size)))
    return false;
  int w = 0, h = 0, channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(bytes, static_cast<int>(size), &w, &h, &channels, 4);
  if (!pixels) return false;
  out.width = static_cast<uint32_t>(w);
  out.height = static_cast<uint32_t>(h);
  out.arraySize = 1;
  out.format = ImageFormat::R8G8B8A8_UNORM;
  ImageLevel top;
  top.width = out.width;
  top.height = out.height;
  top.rowPitch = out.width * 4;
  top.size = static_cast<size_t>(top.rowPitch) * top.height;
  // A whole chain is at most twice the top level (a one-texel-wide strip halves only one way).
  out.data.reserve(top.size * 2);
  out.data.assign(pixels, pixels + top.size);
  stbi_image_free(pixels);
  out.levels.push_back(top);
  while (out.levels.back().width > 1 || out.levels.back().height > 1) AppendHalfLevel(out, out.levels.back());
  out.mipLevels = static_cast<uint32_t>(out.levels.size());
  return true;
}

bool DecodeImage(const uint8_t* bytes, size_t size, DecodedImage& out) {
  if (bytes && IsDds(bytes, size)) return DecodeDds(bytes, size, out);
  return DecodeJpegOrPng(bytes, size, out);
}

bool DecodeImageFile(const std::string& path, DecodedImage& out) {
  out = DecodedImage{};
  std::vector<uint8_t> bytes;
  return ReadWholeFile(path, &bytes) && DecodeImage(bytes.data(), bytes.size(), out);
}

}  // namespace platform::d3dx
