// Screen quads drawn through the post-processing program on llvmpipe: exact copies, size
// classes, keyed dynamic captions, the effect-array upload, and the fade, overlay and caption
// blending the show's composition relies on.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <filesystem>

#include "app/Timer.h"
#include "gfx/MakeRenderContext.h"
#include "gfx/EffectQuad.h"
#include "gfx/Quad.h"
#include "gfx/RenderStateManager.h"
#include "gfx/RenderTarget.h"
#include "gfx/ShaderManager.h"
#include "gfx/TextureCache.h"
#include "support/GpuTestDevice.h"
#include "support/ImageFixtures.h"
#include "support/TempDirectory.h"
#include "support/TestRenderContext.h"

namespace {

using testing_support::Rgba;

// Four quadrants of distinct colours, with a fine pattern inside so a shifted copy shows.
std::vector<uint8_t> QuadrantImage(int w, int h, uint8_t alpha = 255) {
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      const bool right = x >= w / 2, bottom = y >= h / 2;
      p[0] = static_cast<uint8_t>((right ? 200 : 30) + (x % 3) * 10);
      p[1] = static_cast<uint8_t>((bottom ? 180 : 40) + (y % 3) * 10);
      p[2] = static_cast<uint8_t>(right != bottom ? 220 : 20);
      p[3] = alpha;
    }
  return rgba;
}

class QuadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory("engine_data");
    ASSERT_TRUE(testing_support::CopyShaderSources("engine_data"));
  }

  // A device of the given size and a render context for a screen of screenWidth x screenHeight.
  void Start(int width, int height, int screenWidth = 0, int screenHeight = 0) {
    ASSERT_TRUE(gpu.Create(width, height));
    ASSERT_TRUE(states.Initialize(gpu.device, gpu.context));
    textures = std::make_unique<TextureCache>(gpu.device);
    shaders.postProcessShader = new PostProcessShader();
    PostProcessShader& post = *shaders.postProcessShader;
    post.device = gpu.device;
    post.context = gpu.context;
    post.timer = &timer;
    ASSERT_TRUE(post.CreateSamplers() && post.Initialize());
    rc = testing_support::TestRenderContext(gpu, &states, textures.get(), &shaders);
    rc.timer = &timer;
    SetRenderContextScreen(rc, screenWidth ? screenWidth : width, screenHeight ? screenHeight : height);
  }

  ID3D11ShaderResourceView* Texture(const std::string& name, const std::vector<uint8_t>& png) {
    WriteBytes("engine_data/" + name, png);
    return textures->TextureAt(textures->GetTexture(name));
  }

  void Viewport(float width, float height) {
    const D3D11_VIEWPORT viewport = {0.0f, 0.0f, width, height, 0.0f, 1.0f};
    gpu.context->RSSetViewports(1, &viewport);
  }

  TempDirectory directory{true};
  testing_support::GpuTestDevice gpu;
  Timer timer;
  RenderStateManager states;
  std::unique_ptr<TextureCache> textures;
  ShaderManager shaders;
  RenderContext rc;
};

void ExpectNear(Rgba actual, Rgba expected, int tolerance, const char* where) {
  EXPECT_NEAR(actual.r, expected.r, tolerance) << where;
  EXPECT_NEAR(actual.g, expected.g, tolerance) << where;
  EXPECT_NEAR(actual.b, expected.b, tolerance) << where;
}

}  // namespace

TEST_F(QuadTest, EffectZeroOnAnOpaqueQuadReproducesItsTexture) {
  Start(48, 32);
  const auto image = QuadrantImage(48, 32);
  Quad quad(rc);
  ASSERT_TRUE(quad.Create(6, 0));
  quad.texture = Texture("card.png", EncodePng(48, 32, image));
  ASSERT_NE(quad.texture, nullptr);
  gpu.Clear(0.0f, 0.0f, 0.0f, 1.0f);
  quad.Render(0);
  const std::vector<uint8_t> pixels = gpu.ReadPixels();
  int worst = 0;
  for (size_t i = 0; i < pixels.size(); ++i)
    if (i % 4 != 3) worst = std::max(worst, std::abs(static_cast<int>(pixels[i]) - image[i]));
  EXPECT_LE(worst, 1) << "largest channel difference of the copy";

  // The same through a float render target and back, as the scenes copy between targets.
  RenderTarget target(rc);
  ASSERT_TRUE(target.Create(1.0f));
  target.SetAsTarget();
  target.Clear();
  quad.Render(0);
  gpu.BindBackBuffer();
  gpu.Clear(1.0f, 1.0f, 1.0f, 1.0f);
  quad.texture = target.shaderResourceView;
  quad.Render(0);
  const std::vector<uint8_t> copied = gpu.ReadPixels();
  worst = 0;
  for (size_t i = 0; i < copied.size(); ++i)
    if (i % 4 != 3) worst = std::max(worst, std::abs(static_cast<int>(copied[i]) - image[i]));
  EXPECT_LE(worst, 1) << "largest channel difference after a float target";
  testing_support::ExpectNoGLErrors();
}

