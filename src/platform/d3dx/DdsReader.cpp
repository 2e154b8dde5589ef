// Our own DDS reader. Every size is checked against the bytes that are really there before it
// is read, in 64-bit arithmetic, so a damaged header can neither overflow nor read past the end.
#include <algorithm>
#include <cstring>

#include "platform/d3dx/DecodedImage.h"

namespace platform::d3dx {

namespace {

constexpr uint32_t kMagic = 0x20534444u;  // "DDS "
constexpr uint32_t kHeaderSize = 124;
constexpr uint32_t kPixelFormatSize = 32;
constexpr uint32_t kDx10HeaderSize = 20;
constexpr uint32_t kMaxDimension = 16384;

constexpr uint32_t DDSD_MIPMAPCOUNT = 0x20000u;
constexpr uint32_t DDSD_DEPTH = 0x800000u;
constexpr uint32_t DDPF_ALPHAPIXELS = 0x1u;
constexpr uint32_t DDPF_FOURCC = 0x4u;
constexpr uint32_t DDPF_RGB = 0x40u;
constexpr uint32_t DDSCAPS2_CUBEMAP = 0x200u;
constexpr uint32_t DDSCAPS2_ALLFACES = 0xFC00u;
constexpr uint32_t DDSCAPS2_VOLUME = 0x200000u;
constexpr uint32_t kDimensionTexture2D = 3;
constexpr uint32_t kMiscTextureCube = 0x4u;

constexpr uint32_t FourCC(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) | (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8) |
         (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16) | (static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

// How the stored texels become the format we hand on.
enum class Swizzle { None, BgraToRgba, BgrxToRgba, RgbxToRgba };

struct SourceFormat {
  ImageFormat format = ImageFormat::Unknown;
  Swizzle swizzle = Swizzle::None;
};

SourceFormat FromDxgi(uint32_t dxgi) {
  switch (dxgi) {
    case 28: return {ImageFormat::R8G8B8A8_UNORM, Swizzle::None};
    case 29: return {ImageFormat::R8G8B8A8_UNORM_SRGB, Swizzle::None};
    case 87: return {ImageFormat::R8G8B8A8_UNORM, Swizzle::BgraToRgba};
    case 88: return {ImageFormat::R8G8B8A8_UNORM, Swizzle::BgrxToRgba};
    case 91: return {ImageFormat::R8G8B8A8_UNORM_SRGB, Swizzle::BgraToRgba};
    case 93: return {ImageFormat::R8G8B8A8_UNORM_SRGB, Swizzle::BgrxToRgba};
    case 71: return {ImageFormat::BC1_UNORM, Swizzle::None};
    case 72: return {ImageFormat::BC1_UNORM_SRGB, Swizzle::None};
    case 74: return {ImageFormat::BC2_UNORM, Swizzle::None};
    case 75: return {ImageFormat::BC2_UNORM_SRGB, Swizzle::None};
    case 77: return {ImageFormat::BC3_UNORM, Swizzle::None};
    case 78: return {ImageFormat::BC3_UNORM_SRGB, Swizzle::None};
    default: return {};
  }
}

SourceFormat FromLegacyPixelFormat(const uint8_t* pf) {
  if (ReadU32(pf) != kPixelFormatSize) return {};
  const uint32_t flags = ReadU32(pf + 4);
  if (flags & DDPF_FOURCC) {
    switch (ReadU32(pf + 8)) {
      case FourCC('D', 'X', 'T', '1'): return {ImageFormat::BC1_UNORM, Swizzle::None};
      case FourCC('D', 'X', 'T', '2'):
      case FourCC('D', 'X', 'T', '3'): return {ImageFormat::BC2_UNORM, Swizzle::None};
      case FourCC('D', 'X', 'T', '4'):
      case FourCC('D', 'X', 'T', '5'): return {ImageFormat::BC3_UNORM, Swizzle::None};
      default: return {};
    }
  }
  if (!(flags & DDPF_RGB) || ReadU32(pf + 12) != 32) return {};
  const uint32_t r = ReadU32(pf + 16), g = ReadU32(pf + 20), b = ReadU32(pf + 24);
  const uint32_t a = (flags & DDPF_ALPHAPIXELS) ? ReadU32(pf + 28) : 0u;
  if (r == 0x000000FFu && g == 0x0000FF00u && b == 0x00FF0000u)
    return {ImageFormat::R8G8B8A8_UNORM, a == 0xFF000000u ? Swizzle::None : Swizzle::RgbxToRgba};
  if (r == 0x00FF0000u && g == 0x0000FF00u && b == 0x000000FFu)
    return {ImageFormat::R8G8B8A8_UNORM, a == 0xFF000000u ? Swizzle::BgraToRgba : Swizzle::BgrxToRgba};
  return {};
}

void ApplySwizzle(uint8_t* texels, size_t bytes, Swizzle swizzle) {
  for (size_t i = 0; i + 3 < bytes; i += 4) {
    uint8_t* t = texels + i;
    switch (swizzle) {
      case Swizzle::None: return;
      case Swizzle::BgraToRgba: std::swap(t[0], t[2]); break;
      case Swizzle::BgrxToRgba: std::swap(t[0], t[2]); t[3] = 0xFF; break;
      case Swizzle::RgbxToRgba: t[3] = 0xFF; break;
    }
  }
}

uint32_t FullChainLength(uint32_t width, uint32_t height) {
  uint32_t levels = 1;
  for (uint32_t m = std::max(width, height); m > 1; m >>= 1) ++levels;
  return levels;
}

}  // namespace

bool IsBlockCompressed(ImageFormat format) {
  switch (format) {
    case ImageFormat::BC1_UNORM:
    case ImageFormat::BC1_UNORM_SRGB:
    case ImageFormat::BC2_UNORM:
    case ImageFormat::BC2_UNORM_SRGB:
    case ImageFormat::BC3_UNORM:
    case ImageFormat::BC3_UNORM_SRGB: return true;
    default: return false;
  }
}

uint64_t LevelBytes(ImageFormat format, uint32_t width, uint32_t height, uint32_t* rowPitch) {
  uint64_t pitch = 0, rows = 0;
  if (IsBlockCompressed(format)) {
    const bool bc1 = format == ImageFormat::BC1_UNORM || format == ImageFormat::BC1_UNORM_SRGB;
    pitch = std::max<uint64_t>(1, (uint64_t{width} + 3) / 4) * (bc1 ? 8 : 16);
    rows = std::max<uint64_t>(1, (uint64_t{height} + 3) / 4);
  } else if (format == ImageFormat::R8G8B8A8_UNORM || format == ImageFormat::R8G8B8A8_UNORM_SRGB) {
    pitch = uint64_t{width} * 4;
    rows = height;
  } else {
    return 0;
  }
  if (rowPitch) *rowPitch = static_cast<uint32_t>(pitch);
  return pitch * rows;
}

bool DecodeDds(const uint8_t* bytes, size_t size, DecodedImage& out) {
  out = DecodedImage{};
  if (!bytes || size < 4 + kHeaderSize || ReadU32(bytes) != kMagic) return false;
  const uint8_t* header = bytes + 4;
  if (ReadU32(header) != kHeaderSize) return false;
  const uint32_t flags = ReadU32(header + 4);
  const uint32_t height = ReadU32(header + 8);
  const uint32_t width = ReadU32(header + 12);
  const uint32_t depth = ReadU32(header + 20);
  const uint32_t mipCount = ReadU32(header + 24);
  const uint8_t* pixelFormat = header + 72;
  const uint32_t caps2 = ReadU32(header + 108);
  size_t offset = 4 + kHeaderSize;

  SourceFormat source;
  uint32_t arraySize = 1;
  bool cube = false;
  if ((ReadU32(pixelFormat + 4) & DDPF_FOURCC) && ReadU32(pixelFormat + 8) == FourCC('D', 'X', '1', '0')) {
    if (size - offset < kDx10HeaderSize) return false;
    const uint8_t* dx10 = bytes + offset;
    offset += kDx10HeaderSize;
    source = FromDxgi(ReadU32(dx10));
    if (ReadU32(dx10 + 4) != kDimensionTexture2D) return false;
    cube = (ReadU32(dx10 + 8) & kMiscTextureCube) != 0;
    arraySize = ReadU32(dx10 + 12);
    if (arraySize == 0 || arraySize > 2048) return false;
    if (cube) arraySize *= 6;
  } else {
    source = FromLegacyPixelFormat(pixelFormat);
    if (caps2 & DDSCAPS2_CUBEMAP) {
      // A legacy cube must carry all six faces; a partial cube cannot become a cube texture.
      if ((caps2 & DDSCAPS2_ALLFACES) != DDSCAPS2_ALLFACES) return false;
      cube = true;
      arraySize = 6;
    }
  }
  if (source.format == ImageFormat::Unknown) return false;
  if ((caps2 & DDSCAPS2_VOLUME) || ((flags & DDSD_DEPTH) && depth > 1)) return false;
  if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension) return false;
  if (cube && width != height) return false;

