#include "DemoImageFixture.h"

#include <filesystem>

#include "gfx/D3D11Device.h"
#include "support/FloatTexture.h"
#include "support/GpuTestDevice.h"
#include "support/ImageFixtures.h"

namespace demo_test {

namespace {

// The noise tile's job is only to rotate the kernel: two directions in a checker.
std::vector<uint8_t> NoiseTile() {
  std::vector<uint8_t> rgba(8 * 8 * 4);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      uint8_t* p = &rgba[(y * 8 + x) * 4];
      const bool odd = (x + y) % 2 != 0;
      p[0] = odd ? 255 : 128;
      p[1] = odd ? 128 : 255;
      p[2] = 0;
      p[3] = 255;
    }
  return rgba;
}

}  // namespace

bool DemoImageFixture::Create(std::string* error) {
  std::filesystem::create_directory("engine_data");
  if (!testing_support::CopyShaderSources("engine_data")) return *error = "cannot copy the shaders", false;
  WriteBytes("engine_data/ssaonoise.png", EncodePng(8, 8, NoiseTile()));
  window = testing_support::CreateTestWindow(kWidth, kHeight);
  if (!window) return *error = "no headless window", false;
  timer.Initialize();
  demo.m_width = kWidth;
  demo.m_height = kHeight;
  demo.m_hWnd = window;
  demo.m_pTimer = &timer;
  if (!demo.CreateDevice() || !demo.CreateRenderStates() || !demo.CreateTextureCache() || !demo.CreateShaderPrograms())
    return *error = "device, states or programs", false;
  demo.FillRenderContext();
  if (!demo.CreateRenderTargets() || !demo.CreateScreenQuads()) return *error = "targets or quads", false;
  return true;
}

DemoImageFixture::~DemoImageFixture() {
  demo.Shutdown();
  if (window) platform::Window::Destroy(window);
}

std::vector<float> DemoImageFixture::Read(RenderTarget* target) {
  return testing_support::ReadFloatTexture(demo.m_pD3D11->GetDevice(), demo.m_pD3D11->GetDeviceContext(),
                                           target->texture);
}

void DemoImageFixture::Write(RenderTarget* target, const std::vector<float>& texels) {
  testing_support::WriteFloatTexture(demo.m_pD3D11->GetDeviceContext(), target->texture, texels);
}

void DemoImageFixture::Size(RenderTarget* target, int* width, int* height) {
  D3D11_TEXTURE2D_DESC desc = {};
  target->texture->GetDesc(&desc);
  *width = static_cast<int>(desc.Width);
  *height = static_cast<int>(desc.Height);
}

}  // namespace demo_test