TEST_F(QuadTest, SizeClassesMapTheWholeRectangleOntoTheirTarget) {
  Start(64, 48);
  ID3D11ShaderResourceView* view = Texture("quadrants.png", EncodePng(16, 16, QuadrantImage(16, 16)));
  for (int32_t sizeClass : {0, 1, 2}) {
    const float s = SizeClassScale(sizeClass);
    const int w = static_cast<int>(64 * s), h = static_cast<int>(48 * s);
    Quad quad(rc);
    ASSERT_TRUE(quad.Create(6, sizeClass));
    quad.texture = view;
    gpu.BindBackBuffer();
    gpu.Clear(0.0f, 0.0f, 0.0f, 1.0f);
    Viewport(static_cast<float>(w), static_cast<float>(h));
    quad.Render(0);
    // Each quadrant's colour sits in the matching corner of the target, nothing outside it.
    const std::vector<uint8_t> pixels = gpu.ReadPixels();
    auto at = [&](int x, int y) {
      const uint8_t* p = &pixels[(static_cast<size_t>(y) * 64 + x) * 4];
      return Rgba{p[0], p[1], p[2], p[3]};
    };
    EXPECT_LT(at(0, 0).r, 100) << sizeClass;
    EXPECT_LT(at(0, 0).g, 100) << sizeClass;
    EXPECT_GT(at(w - 1, 0).r, 150) << sizeClass;
    EXPECT_GT(at(w - 1, 0).b, 150) << sizeClass;
    EXPECT_GT(at(0, h - 1).g, 150) << sizeClass;
    EXPECT_GT(at(0, h - 1).b, 150) << sizeClass;
    EXPECT_GT(at(w - 1, h - 1).r, 150) << sizeClass;
    EXPECT_GT(at(w - 1, h - 1).g, 150) << sizeClass;
    if (sizeClass > 0) {
      EXPECT_EQ(at(w, h - 1).r, 0) << sizeClass;
      EXPECT_EQ(at(w - 1, h).g, 0) << sizeClass;
    }
  }
  testing_support::ExpectNoGLErrors();
}

TEST_F(QuadTest, DynamicCaptionFollowsItsFirstApplicableKeyframe) {
  Start(40, 40);
  WriteBytes("engine_data/text_tunnel.png", EncodePng(8, 8, std::vector<uint8_t>(8 * 8 * 4, 255)));
  Quad caption(rc);
  ASSERT_TRUE(caption.Create(20, 0));
  ASSERT_NE(caption.texture, nullptr);
  QuadKeyframe toBottomLeft;
  toBottomLeft.mode = 1;
  toBottomLeft.start = 1000;
  toBottomLeft.end = 2000;
  toBottomLeft.alphaFrom = toBottomLeft.alphaTo = 1.0f;
  const D3DXVECTOR2 corners[4] = {{0, 50}, {50, 50}, {0, 100}, {50, 100}};
  const D3DXVECTOR2 uv[4] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  for (int i = 0; i < 4; ++i) {
    toBottomLeft.cornersFrom[i] = toBottomLeft.cornersTo[i] = corners[i];
    toBottomLeft.texCoordsFrom[i] = toBottomLeft.texCoordsTo[i] = uv[i];
  }
  QuadKeyframe later = toBottomLeft;  // overlaps from 1500 on, but was added second
  later.start = 1500;
  later.end = 3000;
  for (int i = 0; i < 4; ++i) later.cornersFrom[i] = later.cornersTo[i] = D3DXVECTOR2(corners[i].x + 50, corners[i].y - 50);
  caption.AddKeyframe(toBottomLeft);
  caption.AddKeyframe(later);

  auto keyedDraw = [&](int64_t t) {
    timer.elapsed = t;
    gpu.Clear(0.0f, 0.0f, 0.0f, 1.0f);
    if (!caption.Animate()) return false;
    caption.RebuildVertices();
    caption.UploadVertices();
    caption.Render(0);
    return true;
  };
  EXPECT_FALSE(keyedDraw(999));
  EXPECT_FALSE(keyedDraw(3001));
  ASSERT_TRUE(keyedDraw(1800));
  EXPECT_EQ(caption.currentCorners[3], D3DXVECTOR2(50.0f, 100.0f));
  EXPECT_GT(gpu.PixelAt(5, 35).r, 240);  // bottom-left quarter: the caption
  EXPECT_LT(gpu.PixelAt(35, 5).r, 10);   // top-right stays empty
  EXPECT_LT(gpu.PixelAt(35, 35).r, 10);
  ASSERT_TRUE(keyedDraw(2500));          // only the second key applies now
  EXPECT_GT(gpu.PixelAt(35, 5).r, 240);
  EXPECT_LT(gpu.PixelAt(5, 35).r, 10);
  testing_support::ExpectNoGLErrors();
}

