// What one screen-quad draw costs on llvmpipe:
// - FullScreenQuad: one 1280 x 720 float target copied into another through the
//   post-processing program (the show's commonest pass), per effect, GPU work included, through
//   the general program (second argument 0) and the effect's own variant (1);
// - QuadDrawOverhead: the same draw into a 1 x 1 viewport, so what remains is the CPU side of
//   the layer per draw (state binding, both constant buffers with their 20 KB array, the draw).
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <filesystem>
#include <memory>

#include "app/Timer.h"
#include "gfx/MakeRenderContext.h"
#include "gfx/Quad.h"
#include "gfx/RenderStateManager.h"
#include "gfx/RenderTarget.h"
#include "gfx/ShaderManager.h"
#include "gfx/TextureCache.h"
#include "support/GpuTestDevice.h"
#include "support/TempDirectory.h"

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 720;

// The show's machinery for a 1280 x 720 screen with the post-processing program only.
struct QuadBench {
  TempDirectory directory{true};
  testing_support::GpuTestDevice gpu;
  Timer timer;
  RenderStateManager states;
  ShaderManager shaders;
  RenderContext rc;
  std::unique_ptr<RenderTarget> source, target;
  std::unique_ptr<Quad> quad;
  bool ready = false;

  QuadBench() {
    std::filesystem::create_directory("engine_data");
    for (const char* name : {"postprocess_VS.hlsl", "postprocess_PS.hlsl"})
      std::filesystem::copy_file(std::string(PULSAR_SHADER_DIR) + "/" + name, std::string("engine_data/") + name);
    if (!gpu.Create(64, 64) || !states.Initialize(gpu.device, gpu.context)) return;
    shaders.postProcessShader = new PostProcessShader();
    PostProcessShader& post = *shaders.postProcessShader;
    post.device = gpu.device;
    post.context = gpu.context;
    post.timer = &timer;
    if (!post.CreateSamplers() || !post.Initialize() || !post.WaitForVariants()) return;
    rc.timer = &timer;
    rc.device = gpu.device;
    rc.context = gpu.context;
    rc.depthStencilView = nullptr;  // quads draw with depth off; the targets need no depth
    rc.renderStates = &states;
    rc.shaders = &shaders;
    SetRenderContextScreen(rc, kScreenWidth, kScreenHeight);
    source = std::make_unique<RenderTarget>(rc);
    target = std::make_unique<RenderTarget>(rc);
    quad = std::make_unique<Quad>(rc);
    if (!source->Create(1.0f) || !target->Create(1.0f) || !quad->Create(6, 0)) return;
    source->SetAsTarget();
    source->Clear();
    quad->texture = source->shaderResourceView;
    target->SetAsTarget();
    ready = true;
  }
};

QuadBench& Bench() {
  static QuadBench bench;
  return bench;
}

void FullScreenQuad(benchmark::State& state) {
  QuadBench& bench = Bench();
  if (!bench.ready) {
    state.SkipWithError("no device or no post-processing program");
    return;
  }
  const int32_t effect = static_cast<int32_t>(state.range(0));
  bench.shaders.postProcessShader->useVariants = state.range(1) != 0;
  bench.target->SetAsTarget();
  bench.quad->Render(effect);
  glFinish();
  for (auto _ : state) {
    bench.quad->Render(effect);
    glFinish();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["pixels"] = kScreenWidth * kScreenHeight;
}
BENCHMARK(FullScreenQuad)
    ->ArgsProduct({{0, 13, 15, 103}, {0, 1}})
    ->ArgNames({"effect", "variant"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void QuadDrawOverhead(benchmark::State& state) {
  QuadBench& bench = Bench();
  if (!bench.ready) {
    state.SkipWithError("no device or no post-processing program");
    return;
  }
  bench.shaders.postProcessShader->useVariants = true;
  bench.target->SetAsTarget();
  const D3D11_VIEWPORT onePixel = {0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f};
  constexpr int kDrawsPerBatch = 100;
  for (auto _ : state) {
    bench.gpu.context->RSSetViewports(1, &onePixel);
    for (int i = 0; i < kDrawsPerBatch; ++i) bench.quad->Render(0);
    glFinish();
  }
  state.SetItemsProcessed(state.iterations() * kDrawsPerBatch);
}
BENCHMARK(QuadDrawOverhead)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
