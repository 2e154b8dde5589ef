// Every effect the show draws with runs as a program of its own, the effect fixed when it is
// compiled; these draws hold each one to the general program, pixel for pixel, on a test card.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "PostProcessFixture.h"
#include "gfx/Quad.h"

namespace {

using fx_test::PostProcessFixture;

// Grid, colour bars, grey steps, a fine grating and a bright disc: hues, levels, edges and
// highlights, so every stage of a look has something to change.
std::vector<uint8_t> TestCard(int width, int height) {
  std::vector<uint8_t> texels(static_cast<size_t>(width) * height * 4);
  const uint8_t bars[8][3] = {{191, 191, 191}, {191, 191, 0}, {0, 191, 191}, {0, 191, 0},
                              {191, 0, 191},   {191, 0, 0},   {0, 0, 191},   {16, 16, 16}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* t = &texels[(static_cast<size_t>(y) * width + x) * 4];
      uint8_t r = 82, g = 84, b = 92;
      if (x % 20 < 2 || y % 20 < 2) r = g = b = 235;
      if (y >= height / 4 && y < height / 2) {
        const uint8_t* bar = bars[x * 8 / width];
        r = bar[0], g = bar[1], b = bar[2];
      } else if (y >= height / 2 && y < height * 5 / 8) {
        r = g = b = static_cast<uint8_t>((x * 11 / width) * 255 / 10);  // eleven grey steps
      } else if (y >= height * 5 / 8 && y < height * 3 / 4) {
        r = g = b = (x / 2) % 2 == 0 ? 250 : 10;  // two-pixel grating
      }
      const float dx = x - width * 0.75f, dy = y - height * 0.8f;
      if (dx * dx + dy * dy < 100.0f) r = 255, g = 250, b = 220;
      t[0] = r, t[1] = g, t[2] = b, t[3] = static_cast<uint8_t>(x < width / 8 ? 128 : 255);
    }
  }
  return texels;
}

class PostProcessVariantTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(fixture.Create(&error)) << error;
    post = fixture.shaders.postProcessShader;
    ASSERT_TRUE(post->WaitForVariants());
    const int w = PostProcessFixture::kWidth, h = PostProcessFixture::kHeight;
    const std::vector<uint8_t> texels = TestCard(w, h);
    D3D11_TEXTURE2D_DESC desc = {};
    desc.Width = w;
    desc.Height = h;
    desc.MipLevels = desc.ArraySize = 1;
    desc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    desc.SampleDesc.Count = 1;
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
    D3D11_SUBRESOURCE_DATA data = {texels.data(), static_cast<UINT>(w * 4), 0};
    ASSERT_TRUE(SUCCEEDED(fixture.gpu.device->CreateTexture2D(&desc, &data, &card)));
    ASSERT_TRUE(SUCCEEDED(fixture.gpu.device->CreateShaderResourceView(card, nullptr, &cardView)));
    // A moment inside the show with the music loud: time- and pulse-driven stages all move.
    fixture.timer.elapsed = 50123;
    post->audioLevel = 0.65f;
    // The glitch rows the looks multiply by, as the show's calm rows are: full colour, every
    // other row pushed a little aside. An all-zero array would turn every look black.
    for (size_t row = 0; row < PostProcessShader::kArrayEntries; ++row) {
      float* entry = &post->effectArray[row * 4];
      entry[0] = entry[1] = entry[2] = 1.0f;
      entry[3] = row % 2 == 0 ? 0.0f : 3.0f;
    }
  }
  void TearDown() override {
    if (cardView != nullptr) cardView->Release();
    if (card != nullptr) card->Release();
  }

  // Draws the card with effect through the quad, with or without the specialised programs.
  std::vector<uint8_t> Draw(Quad& quad, int32_t effect, bool variants) {
    post->useVariants = variants;
    fixture.ClearBackBuffer();
    fixture.gpu.Clear(0.2f, 0.4f, 0.6f, 1.0f);
    quad.Render(effect);
    return fixture.gpu.ReadPixels();
  }

  // Largest channel difference, with where it was, for the failure message.
  static int LargestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t* at) {
    int largest = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
      const int d = std::abs(int(a[i]) - int(b[i]));
      if (d > largest) largest = d, *at = i / 4;
    }
    return largest;
  }

  void ExpectSamePixels(Quad& quad, const char* what) {
    for (int32_t effect : kSpecialisedEffects) {
      ASSERT_NE(post->PixelShaderFor(effect), post->pixelShader) << "effect " << effect << " has no variant";
      const std::vector<uint8_t> general = Draw(quad, effect, false);
      const std::vector<uint8_t> variant = Draw(quad, effect, true);
      ASSERT_EQ(general.size(), variant.size());
      size_t at = 0;
      EXPECT_LE(LargestDifference(general, variant, &at), 1)
          << what << ", effect " << effect << ", pixel (" << at % PostProcessFixture::kWidth << ", "
          << at / PostProcessFixture::kWidth << ")";
    }
  }

  PostProcessFixture fixture;
  PostProcessShader* post = nullptr;
  ID3D11Texture2D* card = nullptr;
  ID3D11ShaderResourceView* cardView = nullptr;
};