TEST_F(QuadTest, EveryDrawUploadsOneEntryPerScreenColumn) {
  Start(64, 36, 1280, 720);
  PostProcessShader& post = *shaders.postProcessShader;
  for (UINT i = 0; i < PostProcessShader::kArrayEntries * 4; ++i) post.effectArray[i] = 7.0f;
  Quad quad(rc);
  ASSERT_TRUE(quad.Create(6, 0));
  quad.Render(0);
  std::vector<float> uploaded(PostProcessShader::kArrayEntries * 4, 0.0f);
  glGetNamedBufferSubData(post.arrayBuffer->glName(), 0, PostProcessShader::kArrayBytes, uploaded.data());
  size_t written = 0;
  while (written < uploaded.size() && uploaded[written] == 7.0f) ++written;
  EXPECT_EQ(written, 1280u * 4u);  // 20,480 bytes
  for (size_t i = written; i < uploaded.size(); ++i) ASSERT_NE(uploaded[i], 7.0f) << "entry " << i / 4;
  testing_support::ExpectNoGLErrors();
}

TEST_F(QuadTest, FadesOverlaysAndCaptionsBlendAsTheShowComposesThem) {
  Start(32, 32);
  // Black fader: no texture, its black preset colour at the keyed alpha.
  Quad fader(rc);
  ASSERT_TRUE(fader.Create(8, 0));
  fader.hasTexture = false;
  fader.alpha = 0.5f;
  gpu.Clear(1.0f, 1.0f, 1.0f, 1.0f);
  fader.Render(0);
  ExpectNear(gpu.PixelAt(16, 16), {128, 128, 128, 255}, 2, "half faded");
  fader.alpha = 1.0f;
  fader.Render(0);
  ExpectNear(gpu.PixelAt(16, 16), {0, 0, 0, 255}, 1, "faded out");

  // Vignette: black where its texture is opaque, the picture untouched where it is clear.
  std::vector<uint8_t> ring(16 * 16 * 4, 0);
  for (int i = 0; i < 16 * 16; ++i) ring[i * 4 + 3] = (i % 16 < 4) ? 255 : 0;  // opaque left quarter
  WriteBytes("engine_data/vignette.png", EncodePng(16, 16, ring));
  Quad vignette(rc);
  ASSERT_TRUE(vignette.Create(18, 0));
  gpu.Clear(0.2f, 0.6f, 1.0f, 1.0f);
  vignette.Render(0);
  ExpectNear(gpu.PixelAt(2, 16), {0, 0, 0, 255}, 2, "vignette edge");
  ExpectNear(gpu.PixelAt(24, 16), {51, 153, 255, 255}, 2, "vignette centre");

  // Caption at half alpha: white text laid half over black; clear texels leave it black.
  std::vector<uint8_t> text(8 * 8 * 4, 255);
  for (int i = 0; i < 8 * 8; ++i) text[i * 4 + 3] = (i / 8 < 4) ? 255 : 0;  // opaque top half
  WriteBytes("engine_data/text_credits.png", EncodePng(8, 8, text));
  Quad credits(rc);
  ASSERT_TRUE(credits.Create(28, 0));
  credits.alpha = 0.5f;
  gpu.Clear(0.0f, 0.0f, 0.0f, 1.0f);
  credits.Render(0);
  ExpectNear(gpu.PixelAt(16, 4), {128, 128, 128, 255}, 3, "caption text");
  ExpectNear(gpu.PixelAt(16, 28), {0, 0, 0, 255}, 1, "caption background");
  testing_support::ExpectNoGLErrors();
}

