// The image readers behind the texture loaders: exact decoding of what they accept, and a
// clean failure (never a crash or a read past the end) for everything damaged.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/ImageFixtures.h"
#include "platform/d3dx/DecodedImage.h"

using platform::d3dx::DecodedImage;
using platform::d3dx::DecodeImage;
using platform::d3dx::ImageFormat;

namespace {

std::vector<uint8_t> Gradient(int w, int h) {
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = static_cast<uint8_t>(x * 255 / std::max(1, w - 1));
      p[1] = static_cast<uint8_t>(y * 255 / std::max(1, h - 1));
      p[2] = 128;
      p[3] = static_cast<uint8_t>(255 - x * 10);
    }
  return rgba;
}

// Every prefix shorter than the file is refused; the copy has exactly the prefix's size, so
// a read past it would touch memory the decoder was not given.
void ExpectEveryTruncationFails(const std::vector<uint8_t>& file) {
  for (size_t n = 0; n < file.size(); ++n) {
    std::vector<uint8_t> prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
    DecodedImage image;
    EXPECT_FALSE(DecodeImage(prefix.data(), prefix.size(), image)) << "prefix of " << n << " bytes";
    EXPECT_TRUE(image.data.empty());
  }
}

}  // namespace

TEST(DecodedImage, PngDecodesExactlyWithABoxFilteredMipChain) {
  const auto pixels = Gradient(5, 3);
  DecodedImage image;
  const auto png = EncodePng(5, 3, pixels);
  ASSERT_TRUE(DecodeImage(png.data(), png.size(), image));
  EXPECT_EQ(image.format, ImageFormat::R8G8B8A8_UNORM);
  EXPECT_EQ(image.width, 5u);
  EXPECT_EQ(image.height, 3u);
  EXPECT_FALSE(image.cube);
  ASSERT_EQ(image.mipLevels, 3u);  // 5x3, 2x1, 1x1
  EXPECT_EQ(image.Level(0, 1).width, 2u);
  EXPECT_EQ(image.Level(0, 1).height, 1u);
  EXPECT_EQ(image.Level(0, 2).width, 1u);
  const auto& top = image.Level(0, 0);
  EXPECT_EQ(std::vector<uint8_t>(image.data.begin() + top.offset, image.data.begin() + top.offset + top.size), pixels);
  // Level 1 texel (1, 0) averages top texels x 2..3, y 0..1.
  const uint8_t* mip = image.data.data() + image.Level(0, 1).offset + 4;
  const int expectedRed = (pixels[(0 * 5 + 2) * 4] + pixels[(0 * 5 + 3) * 4] + pixels[(1 * 5 + 2) * 4] +
                           pixels[(1 * 5 + 3) * 4] + 2) / 4;
  EXPECT_EQ(mip[0], expectedRed);
}

TEST(DecodedImage, JpegDecodesCloseToItsSource) {
  std::vector<uint8_t> flat(16 * 16 * 4);
  for (size_t i = 0; i < flat.size(); i += 4) {
    flat[i] = 200;
    flat[i + 1] = 40;
    flat[i + 2] = 90;
    flat[i + 3] = 255;
  }
  const auto jpeg = EncodeJpeg(16, 16, flat);
  DecodedImage image;
  ASSERT_TRUE(DecodeImage(jpeg.data(), jpeg.size(), image));
  EXPECT_EQ(image.width, 16u);
  EXPECT_EQ(image.mipLevels, 5u);
  EXPECT_NEAR(image.data[0], 200, 4);
  EXPECT_NEAR(image.data[1], 40, 4);
  EXPECT_NEAR(image.data[2], 90, 4);
  EXPECT_EQ(image.data[3], 255);
}

TEST(DecodedImage, DamagedPngAndJpegFail) {
  const auto png = EncodePng(6, 5, Gradient(6, 5));
  const auto jpeg = EncodeJpeg(8, 8, Gradient(8, 8));
  ExpectEveryTruncationFails(png);
  ExpectEveryTruncationFails(jpeg);

  // A flipped bit inside the pixel data: the chunk checksum no longer matches.
  auto flipped = png;
  flipped[flipped.size() - 20] ^= 0x10;
  DecodedImage image;
  EXPECT_FALSE(DecodeImage(flipped.data(), flipped.size(), image));

  std::vector<uint8_t> noise(300);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 37 + 11);
  EXPECT_FALSE(DecodeImage(noise.data(), noise.size(), image));
  noise[0] = 0xFF, noise[1] = 0xD8, noise[2] = 0xFF;  // a JPEG signature over garbage
  EXPECT_FALSE(DecodeImage(noise.data(), noise.size(), image));
  EXPECT_FALSE(DecodeImage(nullptr, 0, image));
}

TEST(DecodedImage, DdsUncompressedLayoutsBecomeRgba) {
  for (bool dx10 : {false, true}) {
    for (auto kind : {DdsFixture::Kind::Rgba8, DdsFixture::Kind::Bgra8, DdsFixture::Kind::Bgrx8}) {
      DdsFixture f;
      f.kind = kind;
      f.width = 2;
      f.height = 2;
      f.dx10Header = dx10;
      const auto file = EncodeDds(f);
      const uint8_t* texel = file.data() + file.size() - 16;  // first stored texel
      DecodedImage image;
      ASSERT_TRUE(DecodeImage(file.data(), file.size(), image)) << static_cast<int>(kind) << " dx10 " << dx10;
      EXPECT_EQ(image.format, ImageFormat::R8G8B8A8_UNORM);
      const bool bgr = kind != DdsFixture::Kind::Rgba8;
      EXPECT_EQ(image.data[0], bgr ? texel[2] : texel[0]);
      EXPECT_EQ(image.data[1], texel[1]);
      EXPECT_EQ(image.data[2], bgr ? texel[0] : texel[2]);
      EXPECT_EQ(image.data[3], kind == DdsFixture::Kind::Bgrx8 ? 255 : texel[3]);
    }
  }
}

