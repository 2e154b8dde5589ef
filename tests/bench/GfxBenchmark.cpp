// What the GPU layer costs on the CPU: compiling all seven programs from HLSL (the slow part of
// start-up), and one constant-buffer update plus one quad draw through the layer.
#include <benchmark/benchmark.h>

#include <epoxy/gl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ShaderTestData.h"
#include "gfx/ShaderManager.h"
#include "platform/d3dx/d3dx11async.h"
#include "support/GpuTestDevice.h"

namespace {

testing_support::GpuTestDevice& Device() {
  static testing_support::GpuTestDevice* gpu = [] {
    setenv("PULSAR_SOURCE_DIR", PULSAR_SOURCE_DIR, 0);
    auto* device = new testing_support::GpuTestDevice();
    if (!device->Create(64, 64)) std::abort();
    return device;
  }();
  return *gpu;
}

void BM_CompileAndCreateSevenPrograms(benchmark::State& state) {
  testing_support::GpuTestDevice& gpu = Device();
  ShaderDataDirectory data;
  for (auto _ : state) {
    ShaderManager manager;
    if (!manager.InitShaders(gpu.window, gpu.device, gpu.context, nullptr)) state.SkipWithError("InitShaders failed");
    manager.Shutdown();
  }
}
BENCHMARK(BM_CompileAndCreateSevenPrograms)->Unit(benchmark::kMillisecond)->Iterations(5);

// HLSL → SPIR-V → GLSL only, the share of start-up that D3DX11CompileFromFileW takes.
void BM_CrossCompileFifteenStages(benchmark::State& state) {
  Device();
  ShaderDataDirectory data;
  struct Stage {
    const char* file;
    const char* entry;
    const char* profile;
  };
  const std::vector<Stage> stages = {
      {"billboard_VS.hlsl", "Billboard_VS", "vs_5_0"}, {"billboard_GS.hlsl", "Billboard_GS", "gs_5_0"},
      {"billboard_PS.hlsl", "Billboard_PS", "ps_5_0"}, {"c4e_VS.hlsl", "c4e_VS", "vs_5_0"},
      {"c4e_PS.hlsl", "c4e_PS", "ps_5_0"},             {"depth_VS.hlsl", "Depth_VS", "vs_5_0"},
      {"depth_PS.hlsl", "Depth_PS", "ps_5_0"},         {"postprocess_VS.hlsl", "PostProcess_VS", "vs_5_0"},
      {"postprocess_PS.hlsl", "PostProcess_PS", "ps_5_0"}, {"ssao_VS.hlsl", "SSAO_VS", "vs_5_0"},
      {"ssao_PS.hlsl", "SSAO_PS", "ps_5_0"},           {"texmix_VS.hlsl", "TexMix_VS", "vs_5_0"},
      {"texmix_PS.hlsl", "TexMix_PS", "ps_5_0"},       {"blur_VS.hlsl", "Blur_VS", "vs_5_0"},
      {"blur_PS.hlsl", "Blur_PS", "ps_5_0"}};
  for (auto _ : state) {
    for (const Stage& stage : stages) {
      ID3D10Blob* blob = nullptr;
      const std::string path = data.DataFile(stage.file).string();
      if (FAILED(D3DX11CompileFromFileW(path.c_str(), nullptr, nullptr, stage.entry, stage.profile, 0, 0, nullptr,
                                        &blob, nullptr, nullptr))) {
        state.SkipWithError(stage.file);
        return;
      }
      blob->Release();
    }
  }
}
BENCHMARK(BM_CrossCompileFifteenStages)->Unit(benchmark::kMillisecond)->Iterations(5);

class QuadDrawFixture {
 public:
  QuadDrawFixture() {
    testing_support::GpuTestDevice& gpu = Device();
    ok = manager.InitShaders(gpu.window, gpu.device, gpu.context, nullptr) && quad.Create(gpu.device, 64, 64) &&
         quad.Set(gpu.context, 0, 0, 4, 4);
    texture = CreateSolidTexture(gpu.device, 0xffffffffu);
    parameters.hasTexture = 1;
    parameters.entryCount = 64;
  }
  ~QuadDrawFixture() {
    if (texture != nullptr) texture->Release();
    manager.Shutdown();
  }
  ShaderDataDirectory data;
  ShaderManager manager;
  ScreenQuad quad;
  ID3D11ShaderResourceView* texture = nullptr;
  PostProcessParameters parameters;
  bool ok = false;
};

// One 4 × 4-pixel quad so the rasteriser's share stays small: map-discard of the 48-byte effect
// buffer, the 192-byte matrix buffer and 64 array entries, the bindings, and DrawIndexed(6).
void BM_ConstantBufferUpdateAndQuadDraw(benchmark::State& state) {
  QuadDrawFixture fixture;
  if (!fixture.ok) {
    state.SkipWithError("set-up failed");
    return;
  }
  ID3D11DeviceContext* context = Device().context;
  PostProcessShader& program = *fixture.manager.postProcessShader;
  const bool finish = state.range(0) != 0;
  for (auto _ : state) {
    fixture.quad.Bind(context);
    program.SetShaderParameters(fixture.quad.Identity(), fixture.quad.Identity(), fixture.quad.Ortho(),
                                fixture.texture, &fixture.parameters);
    program.Render(6);
    if (finish) glFinish();
  }
  glFinish();
}
BENCHMARK(BM_ConstantBufferUpdateAndQuadDraw)->Arg(0)->Arg(1)->ArgNames({"finish"})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
