// The texture cache on llvmpipe: one load per name, exact names, retries for missing files,
// and a clean -1 for every damaged image.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <filesystem>

#include "gfx/TextureCache.h"
#include "platform/d3dx/d3dx11tex.h"
#include "support/GpuTestDevice.h"
#include "support/ImageFixtures.h"
#include "support/TempDirectory.h"

namespace {

std::vector<uint8_t> Checker(int w, int h) {
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
  for (int i = 0; i < w * h; ++i) {
    const bool on = ((i % w) / 4 + (i / w) / 4) % 2 == 0;
    rgba[i * 4 + 0] = on ? 250 : 10;
    rgba[i * 4 + 1] = 60;
    rgba[i * 4 + 2] = on ? 10 : 240;
    rgba[i * 4 + 3] = 255;
  }
  return rgba;
}

// A six-faced BC3 sky of 16 x 16 with three levels.
DdsFixture SkyCube() {
  DdsFixture cube;
  cube.kind = DdsFixture::Kind::Bc3;
  cube.width = cube.height = 16;
  cube.mipLevels = 3;
  cube.cube = true;
  return cube;
}

class TextureCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gpu.Create(32, 32));
    std::filesystem::create_directory("engine_data");
  }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) { WriteBytes("engine_data/" + name, bytes); }

  TempDirectory directory{true};
  testing_support::GpuTestDevice gpu;
};

}  // namespace

TEST_F(TextureCacheTest, LoadsEachNameOnceAndKeepsIndices) {
  Write("ring.jpg", EncodeJpeg(16, 16, Checker(16, 16)));
  Write("flare.png", EncodePng(8, 8, Checker(8, 8)));
  TextureCache cache(gpu.device);
  const uint64_t readsBefore = platform::d3dx::ImageFileReadCount();
  const int32_t ring = cache.GetTexture("ring.jpg");
  ASSERT_EQ(ring, 0);
  EXPECT_EQ(cache.GetTexture("flare.png"), 1);
  EXPECT_EQ(cache.GetTexture("ring.jpg"), ring);
  EXPECT_EQ(platform::d3dx::ImageFileReadCount() - readsBefore, 2u);

  ID3D11ShaderResourceView* view = cache.TextureAt(ring);
  ASSERT_NE(view, nullptr);
  D3D11_SHADER_RESOURCE_VIEW_DESC desc;
  view->GetDesc(&desc);
  EXPECT_EQ(desc.Format, DXGI_FORMAT_R8G8B8A8_UNORM);
  EXPECT_EQ(desc.ViewDimension, D3D11_SRV_DIMENSION_TEXTURE2D);
  EXPECT_EQ(desc.Texture2D.MipLevels, 5u);  // the whole chain down to 1 x 1

  EXPECT_EQ(cache.TextureAt(2), nullptr);   // equal to the list's size
  EXPECT_EQ(cache.TextureAt(-1), nullptr);  // taken unsigned
  testing_support::ExpectNoGLErrors();
}

TEST_F(TextureCacheTest, NamesAreCaseSensitiveAndEmptyNamesTouchNothing) {
  Write("a.png", EncodePng(4, 4, Checker(4, 4)));
  Write("A.png", EncodePng(4, 4, Checker(4, 4)));
  TextureCache cache(gpu.device);
  const uint64_t readsBefore = platform::d3dx::ImageFileReadCount();
  EXPECT_EQ(cache.GetTexture(""), -1);
  EXPECT_EQ(cache.GetCubeTexture(""), -1);
  EXPECT_EQ(platform::d3dx::ImageFileReadCount(), readsBefore);
  EXPECT_EQ(cache.GetTexture("a.png"), 0);
  EXPECT_EQ(cache.GetTexture("A.png"), 1);
  EXPECT_EQ(cache.TextureAt(0) == cache.TextureAt(1), false);
}

TEST_F(TextureCacheTest, MissingFileIsRetriedOnTheNextRequest) {
  TextureCache cache(gpu.device);
  EXPECT_EQ(cache.GetTexture("late.png"), -1);
  EXPECT_EQ(cache.TextureAt(0), nullptr);
  Write("late.png", EncodePng(4, 4, Checker(4, 4)));
  EXPECT_EQ(cache.GetTexture("late.png"), 0);
  EXPECT_NE(cache.TextureAt(0), nullptr);
}

