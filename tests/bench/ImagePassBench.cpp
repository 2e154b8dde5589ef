// What the bloom chain costs on llvmpipe: Bloom plus Blur(4) of its result (the magnet and soft
// scenes' chain) at 640 x 360, and each of its passes measured alone in the same run, so the
// ratio of the chain to the sum of its passes shows what the chain adds (state changes, target
// switches) or saves (overlap) beyond its draws.
//
//   pulsar-image-pass-bench [WxH] [iterations]
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>

#include "app/Timer.h"
#include "demo/Demo.h"
#include "fx/PostEffect.h"
#include "gfx/D3D11Device.h"
#include "gfx/ShaderManager.h"
#include "support/FloatTexture.h"
#include "support/GpuTestDevice.h"
#include "support/TempDirectory.h"

namespace {

// Milliseconds per run of f, after one run to warm up, every run finished on the GPU.
double Measure(int iterations, const std::function<void()>& f) {
  f();
  glFinish();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < iterations; ++i) {
    f();
    glFinish();
  }
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / iterations;
}

}  // namespace

int main(int argc, char** argv) {
  int width = 640, height = 360, iterations = 20;
  if (argc > 1 && std::sscanf(argv[1], "%dx%d", &width, &height) != 2) return 2;
  if (argc > 2) iterations = std::max(1, std::atoi(argv[2]));

  TempDirectory directory(/*enter=*/true);
  std::filesystem::create_directory("engine_data");
  if (!testing_support::CopyShaderSources("engine_data")) return 1;
  platform::Window* window = testing_support::CreateTestWindow(width, height);
  if (!window) return 1;
  Timer timer;
  Demo demo;
  demo.m_width = width;
  demo.m_height = height;
  demo.m_hWnd = window;
  demo.m_pTimer = &timer;
  if (!demo.CreateDevice()) return 1;
  demo.FillRenderContext();
  if (!demo.CreateRenderTargets() || !demo.CreateScreenQuads()) return 1;

  // A dim picture with bright spots, so the bright pass has something to keep.
  std::vector<float> picture(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      float* p = &picture[(static_cast<size_t>(y) * width + x) * 4];
      const float spot = std::sin(x * 0.05f) * std::sin(y * 0.07f) > 0.8f ? 1.4f : 0.0f;
      p[0] = 0.2f + spot;
      p[1] = 0.15f + spot;
      p[2] = 0.3f + spot;
      p[3] = 1.0f;
    }
  testing_support::WriteFloatTexture(demo.m_pD3D11->GetDeviceContext(), demo.m_pRTT_1_1->texture, picture);

  const double chain = Measure(iterations, [&] {
    demo.Bloom();
    demo.Blur(4, demo.m_pRTT_1_2);
  });

  BlurShader* blur = demo.m_pSM->blurShader;
  const int32_t none = static_cast<int32_t>(PostEffect::none);
  const double brightPass = Measure(iterations, [&] {
    Demo::PrepareTarget(demo.m_pRTT_BrightPass);
    demo.CopyTarget(demo.m_pRTT_1_1, static_cast<int32_t>(PostEffect::bright_pass));
  });
  const double reduce = Measure(iterations, [&] {
    Demo::PrepareTarget(demo.m_pRTT_16_1);
    demo.m_pQuad_16_Solid->texture = demo.m_pRTT_BrightPass->shaderResourceView;
    demo.m_pQuad_16_Solid->Render(none);
  });
  const double blurPass = Measure(iterations, [&] {
    Demo::PrepareTarget(demo.m_pRTT_16_2);
    blur->direction = 0;
    blur->sourceTexture = demo.m_pRTT_16_1->shaderResourceView;
    demo.m_pQuad_Blur_16->Render();
    Demo::PrepareTarget(demo.m_pRTT_16_1);
    blur->direction = 1;
    blur->sourceTexture = demo.m_pRTT_16_2->shaderResourceView;
    demo.m_pQuad_Blur_16->Render();
  });
  const double magnify = Measure(iterations, [&] {
    Demo::PrepareTarget(demo.m_pRTT_Blur);
    demo.CopyTarget(demo.m_pRTT_16_1, none);
  });
  const double mix = Measure(iterations, [&] {
    Demo::PrepareTarget(demo.m_pRTT_1_2);
    demo.Mix(0, demo.m_pRTT_1_1);
  });
  // Bloom: bright pass, Blur(8) (reduce, 8 passes, magnify), mix; then Blur(4).
  const double sum = brightPass + 2 * reduce + 12 * blurPass + 2 * magnify + mix;

  std::printf("image passes at %d x %d on %s, %d runs each\n", width, height,
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)), iterations);
  std::printf("  bright pass (full)            %8.3f ms\n", brightPass);
  std::printf("  reduce to quarter             %8.3f ms  x2\n", reduce);
  std::printf("  blur pass, x then y (quarter) %8.3f ms  x12\n", blurPass);
  std::printf("  magnify to full               %8.3f ms  x2\n", magnify);
  std::printf("  bloom mix (full)              %8.3f ms\n", mix);
  std::printf("  sum of the passes             %8.3f ms\n", sum);
  std::printf("  Bloom + Blur(4)               %8.3f ms\n", chain);
  std::printf("  chain / sum                   %8.3f\n", chain / sum);

  demo.Shutdown();
  platform::Window::Destroy(window);
  return 0;
}
