// pulsar-pass-sheet: the Demo's image passes in one labelled PNG, headless, so they can be
// judged side by side: on the lab scene the bright pass, the bloom, the blurred-image combine,
// the camera depth pass, the occlusion before and after its blur and the ambient-occlusion
// combine; on the test card the radial blur, the keyed glitch at two moments and the sound
// glitch; the design lines; and a strip of slide transitions between the test card and the lab
// scene.
//
//   pulsar-pass-sheet [--size WxH] [--time MS] [--camera N] [--stage DIR] [--out FILE]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Canvas.h"
#include "app/Timer.h"
#include "demo/Demo.h"
#include "fx/DesignLines.h"
#include "fx/GlitchKeyable.h"
#include "fx/GlitchSound.h"
#include "fx/RadialBlur.h"
#include "fx/Slide.h"
#include "gfx/D3D11Device.h"
#include "gfx/ShaderManager.h"
#include "platform/crt_rand.h"
#include "platform/window.h"
#include "scene/SceneLoader.h"
#include "sound/Sound.h"

namespace {

struct Options {
  int width = 480;
  int height = 270;
  int64_t sceneTime = 4000;
  int32_t camera = 0;
  std::string stage = PULSAR_DEFAULT_STAGE;
  std::string out = "pass-sheet.png";
  std::string boldFont = PULSAR_BOLD_FONT;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (!value) return false;
    if (arg == "--size") {
      if (std::sscanf(value, "%dx%d", &o.width, &o.height) != 2) return false;
    } else if (arg == "--time") o.sceneTime = std::strtoll(value, nullptr, 10);
    else if (arg == "--camera") o.camera = static_cast<int32_t>(std::strtol(value, nullptr, 10));
    else if (arg == "--stage") o.stage = value;
    else if (arg == "--out") o.out = value;
    else return false;
    ++i;
  }
  return o.width >= 64 && o.height >= 36 && o.width <= 1920 && o.height <= 1080;
}

// The sheet: tiles of the screen size in rows of four, each with a caption strip.
class Sheet {
 public:
  static constexpr int kColumns = 4;
  static constexpr int kStrip = 22;

  Sheet(int tileWidth, int tileHeight, int rows)
      : m_width(tileWidth), m_height(tileHeight),
        m_canvas(kColumns * tileWidth, rows * (tileHeight + kStrip), {0.06f, 0.06f, 0.07f, 1.0f}) {}

  // Copies the back buffer (top row first, RGBA8) into the next tile.
  void Add(const std::vector<uint8_t>& pixels, const std::string& label) {
    const int column = m_count % kColumns, row = m_count / kColumns;
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x) {
        const uint8_t* p = &pixels[(static_cast<size_t>(y) * m_width + x) * 4];
        m_canvas.At(column * m_width + x, row * (m_height + kStrip) + y) = {p[0] / 255.0f, p[1] / 255.0f,
                                                                             p[2] / 255.0f, 1.0f};
      }
    m_labels.push_back(label);
    ++m_count;
  }

  bool Write(const std::string& path, const std::string& font) {
    TextPainter painter;
    if (painter.Load(font))
      for (size_t i = 0; i < m_labels.size(); ++i) {
        const int column = static_cast<int>(i) % kColumns, row = static_cast<int>(i) / kColumns;
        painter.Draw(m_canvas, m_labels[i], static_cast<float>(column * m_width + 6),
                     static_cast<float>(row * (m_height + kStrip) + m_height + 3), 15.0f, {0.9f, 0.9f, 0.92f, 1.0f});
      }
    return m_canvas.WritePng(path);
  }

 private:
  int m_width, m_height;
  Canvas m_canvas;
  std::vector<std::string> m_labels;
  int m_count = 0;
};

class PassSheet {
 public:
  explicit PassSheet(const Options& options) : m_options(options) {}
  ~PassSheet() {
    m_loader.reset();
    m_demo.Shutdown();
    if (m_window) platform::Window::Destroy(m_window);
  }