TEST_F(PostProcessVariantTest, EveryShowEffectMatchesTheGeneralProgramOnTheCard) {
  // The opaque copy of every scene's final picture and of every pass.
  Quad solid(fixture.context);
  ASSERT_TRUE(solid.Create(6, 0));
  solid.texture = cardView;
  solid.hasTexture = true;
  ExpectSamePixels(solid, "opaque copy");

  // Blended layers and overlays (cross-fades, captions, vignette) carry their alpha through.
  Quad blended(fixture.context);
  ASSERT_TRUE(blended.Create(7, 0));
  blended.texture = cardView;
  blended.hasTexture = true;
  blended.alpha = 0.35f;
  ExpectSamePixels(blended, "blended copy");
  blended.overlay = true;
  ExpectSamePixels(blended, "overlay");

  // Faders draw their vertex colour without a texture.
  Quad fader(fixture.context);
  ASSERT_TRUE(fader.Create(8, 0));
  fader.hasTexture = false;
  fader.alpha = 0.6f;
  ExpectSamePixels(fader, "fader");
}

TEST_F(PostProcessVariantTest, OtherNumbersAndTheGlitchArrayStayWithTheGeneralProgram) {
  // Numbers the show does not draw with keep the general program and its per-draw choice.
  for (int32_t effect : {1, 8, 17, 18, 19, 99}) EXPECT_EQ(post->PixelShaderFor(effect), post->pixelShader) << effect;
  post->useVariants = false;
  for (int32_t effect : kSpecialisedEffects) EXPECT_EQ(post->PixelShaderFor(effect), post->pixelShader) << effect;
  post->useVariants = true;

  // The glitch reads the array the variants skip: a row table changed between two draws must
  // reach the second draw even though the first left the buffer with other contents.
  Quad solid(fixture.context);
  ASSERT_TRUE(solid.Create(6, 0));
  solid.texture = cardView;
  solid.hasTexture = true;
  const size_t floats = PostProcessShader::kArrayEntries * 4;
  for (size_t i = 0; i < floats; i += 4) {
    post->effectArray[i] = post->effectArray[i + 1] = post->effectArray[i + 2] = 1.0f;
    post->effectArray[i + 3] = 0.0f;
  }
  const std::vector<uint8_t> calm = Draw(solid, 18, true);
  for (size_t i = 0; i < floats; i += 4) post->effectArray[i + 1] = 0.0f;  // green gone on every row
  const std::vector<uint8_t> stripped = Draw(solid, 18, true);
  const size_t middle = (30 * PostProcessFixture::kWidth + 60) * 4;  // the green bar
  EXPECT_GT(calm[middle + 1], 100);
  EXPECT_LT(stripped[middle + 1], 5);
}

// The scene looks bend highlights towards white: a brighter scene pixel, HDR ones included,
// never comes out darker than a dimmer one at the same place.
TEST_F(PostProcessVariantTest, SceneLooksKeepBrighterPixelsBrighter) {
  const float levels[] = {0.5f, 0.8f, 1.0f, 1.5f, 2.5f, 5.0f, 12.0f};
  Quad solid(fixture.context);
  ASSERT_TRUE(solid.Create(6, 0));
  solid.hasTexture = true;
  const size_t centre = (static_cast<size_t>(PostProcessFixture::kHeight / 2) * PostProcessFixture::kWidth +
                         PostProcessFixture::kWidth / 2) * 4;
  for (int32_t effect = 100; effect <= 109; ++effect) {
    int previous = -1;
    for (float level : levels) {
      const int w = PostProcessFixture::kWidth, h = PostProcessFixture::kHeight;
      std::vector<float> texels(static_cast<size_t>(w) * h * 4, level);
      D3D11_TEXTURE2D_DESC desc = {};
      desc.Width = w;
      desc.Height = h;
      desc.MipLevels = desc.ArraySize = 1;
      desc.Format = DXGI_FORMAT_R32G32B32A32_FLOAT;
      desc.SampleDesc.Count = 1;
      desc.Usage = D3D11_USAGE_DEFAULT;
      desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
      D3D11_SUBRESOURCE_DATA data = {texels.data(), static_cast<UINT>(w * 4 * sizeof(float)), 0};
      ID3D11Texture2D* texture = nullptr;
      ID3D11ShaderResourceView* view = nullptr;
      ASSERT_TRUE(SUCCEEDED(fixture.gpu.device->CreateTexture2D(&desc, &data, &texture)));
      ASSERT_TRUE(SUCCEEDED(fixture.gpu.device->CreateShaderResourceView(texture, nullptr, &view)));
      solid.texture = view;
      const std::vector<uint8_t> pixels = Draw(solid, effect, false);
      view->Release();
      texture->Release();
      const int luma = (299 * pixels[centre] + 587 * pixels[centre + 1] + 114 * pixels[centre + 2]) / 1000;
      EXPECT_GE(luma, previous) << "look " << effect << " at level " << level;
      previous = luma;
    }
  }
}

}  // namespace