TEST(DecodedImage, DdsCompressedCubeWithMipChainIsLaidOutFaceByFace) {
  for (bool dx10 : {false, true}) {
    DdsFixture f;
    f.kind = DdsFixture::Kind::Bc1;
    f.width = 8;
    f.height = 8;
    f.mipLevels = 4;
    f.cube = true;
    f.dx10Header = dx10;
    const auto file = EncodeDds(f);
    DecodedImage image;
    ASSERT_TRUE(DecodeImage(file.data(), file.size(), image));
    EXPECT_TRUE(image.cube);
    EXPECT_EQ(image.arraySize, 6u);
    EXPECT_EQ(image.mipLevels, 4u);
    EXPECT_EQ(image.format, ImageFormat::BC1_UNORM);
    // 8x8: 4 blocks (32 bytes), 4x4, 2x2 and 1x1: one block (8 bytes) each: 56 bytes a face.
    EXPECT_EQ(image.Level(0, 0).size, 32u);
    EXPECT_EQ(image.Level(0, 3).size, 8u);
    EXPECT_EQ(image.Level(0, 0).rowPitch, 16u);
    EXPECT_EQ(image.Level(1, 0).offset, 56u);
    EXPECT_EQ(image.Level(5, 3).offset + image.Level(5, 3).size, 6u * 56u);
    EXPECT_EQ(image.data.size(), 6u * 56u);
  }
  for (auto kind : {DdsFixture::Kind::Bc2, DdsFixture::Kind::Bc3}) {
    DdsFixture f;
    f.kind = kind;
    f.width = 5;  // not a multiple of the block size
    f.height = 3;
    const auto file = EncodeDds(f);
    DecodedImage image;
    ASSERT_TRUE(DecodeImage(file.data(), file.size(), image));
    EXPECT_EQ(image.data.size(), 2u * 16u);
    EXPECT_EQ(image.format, kind == DdsFixture::Kind::Bc2 ? ImageFormat::BC2_UNORM : ImageFormat::BC3_UNORM);
  }
}

TEST(DecodedImage, DamagedDdsFails) {
  DdsFixture f;
  f.kind = DdsFixture::Kind::Bc3;
  f.width = 8;
  f.height = 8;
  f.mipLevels = 2;
  f.cube = true;
  ExpectEveryTruncationFails(EncodeDds(f));
  f.dx10Header = true;
  ExpectEveryTruncationFails(EncodeDds(f));
  ExpectEveryTruncationFails(EncodeDds(DdsFixture{}));

  auto patched = [](size_t at, uint32_t value, DdsFixture fixture = {}) {
    auto file = EncodeDds(fixture);
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
    DecodedImage image;
    return DecodeImage(file.data(), file.size(), image);
  };
  EXPECT_TRUE(patched(0, 0x20534444u));        // untouched magic still loads
  EXPECT_FALSE(patched(4, 123));               // header size
  EXPECT_FALSE(patched(12, 0));                // height 0
  EXPECT_FALSE(patched(16, 0x40000000u));      // a huge width over a tiny file: no allocation
  EXPECT_FALSE(patched(28, 9));                // more mips than a 4x4 chain has
  EXPECT_FALSE(patched(76 + 4, 0x4));          // fourCC flag with no known code
  EXPECT_FALSE(patched(76 + 12, 24));          // 24-bit texels
  DdsFixture cube;
  cube.cube = true;
  EXPECT_FALSE(patched(4 + 108, 0x200 | 0x0C00, cube));  // a cube with two faces
  DdsFixture array;
  array.dx10Header = true;
  EXPECT_FALSE(patched(128 + 12, 0x7FFFFFFFu, array));    // absurd array size
  EXPECT_FALSE(patched(128 + 4, 4, array));               // a volume texture
  EXPECT_FALSE(patched(128, 2, array));                   // float texels: not read here
}

// Random damage anywhere in the headers: every outcome is a clean failure or a consistent image.
TEST(DecodedImage, RandomlyDamagedDdsHeadersDecodeConsistentlyOrFail) {
  uint32_t state = 12345;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  for (bool dx10 : {false, true}) {
    DdsFixture f;
    f.kind = DdsFixture::Kind::Bc1;
    f.width = f.height = 8;
    f.mipLevels = 2;
    f.cube = true;
    f.dx10Header = dx10;
    const auto original = EncodeDds(f);
    const size_t headerBytes = dx10 ? 148 : 128;
    for (int round = 0; round < 3000; ++round) {
      auto file = original;
      for (int flips = 1 + next() % 3; flips > 0; --flips) file[next() % headerBytes] = static_cast<uint8_t>(next());
      DecodedImage image;
      if (!DecodeImage(file.data(), file.size(), image)) continue;
      size_t expected = 0;
      for (const auto& level : image.levels) {
        ASSERT_EQ(level.offset, expected);
        expected += level.size;
      }
      ASSERT_EQ(image.data.size(), expected);
      ASSERT_LE(image.data.size(), file.size());
      ASSERT_EQ(image.levels.size(), size_t{image.arraySize} * image.mipLevels);
    }
  }
}
