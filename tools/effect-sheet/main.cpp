// pulsar-effect-sheet: renders every post-processing effect (0 to 21 and the scene looks 100
// to 109) on the test card into one labelled PNG, headless, at a chosen show time and audio
// level, so the looks can be judged side by side.
//
//   pulsar-effect-sheet [--time MS] [--audio LEVEL] [--glitch AMPLITUDE] [--tile WxH]
//                       [--stage DIR] [--out FILE]
//
// The glitch effect (18) always gets banded rows of the given amplitude (10 by default); the
// scene looks get them only when --glitch is given, so their grades show clean by default.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Canvas.h"
#include "app/Timer.h"
#include "fx/PostEffect.h"
#include "gfx/MakeRenderContext.h"
#include "gfx/D3D11Device.h"
#include "gfx/Quad.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "gfx/TextureCache.h"
#include "platform/crt_rand.h"
#include "platform/window.h"

namespace {

struct Options {
  int64_t time = 50000;
  float audio = 0.5f;
  float glitch = 10.0f;
  bool glitchLooks = false;  // the scene looks read the rows too when --glitch is given
  int tileWidth = 320;
  int tileHeight = 180;
  std::string stage = PULSAR_DEFAULT_STAGE;
  std::string out = "effect-sheet.png";
  std::string boldFont = PULSAR_BOLD_FONT;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (!value) return false;
    if (arg == "--time") o.time = std::strtoll(value, nullptr, 10);
    else if (arg == "--audio") o.audio = std::strtof(value, nullptr);
    else if (arg == "--glitch") {
      o.glitch = std::strtof(value, nullptr);
      o.glitchLooks = true;
    }
    else if (arg == "--tile") {
      if (std::sscanf(value, "%dx%d", &o.tileWidth, &o.tileHeight) != 2) return false;
    } else if (arg == "--stage") o.stage = value;
    else if (arg == "--out") o.out = value;
    else return false;
    ++i;
  }
  return o.tileWidth >= 16 && o.tileHeight >= 16 && o.tileWidth <= 1024 && o.tileHeight <= 1024;
}

// Rows in bands, as the keyed glitch makes them: every 24th row starts a band of 8 shifted
// rows. Amplitude 0 leaves every row untouched.
void FillGlitchRows(float* entries, float amplitude) {
  platform::srand(1337);
  for (int row = 0; row < 4096; ++row) {
    float* e = entries + row * 4;
    e[0] = e[1] = e[2] = 1.0f;
    e[3] = 0.0f;
  }
  if (amplitude <= 0.0f) return;
  for (int start = 0; start < 4096; start += 24) {
    const float u = amplitude * static_cast<float>(platform::rand()) / 32767.0f;
    for (int k = 0; k < 8 && start + k < 4096; ++k) {
      float* e = entries + (start + k) * 4;
      e[1] = 1.0f + 0.5f * u * k / 8.0f / std::max(amplitude, 1.0f);
      e[3] = u;
    }
  }
}

// The show's device on a headless window the size of the whole sheet.
struct SheetDevice {
  platform::Window* window = nullptr;
  D3D11Device d3d;

  bool Create(int width, int height) {
    if (!platform::InitializeVideo(platform::VideoMode::Headless)) return false;
    platform::WindowDesc desc;
    desc.title = "effect sheet";
    desc.width = width;
    desc.height = height;
    window = platform::Window::Create(desc);
    if (!window) return false;
    const RenderContext planes;
    return d3d.Initialize(width, height, false, window, false, planes.farPlane, planes.nearPlane);
  }

  ~SheetDevice() {
    if (d3d.GetDeviceContext()) d3d.GetDeviceContext()->ClearState();
    d3d.Shutdown();
    if (window) platform::Window::Destroy(window);
  }
};