TEST_F(TextureCacheTest, DamagedImagesFailWithoutEntries) {
  auto png = EncodePng(8, 8, Checker(8, 8));
  png.resize(png.size() - 30);
  auto jpeg = EncodeJpeg(8, 8, Checker(8, 8));
  jpeg.resize(jpeg.size() / 2);
  DdsFixture fixture;
  fixture.kind = DdsFixture::Kind::Bc1;
  fixture.width = fixture.height = 8;
  auto dds = EncodeDds(fixture);
  dds.resize(dds.size() - 1);
  Write("cut.png", png);
  Write("cut.jpg", jpeg);
  Write("cut.dds", dds);
  Write("text.jpg", std::vector<uint8_t>{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
  TextureCache cache(gpu.device);
  EXPECT_EQ(cache.GetTexture("cut.png"), -1);
  EXPECT_EQ(cache.GetTexture("cut.jpg"), -1);
  EXPECT_EQ(cache.GetTexture("cut.dds"), -1);
  EXPECT_EQ(cache.GetTexture("text.jpg"), -1);
  EXPECT_EQ(cache.GetCubeTexture("cut.dds"), -1);
  EXPECT_EQ(cache.TextureAt(0), nullptr);
}

TEST_F(TextureCacheTest, CubeTexturesComeFromSixFacedDdsFiles) {
  DdsFixture cube = SkyCube();
  Write("sky.dds", EncodeDds(cube));
  DdsFixture flat;
  flat.width = flat.height = 16;
  Write("flat.dds", EncodeDds(flat));

  TextureCache cache(gpu.device);
  EXPECT_EQ(cache.GetCubeTexture("flat.dds"), -1);
  const int32_t sky = cache.GetCubeTexture("sky.dds");
  ASSERT_EQ(sky, 0);
  EXPECT_EQ(cache.GetCubeTexture("sky.dds"), 0);
  ID3D11ShaderResourceView* view = cache.CubeTextureAt(sky);
  ASSERT_NE(view, nullptr);
  D3D11_SHADER_RESOURCE_VIEW_DESC desc;
  view->GetDesc(&desc);
  EXPECT_EQ(desc.ViewDimension, D3D11_SRV_DIMENSION_TEXTURECUBE);
  EXPECT_EQ(desc.Format, DXGI_FORMAT_BC3_UNORM);
  EXPECT_EQ(desc.TextureCube.MipLevels, 3u);
  EXPECT_EQ(desc.TextureCube.MostDetailedMip, 0u);
  // The 2D list is a separate list: the same file as a flat texture is a new entry.
  EXPECT_EQ(cache.TextureAt(0), nullptr);
  EXPECT_EQ(cache.GetTexture("flat.dds"), 0);
  testing_support::ExpectNoGLErrors();
}

namespace {

// The texels of a view's first level as RGBA bytes.
std::vector<uint8_t> Texels(ID3D11ShaderResourceView* view, int w, int h) {
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
  glGetTextureImage(view->glTexture(), 0, GL_RGBA, GL_UNSIGNED_BYTE, static_cast<GLsizei>(rgba.size()), rgba.data());
  return rgba;
}

}  // namespace

// Development mode rewrites pictures while the show holds their views: the same view shows the
// new picture; one that cannot take its place leaves the old picture as it was.
TEST_F(TextureCacheTest, AReloadedPictureReplacesTheTexelsEveryHolderDrawsWith) {
  const std::vector<uint8_t> checker = Checker(8, 8);
  std::vector<uint8_t> green(8 * 8 * 4, 0);
  for (size_t i = 0; i < green.size(); i += 4) green[i + 1] = green[i + 3] = 255;
  Write("ring.png", EncodePng(8, 8, checker));
  TextureCache cache(gpu.device);
  const int32_t ring = cache.GetTexture("ring.png");
  ASSERT_EQ(ring, 0);
  ID3D11ShaderResourceView* const held = cache.TextureAt(ring);
  ASSERT_EQ(Texels(held, 8, 8), checker);

  std::string message;
  Write("ring.png", EncodePng(8, 8, green));
  ASSERT_TRUE(cache.Reload("ring.png", &message)) << message;
  EXPECT_EQ(cache.TextureAt(ring), held) << "the view every holder keeps";
  EXPECT_EQ(Texels(held, 8, 8), green);

  // A cut file, another size: the green stays, and the reason is given.
  auto cut = EncodePng(8, 8, checker);
  cut.resize(cut.size() / 2);
  Write("ring.png", cut);
  EXPECT_FALSE(cache.Reload("ring.png", &message));
  EXPECT_NE(message.find("cannot be decoded"), std::string::npos) << message;
  Write("ring.png", EncodePng(16, 16, Checker(16, 16)));
  EXPECT_FALSE(cache.Reload("ring.png", &message));
  EXPECT_NE(message.find("16 x 16"), std::string::npos) << message;
  EXPECT_EQ(Texels(held, 8, 8), green);

  // A name the cache does not hold is nothing to reload.
  EXPECT_FALSE(cache.Reload("other.png", &message));
  EXPECT_EQ(message, "");

  // A cube map is read again the same way.
  DdsFixture cube = SkyCube();
  Write("sky.dds", EncodeDds(cube));
  ASSERT_EQ(cache.GetCubeTexture("sky.dds"), 0);
  EXPECT_TRUE(cache.Reload("sky.dds", &message)) << message;
  cube.mipLevels = 2;
  Write("sky.dds", EncodeDds(cube));
  EXPECT_FALSE(cache.Reload("sky.dds", &message)) << "another mip chain";
  testing_support::ExpectNoGLErrors();
}