TEST_F(QuadTest, BrightPassKeepsValuesAboveOneForTheBloomChain) {
  Start(16, 16);
  RenderTarget source(rc), bright(rc);
  ASSERT_TRUE(source.Create(1.0f));
  ASSERT_TRUE(bright.Create(1.0f));
  const FLOAT hot[4] = {3.0f, 2.5f, 4.0f, 1.0f};
  gpu.context->ClearRenderTargetView(source.renderTargetView, hot);
  Quad copy(rc);
  ASSERT_TRUE(copy.Create(6, 0));
  copy.texture = source.shaderResourceView;
  auto readCentre = [&](int32_t effect) {
    bright.SetAsTarget();
    bright.Clear();
    copy.Render(effect);
    std::vector<float> texels(16 * 16 * 4);
    glGetTextureImage(bright.texture->glName(), 0, GL_RGBA, GL_FLOAT, static_cast<GLsizei>(texels.size() * 4),
                      texels.data());
    const size_t at = (8 * 16 + 8) * 4;
    return std::vector<float>(texels.begin() + at, texels.begin() + at + 4);
  };
  EXPECT_EQ(readCentre(0), (std::vector<float>{3.0f, 2.5f, 4.0f, 1.0f}));  // an exact float copy
  const std::vector<float> kept = readCentre(13);
  EXPECT_FLOAT_EQ(kept[0], 3.0f);
  EXPECT_FLOAT_EQ(kept[2], 4.0f);
  const FLOAT dim[4] = {0.2f, 0.3f, 0.25f, 1.0f};
  gpu.context->ClearRenderTargetView(source.renderTargetView, dim);
  const std::vector<float> dropped = readCentre(13);
  EXPECT_EQ(dropped[0], 0.0f);
  EXPECT_EQ(dropped[1], 0.0f);
  testing_support::ExpectNoGLErrors();
}

TEST_F(QuadTest, EffectQuadDrawsThroughItsProgramOverItsSizeClass) {
  Start(64, 48);
  BlurShader blur;
  blur.device = gpu.device;
  blur.context = gpu.context;
  ASSERT_TRUE(blur.CreateSamplers() && blur.Initialize());
  blur.direction = -1;  // neither axis: a plain copy of the source
  blur.sourceTexture = Texture("quadrants.png", EncodePng(16, 16, QuadrantImage(16, 16)));
  EffectQuad<BlurShader> quad(rc);
  ASSERT_TRUE(quad.Create(2, &blur, 2));
  gpu.Clear(0.0f, 0.0f, 0.0f, 1.0f);
  Viewport(16.0f, 12.0f);
  gpu.context->OMSetBlendState(states.blendAlpha, nullptr, 0xFFFFFFFFu);
  quad.Render();
  EXPECT_LT(gpu.PixelAt(0, 0).r, 100);
  EXPECT_GT(gpu.PixelAt(15, 0).r, 150);
  EXPECT_GT(gpu.PixelAt(0, 11).g, 150);
  EXPECT_GT(gpu.PixelAt(15, 11).g, 150);
  EXPECT_EQ(gpu.PixelAt(16, 11).g, 0);  // nothing beyond the quarter target
  EXPECT_EQ(gpu.PixelAt(15, 12).r, 0);
  blur.Shutdown();
  testing_support::ExpectNoGLErrors();
}

// An empty texture slot reads as transparent black, so a caption whose image is missing
// leaves the picture alone instead of covering it with an opaque box.
TEST_F(QuadTest, CaptionWithoutItsImageLeavesThePictureAlone) {
  Start(16, 16);
  Quad caption(rc);
  ASSERT_TRUE(caption.Create(28, 0));  // no text_credits.png in the data directory
  EXPECT_EQ(caption.texture, nullptr);
  EXPECT_TRUE(caption.hasTexture);
  caption.alpha = 1.0f;
  gpu.Clear(0.2f, 0.4f, 0.6f, 1.0f);
  caption.Render(0);
  const auto pixel = gpu.PixelAt(8, 8);
  EXPECT_NEAR(pixel.r, 51, 1);
  EXPECT_NEAR(pixel.g, 102, 1);
  EXPECT_NEAR(pixel.b, 153, 1);
  caption.Shutdown();
  testing_support::ExpectNoGLErrors();
}