  bool Create() {
    if (!platform::InitializeVideo(platform::VideoMode::Headless)) return false;
    platform::WindowDesc desc;
    desc.title = "pass sheet";
    desc.width = m_options.width;
    desc.height = m_options.height;
    m_window = platform::Window::Create(desc);
    if (!m_window) return false;
    m_demo.m_width = m_options.width;
    m_demo.m_height = m_options.height;
    m_demo.m_hWnd = m_window;
    m_demo.m_pTimer = &m_timer;
    if (!m_demo.CreateDevice() || !m_demo.CreateRenderStates() || !m_demo.CreateTextureCache() ||
        !m_demo.CreateShaderPrograms())
      return false;
    m_demo.FillRenderContext();
    m_demo.m_renderContext.sound = &m_sound;
    if (!m_demo.CreateRenderTargets() || !m_demo.CreateScreenQuads() || !m_demo.CreateRadialBlur() ||
        !m_demo.CreateDesignLines() || !m_demo.CreateGlitches() || !m_demo.CreateSlide())
      return false;
    m_card = std::make_unique<Quad>(m_demo.m_renderContext);
    if (!m_card->Create(16, 0) || !m_card->texture) {
      std::fprintf(stderr, "pulsar-pass-sheet: no test card (testbild.jpg)\n");
      return false;
    }
    m_loader = std::make_unique<SceneLoader>(m_demo.m_renderContext);
    if (!m_loader->Load("lab.c4e")) {
      std::fprintf(stderr, "pulsar-pass-sheet: cannot load lab.c4e\n");
      return false;
    }
    m_scene = m_loader->scenes.back().get();
    m_scene->Restart();
    m_scene->currentCamera = m_options.camera;
    m_scene->Update(0, m_options.sceneTime);
    m_scene->shadowNear = 500.0f;
    m_scene->shadowFar = 2000.0f;
    const float aspect = static_cast<float>(m_options.width) / m_options.height;
    D3DXMatrixPerspectiveFovLH(&m_projection, 3.14159265f / 4.0f, aspect, 1.0f, 10000.0f);
    return true;
  }

  bool Draw(Sheet& sheet) {
    Demo& d = m_demo;
    // The lab scene lit with shadows, as the magnet and soft scenes draw theirs.
    Demo::PrepareTarget(d.m_pRTT_DepthMap);
    m_scene->Render(d.m_pRTT_DepthMap->shaderResourceView, true, true, m_projection);
    Demo::PrepareTarget(d.m_pRTT_1_1);
    m_scene->Render(d.m_pRTT_DepthMap->shaderResourceView, false, true, m_projection);
    Show(sheet, d.m_pRTT_1_1, "lab scene");
    d.Bloom();
    Show(sheet, d.m_pRTT_BrightPass, "bright pass (13)");
    Show(sheet, d.m_pRTT_1_2, "bloom");
    d.Blur(4, d.m_pRTT_1_2);
    Demo::PrepareTarget(d.m_pRTT_1_1);
    d.Mix(2, d.m_pRTT_1_2);
    Show(sheet, d.m_pRTT_1_1, "bloom + blur 4 + mix 2 (glow)");

    // Ambient occlusion as the logo scene composes it.
    Demo::PrepareTarget(d.m_pRTT_SSAO_normals_depth);
    m_scene->DepthRender(m_projection);
    Show(sheet, d.m_pRTT_SSAO_normals_depth, "camera depth pass (half size)");
    d.Occlusion();
    Show(sheet, d.m_pRTT_SSAO, "occlusion");
    d.Blur(8, d.m_pRTT_SSAO);
    Show(sheet, d.m_pRTT_Blur, "occlusion, blur 8");
    Demo::PrepareTarget(d.m_pRTT_1_1);
    m_scene->Render(d.m_pRTT_DepthMap->shaderResourceView, false, false, m_projection);
    Demo::PrepareTarget(d.m_pRTT_1_2);
    d.Mix(1, d.m_pRTT_1_1);
    Show(sheet, d.m_pRTT_1_2, "ambient occlusion (mix 1)");

    DrawRadialAndGlitch(sheet);
    DrawSlides(sheet);
    return true;
  }

 private:
  // The target's picture on the back buffer, into the next tile.
  void Show(Sheet& sheet, RenderTarget* target, const std::string& label) {
    BindBackBuffer();
    m_demo.CopyTarget(target, 0);
    sheet.Add(ReadBack(), label);
  }

  void BindBackBuffer() {
    m_demo.m_pD3D11->ResetViewport();
    m_demo.m_pD3D11->SetBackBufferRenderTarget();
    m_demo.m_pD3D11->BeginScene(0.0f, 0.0f, 0.0f, 1.0f);
  }

  std::vector<uint8_t> ReadBack() {
    std::vector<uint8_t> pixels(static_cast<size_t>(m_options.width) * m_options.height * 4);
    m_demo.m_pD3D11->GetSwapChain()->ReadBackBuffer(pixels.data());
    return pixels;
  }

