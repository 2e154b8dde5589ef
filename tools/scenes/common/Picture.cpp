#include "Picture.h"

#include <algorithm>
#include <cmath>
#include <fstream>

// A private copy of the PNG writer: the platform library carries its own.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "VecMath.h"

namespace kit {

namespace {

uint8_t ToByte(float value) { return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)); }

}  // namespace

Picture Paint(int width, int height, const std::function<Rgba(float u, float v)>& paint) {
  Picture picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Rgba c = paint((x + 0.5f) / width, (y + 0.5f) / height);
      float* p = picture.At(x, y);
      p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
    }
  return picture;
}

Picture NormalMapFromHeight(int size, float strength, const std::function<float(float u, float v)>& height) {
  const float step = 1.0f / size;
  return Paint(size, size, [&](float u, float v) {
    // Central differences, in height per texture width.
    const float du = (height(u + step, v) - height(u - step, v)) / (2 * step);
    const float dv = (height(u, v + step) - height(u, v - step)) / (2 * step);
    const Vec3 n = Normalize(Vec3{-du * strength, -dv * strength, 1.0f});
    return Rgba{n.x * 0.5f + 0.5f, n.y * 0.5f + 0.5f, n.z * 0.5f + 0.5f, 1.0f};
  });
}

int TextureSizeLimit(TextureKind kind) { return kind == TextureKind::Normal ? 512 : 1024; }

bool WriteTexture(const Picture& picture, TextureKind kind, const std::string& path) {
  const int limit = TextureSizeLimit(kind);
  if (picture.width > limit || picture.height > limit) return false;
  return WritePng(picture, path);
}

bool WritePng(const Picture& picture, const std::string& path) {
  std::vector<uint8_t> bytes(picture.rgba.size());
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = ToByte(picture.rgba[i]);
  return stbi_write_png(path.c_str(), picture.width, picture.height, 4, bytes.data(), picture.width * 4) != 0;
}

bool WriteBytes(const std::vector<uint8_t>& bytes, const std::string& path) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

std::vector<uint8_t> CubeDds(int faceSize, const std::function<void(float x, float y, float z, float rgb[3])>& light) {
  std::vector<uint8_t> out;
  auto u32 = [&](uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  int levels = 1;
  for (int s = faceSize; s > 1; s >>= 1) ++levels;
  u32(0x20534444);  // "DDS "
  u32(124);
  u32(0x1 | 0x2 | 0x4 | 0x8 | 0x1000 | 0x20000);  // caps, height, width, pitch, pixel format, mip count
  u32(static_cast<uint32_t>(faceSize));
  u32(static_cast<uint32_t>(faceSize));
  u32(static_cast<uint32_t>(faceSize * 4));
  u32(0);
  u32(static_cast<uint32_t>(levels));
  for (int i = 0; i < 11; ++i) u32(0);
  u32(32);          // pixel format size
  u32(0x40 | 0x1);  // RGB with alpha
  u32(0);
  u32(32);
  u32(0x000000FF), u32(0x0000FF00), u32(0x00FF0000), u32(0xFF000000);
  u32(0x1000 | 0x8 | 0x400000);  // texture, complex, mipmap
  u32(0x200 | 0xFC00);           // cube map with all six faces
  u32(0), u32(0), u32(0);

  for (int face = 0; face < 6; ++face) {
    Picture level(faceSize, faceSize);
    for (int y = 0; y < faceSize; ++y)
      for (int x = 0; x < faceSize; ++x) {
        const float a = 2.0f * (x + 0.5f) / faceSize - 1.0f, b = 2.0f * (y + 0.5f) / faceSize - 1.0f;
        float d[3];
        switch (face) {
          case 0: d[0] = 1, d[1] = -b, d[2] = -a; break;
          case 1: d[0] = -1, d[1] = -b, d[2] = a; break;
          case 2: d[0] = a, d[1] = 1, d[2] = b; break;
          case 3: d[0] = a, d[1] = -1, d[2] = -b; break;
          case 4: d[0] = a, d[1] = -b, d[2] = 1; break;
          default: d[0] = -a, d[1] = -b, d[2] = -1; break;
        }
        float* p = level.At(x, y);
        light(d[0], d[1], d[2], p);
        p[3] = 1.0f;
      }
    for (int mip = 0; mip < levels; ++mip) {
      for (float value : level.rgba) out.push_back(ToByte(value));
      if (level.width == 1) break;
      Picture half(level.width / 2, level.height / 2);
      for (int y = 0; y < half.height; ++y)
        for (int x = 0; x < half.width; ++x)
          for (int c = 0; c < 4; ++c)
            half.At(x, y)[c] = 0.25f * (level.At(2 * x, 2 * y)[c] + level.At(2 * x + 1, 2 * y)[c] +
                                        level.At(2 * x, 2 * y + 1)[c] + level.At(2 * x + 1, 2 * y + 1)[c]);
      level = half;
    }
  }
  return out;
}

Picture Panorama(int width, int height, const std::function<void(float x, float y, float z, float rgb[3])>& light) {
  Picture picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      // The inverse of the material program's lookup: u from the azimuth, v from the polar angle.
      const float azimuth = ((x + 0.5f) / width - 0.5f) * 2 * kPi;
      const float polar = (y + 0.5f) / height * kPi;
      float* p = picture.At(x, y);
      light(std::sin(polar) * std::sin(azimuth), std::cos(polar), std::sin(polar) * std::cos(azimuth), p);
      p[3] = 1.0f;
    }
  return picture;
}

}  // namespace kit
