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
#include "gfx/Quad.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "gfx/TextureCache.h"
#include "platform/crt_rand.h"
#include "platform/d3d11/d3d11.h"
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

struct Device {
  platform::Window* window = nullptr;
  IDXGISwapChain* swapChain = nullptr;
  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* context = nullptr;
  ID3D11RenderTargetView* backBuffer = nullptr;
  ID3D11Texture2D* depth = nullptr;
  ID3D11DepthStencilView* depthView = nullptr;

  bool Create(int width, int height) {
    if (!platform::InitializeVideo(platform::VideoMode::Headless)) return false;
    platform::WindowDesc desc;
    desc.title = "effect sheet";
    desc.width = width;
    desc.height = height;
    window = platform::Window::Create(desc);
    if (!window) return false;
    DXGI_SWAP_CHAIN_DESC chain = {};
    chain.BufferCount = 1;
    chain.BufferDesc.Width = static_cast<UINT>(width);
    chain.BufferDesc.Height = static_cast<UINT>(height);
    chain.BufferDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    chain.BufferDesc.RefreshRate = {0, 1};
    chain.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    chain.OutputWindow = window;
    chain.SampleDesc = {1, 0};
    chain.Windowed = TRUE;
    const D3D_FEATURE_LEVEL level = D3D_FEATURE_LEVEL_11_0;
    if (FAILED(D3D11CreateDeviceAndSwapChain(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, 0, &level, 1,
                                             D3D11_SDK_VERSION, &chain, &swapChain, &device, nullptr, &context)))
      return false;
    ID3D11Texture2D* buffer = nullptr;
    if (FAILED(swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(&buffer)))) return false;
    const HRESULT hr = device->CreateRenderTargetView(buffer, nullptr, &backBuffer);
    buffer->Release();
    if (FAILED(hr)) return false;
    D3D11_TEXTURE2D_DESC depthDesc = {};
    depthDesc.Width = static_cast<UINT>(width);
    depthDesc.Height = static_cast<UINT>(height);
    depthDesc.MipLevels = 1;
    depthDesc.ArraySize = 1;
    depthDesc.Format = DXGI_FORMAT_D24_UNORM_S8_UINT;
    depthDesc.SampleDesc = {1, 0};
    depthDesc.Usage = D3D11_USAGE_DEFAULT;
    depthDesc.BindFlags = D3D11_BIND_DEPTH_STENCIL;
    if (FAILED(device->CreateTexture2D(&depthDesc, nullptr, &depth))) return false;
    return SUCCEEDED(device->CreateDepthStencilView(depth, nullptr, &depthView));
  }

  ~Device() {
    if (context) context->ClearState();
    if (depthView) depthView->Release();
    if (depth) depth->Release();
    if (backBuffer) backBuffer->Release();
    if (context) context->Release();
    if (device) device->Release();
    if (swapChain) swapChain->Release();
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

  Device gpu;
  if (!gpu.Create(columns * tw, rows * th)) {
    std::fprintf(stderr, "pulsar-effect-sheet: could not create the device\n");
    return 1;
  }
  Timer timer;
  timer.elapsed = options.time;
  RenderStateManager states;
  if (!states.Initialize(gpu.device, gpu.context)) return 1;
  TextureCache textures(gpu.device);
  // Only the post-processing program is needed here.
  ShaderManager shaders;
  shaders.postProcessShader = new PostProcessShader();
  PostProcessShader* post = shaders.postProcessShader;
  post->window = gpu.window;
  post->device = gpu.device;
  post->context = gpu.context;
  post->timer = &timer;
  if (!post->CreateSamplers() || !post->Initialize()) return 1;
  post->audioLevel = options.audio;

  // Every tile is a screen of its own: the quad covers the tile's viewport.
  RenderContext rc;
  rc.hWnd = gpu.window;
  rc.timer = &timer;
  rc.device = gpu.device;
  rc.context = gpu.context;
  rc.depthStencilView = gpu.depthView;
  rc.renderStates = &states;
  rc.textures = &textures;
  rc.shaders = &shaders;
  rc.width = tw;
  rc.height = th;
  D3DXMatrixOrthoLH(&rc.orthoFull, static_cast<float>(tw), static_cast<float>(th), rc.nearPlane, rc.farPlane);
  D3DXMatrixOrthoLH(&rc.orthoHalf, tw * 0.5f, th * 0.5f, rc.nearPlane, rc.farPlane);
  D3DXMatrixOrthoLH(&rc.orthoQuarter, tw * 0.25f, th * 0.25f, rc.nearPlane, rc.farPlane);
  Quad card(rc);
  if (!card.Create(16, 0) || !card.texture) {
    std::fprintf(stderr, "pulsar-effect-sheet: no test card (testbild.jpg) in %s/engine_data\n", options.stage.c_str());
    return 1;
  }

  const FLOAT black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  gpu.context->OMSetRenderTargets(1, &gpu.backBuffer, gpu.depthView);
  gpu.context->ClearRenderTargetView(gpu.backBuffer, black);
  for (size_t i = 0; i < effects.size(); ++i) {
    const D3D11_VIEWPORT viewport = {static_cast<float>((i % columns) * tw), static_cast<float>((i / columns) * th),
                                     static_cast<float>(tw), static_cast<float>(th), 0.0f, 1.0f};
    gpu.context->RSSetViewports(1, &viewport);
    // The array goes up with every draw, so each tile can have rows of its own.
    const bool glitched = effects[i] == static_cast<int32_t>(PostEffect::glitch) ||
                          (options.glitchLooks && effects[i] >= kFirstSceneEffect);
    FillGlitchRows(post->effectArray.get(), glitched ? options.glitch : 0.0f);
    card.Render(effects[i]);
  }
  std::vector<uint8_t> pixels(static_cast<size_t>(columns) * tw * rows * th * 4);
  if (!gpu.swapChain->ReadBackBuffer(pixels.data())) return 1;

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