  void DrawRadialAndGlitch(Sheet& sheet) {
    Demo& d = m_demo;
    // The radial blur of the test card in the quarter-size target, and laid over the card at
    // half strength as the zelle and blob scenes lay it over theirs.
    Demo::PrepareTarget(d.m_pRTT_1_1);
    m_card->Render(0);
    Demo::PrepareTarget(d.m_pRTT_16_1);
    d.m_pRadialBlur->sourceTexture = d.m_pRTT_1_1->shaderResourceView;
    d.m_pRadialBlur->Render();
    Show(sheet, d.m_pRTT_16_1, "radial blur (quarter size)");
    BindBackBuffer();
    d.CopyTarget(d.m_pRTT_1_1, 0);
    d.m_pQuad_1_Blend->hasTexture = true;
    d.m_pQuad_1_Blend->blend = true;
    d.m_pQuad_1_Blend->overlay = false;
    d.m_pQuad_1_Blend->alpha = 0.5f;
    d.m_pQuad_1_Blend->texture = d.m_pRTT_16_1->shaderResourceView;
    d.m_pQuad_1_Blend->Render(0);
    sheet.Add(ReadBack(), "radial overlay on the card");

    // The glitch effect (18) steered by each object's entries.
    platform::srand(1337);
    for (int64_t t : {70025, 116000}) {
      m_timer.elapsed = t;
      d.UpdateGlitch();
      BindBackBuffer();
      m_card->Render(18);
      sheet.Add(ReadBack(), "keyed glitch at " + std::to_string(t) + " ms");
    }
    // A beat of music: a decaying tone in the left channel.
    for (int i = 0; i < Sound::kSampleCount; i += 2)
      m_sound.samples[i] = 0.6f * std::exp(-i / 300.0f) * std::sin(i * 0.11f);
    m_timer.elapsed = 160000;
    d.UpdateGlitch();
    m_timer.elapsed += 67;
    d.UpdateGlitch();
    BindBackBuffer();
    m_card->Render(18);
    sheet.Add(ReadBack(), "sound glitch");

    // The design lines as the blob scene lays them under its picture, one frame after creation.
    BindBackBuffer();
    m_timer.delta = 16;
    d.m_pDesignLines->Render();
    m_timer.delta = 0;
    sheet.Add(ReadBack(), "design lines");
  }

  // Push left, then squeeze down, from the test card (A) to the lab scene (B).
  void DrawSlides(Sheet& sheet) {
    Demo& d = m_demo;
    Demo::PrepareTarget(d.m_pTexture_1);
    m_card->Render(0);
    Demo::PrepareTarget(d.m_pTexture_2);
    m_scene->Render(d.m_pRTT_DepthMap->shaderResourceView, false, true, m_projection);
    Slide& slide = *d.m_pSlide;
    slide.keys.clear();
    for (int32_t mode : {2, 1}) {
      SlideKey key;
      key.mode = mode;
      key.squeeze = mode == 1;
      key.interpolation = 0;
      key.start = mode == 2 ? 0 : 1000;
      key.end = key.start + 100;
      key.textureA = d.m_pTexture_1->shaderResourceView;
      key.textureB = d.m_pTexture_2->shaderResourceView;
      slide.AddKey(key);
    }
    for (int64_t t : {0, 25, 60, 100, 1010, 1040, 1075, 1100}) {
      m_timer.elapsed = t;
      BindBackBuffer();
      slide.Render();
      const std::string kind = t < 1000 ? "push left " : "squeeze down ";
      sheet.Add(ReadBack(), kind + std::to_string(static_cast<int>(slide.progress + 0.5f)));
    }
  }

  Options m_options;
  Timer m_timer;
  Sound m_sound;
  Demo m_demo;
  platform::Window* m_window = nullptr;
  std::unique_ptr<Quad> m_card;
  std::unique_ptr<SceneLoader> m_loader;
  Scene* m_scene = nullptr;
  D3DXMATRIX m_projection;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: pulsar-pass-sheet [--size WxH] [--time MS] [--camera N] [--stage DIR] [--out FILE]\n");
    return 2;
  }
  const std::filesystem::path out = std::filesystem::absolute(options.out);
  std::error_code error;
  std::filesystem::current_path(options.stage, error);
  if (error) {
    std::fprintf(stderr, "pulsar-pass-sheet: no stage folder %s\n", options.stage.c_str());
    return 1;
  }
  PassSheet passes(options);
  if (!passes.Create()) {
    std::fprintf(stderr, "pulsar-pass-sheet: could not create the device, programs or targets\n");
    return 1;
  }
  Sheet sheet(options.width, options.height, 6);
  passes.Draw(sheet);
  if (!sheet.Write(out.string(), options.boldFont)) {
    std::fprintf(stderr, "pulsar-pass-sheet: could not write %s\n", out.string().c_str());
    return 1;
  }
  std::printf("%s: lab scene at %lld ms, %dx%d tiles\n", out.string().c_str(), static_cast<long long>(options.sceneTime),
              options.width, options.height);
  return 0;
}
