#include "ImageFixtures.h"

#include <algorithm>
#include <fstream>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

void AppendToVector(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba) {
  std::vector<uint8_t> out;
  stbi_write_png_to_func(AppendToVector, &out, width, height, 4, rgba.data(), width * 4);
  return out;
}

std::vector<uint8_t> EncodeJpeg(int width, int height, const std::vector<uint8_t>& rgba, int quality) {
  std::vector<uint8_t> out;
  stbi_write_jpg_to_func(AppendToVector, &out, width, height, 4, rgba.data(), quality);
  return out;
}

std::vector<uint8_t> EncodeDds(const DdsFixture& f) {
  using Kind = DdsFixture::Kind;
  std::vector<uint8_t> out(4 + 124, 0);
  PutU32(out, 0, 0x20534444u);
  PutU32(out, 4, 124);
  PutU32(out, 8, 0x1 | 0x2 | 0x4 | 0x1000 | (f.mipLevels > 1 ? 0x20000 : 0));
  PutU32(out, 12, f.height);
  PutU32(out, 16, f.width);
  PutU32(out, 28, f.mipLevels);
  const size_t pf = 4 + 72;
  PutU32(out, pf, 32);
  const bool compressed = f.kind == Kind::Bc1 || f.kind == Kind::Bc2 || f.kind == Kind::Bc3;
  uint32_t dxgi = 0;
  if (f.dx10Header) {
    PutU32(out, pf + 4, 0x4);
    PutU32(out, pf + 8, 0x30315844u);  // "DX10"
    switch (f.kind) {
      case Kind::Rgba8: dxgi = 28; break;
      case Kind::Bgra8: dxgi = 87; break;
      case Kind::Bgrx8: dxgi = 88; break;
      case Kind::Bc1: dxgi = 71; break;
      case Kind::Bc2: dxgi = 74; break;
      case Kind::Bc3: dxgi = 77; break;
    }
  } else if (compressed) {
    PutU32(out, pf + 4, 0x4);
    PutU32(out, pf + 8, f.kind == Kind::Bc1 ? 0x31545844u : f.kind == Kind::Bc2 ? 0x33545844u : 0x35545844u);
  } else {
    PutU32(out, pf + 4, 0x40 | (f.kind == Kind::Bgrx8 ? 0 : 0x1));
    PutU32(out, pf + 12, 32);
    const bool rgba = f.kind == Kind::Rgba8;
    PutU32(out, pf + 16, rgba ? 0x000000FFu : 0x00FF0000u);
    PutU32(out, pf + 20, 0x0000FF00u);
    PutU32(out, pf + 24, rgba ? 0x00FF0000u : 0x000000FFu);
    PutU32(out, pf + 28, f.kind == Kind::Bgrx8 ? 0 : 0xFF000000u);
  }
  PutU32(out, 4 + 104, 0x1000 | (f.mipLevels > 1 ? 0x400008 : 0) | (f.cube ? 0x8 : 0));
  if (f.cube && !f.dx10Header) PutU32(out, 4 + 108, 0x200 | 0xFC00);
  if (f.dx10Header) {
    std::vector<uint8_t> dx10(20, 0);
    PutU32(dx10, 0, dxgi);
    PutU32(dx10, 4, 3);
    PutU32(dx10, 8, f.cube ? 0x4 : 0);
    PutU32(dx10, 12, 1);
    out.insert(out.end(), dx10.begin(), dx10.end());
  }
  const uint32_t faces = f.cube ? 6 : 1;
  size_t texelBytes = 0;
  for (uint32_t mip = 0; mip < f.mipLevels; ++mip) {
    const uint32_t w = std::max(1u, f.width >> mip), h = std::max(1u, f.height >> mip);
    if (compressed)
      texelBytes += size_t{std::max(1u, (w + 3) / 4)} * std::max(1u, (h + 3) / 4) * (f.kind == Kind::Bc1 ? 8 : 16);
    else
      texelBytes += size_t{w} * h * 4;
  }
  texelBytes *= faces;
  for (size_t i = 0; i < texelBytes; ++i) out.push_back(static_cast<uint8_t>(i * 7 + 1));
  return out;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