std::string Label(int32_t effect) {
  static const char* const kSceneNames[] = {"flagge", "tunnel 1", "tunnel 2", "magnet", "zelle",
                                            "qualle", "fratze",   "blob",     "soft",   "logo"};
  const std::string_view name = PostEffectName(effect);
  std::string label = std::to_string(effect);
  if (!name.empty()) label += "  " + std::string(name);
  else if (effect >= kFirstSceneEffect && effect <= kLastSceneEffect)
    label += std::string("  look: ") + kSceneNames[effect - kFirstSceneEffect];
  else if (effect == 9) label += "  (poster)";
  else if (effect == 10) label += "  (thermal)";
  return label;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: pulsar-effect-sheet [--time MS] [--audio LEVEL] [--glitch AMPLITUDE] [--tile WxH] "
                 "[--stage DIR] [--out FILE]\n");
    return 2;
  }
  std::vector<int32_t> effects;
  for (int32_t e = 0; e <= static_cast<int32_t>(PostEffect::MAX); ++e) effects.push_back(e);
  for (int32_t e = kFirstSceneEffect; e <= kLastSceneEffect; ++e) effects.push_back(e);
  const int columns = 8, rows = static_cast<int>((effects.size() + columns - 1) / columns);
  const int tw = options.tileWidth, th = options.tileHeight;

  const std::filesystem::path out = std::filesystem::absolute(options.out);
  std::error_code error;
  std::filesystem::current_path(options.stage, error);
  if (error) {
    std::fprintf(stderr, "pulsar-effect-sheet: no stage folder %s\n", options.stage.c_str());
    return 1;
  }

  SheetDevice gpu;
  if (!gpu.Create(columns * tw, rows * th)) {
    std::fprintf(stderr, "pulsar-effect-sheet: could not create the device\n");
    return 1;
  }
  Timer timer;
  timer.elapsed = options.time;
  ID3D11Device* device = gpu.d3d.GetDevice();
  ID3D11DeviceContext* context = gpu.d3d.GetDeviceContext();
  RenderStateManager states;
  if (!states.Initialize(device, context)) return 1;
  TextureCache textures(device);
  // Only the post-processing program is needed here.
  ShaderManager shaders;
  shaders.postProcessShader = new PostProcessShader();
  PostProcessShader* post = shaders.postProcessShader;
  post->window = gpu.window;
  post->device = device;
  post->context = context;
  post->timer = &timer;
  if (!post->CreateSamplers() || !post->Initialize()) return 1;
  post->audioLevel = options.audio;

  // Every tile is a screen of its own: the quad covers the tile's viewport.
  RenderContextOwners owners;
  owners.hWnd = gpu.window;
  owners.timer = &timer;
  owners.renderStates = &states;
  owners.textures = &textures;
  owners.shaders = &shaders;
  RenderContext rc = MakeRenderContext(gpu.d3d, owners);
  SetRenderContextScreen(rc, tw, th);
  Quad card(rc);
  if (!card.Create(16, 0) || !card.texture) {
    std::fprintf(stderr, "pulsar-effect-sheet: no test card (testbild.jpg) in %s/engine_data\n", options.stage.c_str());
    return 1;
  }

  gpu.d3d.SetBackBufferRenderTarget();
  gpu.d3d.BeginScene(0.0f, 0.0f, 0.0f, 1.0f);
  for (size_t i = 0; i < effects.size(); ++i) {
    const D3D11_VIEWPORT viewport = {static_cast<float>((i % columns) * tw), static_cast<float>((i / columns) * th),
                                     static_cast<float>(tw), static_cast<float>(th), 0.0f, 1.0f};
    context->RSSetViewports(1, &viewport);
    // The array goes up with every draw, so each tile can have rows of its own.
    const bool glitched = effects[i] == static_cast<int32_t>(PostEffect::glitch) ||
                          (options.glitchLooks && effects[i] >= kFirstSceneEffect);
    FillGlitchRows(post->effectArray.get(), glitched ? options.glitch : 0.0f);
    card.Render(effects[i]);
  }
  std::vector<uint8_t> pixels(static_cast<size_t>(columns) * tw * rows * th * 4);
  if (!gpu.d3d.GetSwapChain()->ReadBackBuffer(pixels.data())) return 1;

  // Tiles with a caption strip under each.
  const int strip = 22;
  Canvas sheet(columns * tw, rows * (th + strip), {0.06f, 0.06f, 0.07f, 1.0f});
  for (int y = 0; y < rows * th; ++y)
    for (int x = 0; x < columns * tw; ++x) {
      const uint8_t* p = &pixels[(static_cast<size_t>(y) * columns * tw + x) * 4];
      sheet.At(x, (y / th) * (th + strip) + y % th) = {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, 1.0f};
    }
  TextPainter font;
  if (font.Load(options.boldFont))
    for (size_t i = 0; i < effects.size(); ++i)
      font.Draw(sheet, Label(effects[i]), static_cast<float>((i % columns) * tw + 6),
                static_cast<float>((i / columns) * (th + strip) + th + 3), 15.0f, {0.9f, 0.9f, 0.92f, 1.0f});
  if (!sheet.WritePng(out.string())) {
    std::fprintf(stderr, "pulsar-effect-sheet: could not write %s\n", out.string().c_str());
    return 1;
  }
  std::printf("%s: %zu effects at %lld ms, audio level %.2f\n", out.string().c_str(), effects.size(),
              static_cast<long long>(options.time), options.audio);
  shaders.Shutdown();
  states.Shutdown();
  return 0;
}