  uint32_t mipLevels = ((flags & DDSD_MIPMAPCOUNT) || mipCount > 1) ? std::max<uint32_t>(1, mipCount) : 1;
  if (mipLevels > FullChainLength(width, height)) return false;

  // Sum up what the header promises before allocating anything.
  uint64_t total = 0;
  for (uint32_t mip = 0; mip < mipLevels; ++mip)
    total += LevelBytes(source.format, std::max(1u, width >> mip), std::max(1u, height >> mip));
  total *= arraySize;
  if (total == 0 || total > size - offset) return false;

  out.width = width;
  out.height = height;
  out.mipLevels = mipLevels;
  out.arraySize = arraySize;
  out.cube = cube;
  out.format = source.format;
  out.data.assign(bytes + offset, bytes + offset + total);
  out.levels.reserve(static_cast<size_t>(arraySize) * mipLevels);
  size_t at = 0;
  for (uint32_t slice = 0; slice < arraySize; ++slice)
    for (uint32_t mip = 0; mip < mipLevels; ++mip) {
      ImageLevel level;
      level.width = std::max(1u, width >> mip);
      level.height = std::max(1u, height >> mip);
      level.size = static_cast<size_t>(LevelBytes(source.format, level.width, level.height, &level.rowPitch));
      level.offset = at;
      at += level.size;
      out.levels.push_back(level);
    }
  if (source.swizzle != Swizzle::None) ApplySwizzle(out.data.data(), out.data.size(), source.swizzle);
  return true;
}

}  // namespace platform::d3dx
