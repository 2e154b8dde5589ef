#include "PostProcessFixture.h"

#include <filesystem>

#include "support/TestRenderContext.h"

namespace fx_test {

bool PostProcessFixture::Create(std::string* error) {
  std::filesystem::create_directory("engine_data");
  if (!testing_support::CopyShaderSources("engine_data")) return *error = "cannot copy the shaders", false;
  if (!gpu.Create(kWidth, kHeight)) return *error = "no headless device", false;
  if (!states.Initialize(gpu.device, gpu.context)) return *error = "render states", false;
  // Only the post-processing program: every effect here draws through it.
  PostProcessShader* post = shaders.postProcessShader = new PostProcessShader();
  post->window = gpu.window;
  post->device = gpu.device;
  post->context = gpu.context;
  post->timer = &timer;
  if (!post->CreateSamplers() || !post->Initialize()) return *error = "post-processing program", false;

  context = testing_support::TestRenderContext(gpu, &states, nullptr, &shaders);
  context.timer = &timer;
  D3DXMatrixOrthoLH(&context.orthoFull, kWidth, kHeight, context.nearPlane, context.farPlane);
  D3DXMatrixOrthoLH(&context.orthoHalf, kWidth * 0.5f, kHeight * 0.5f, context.nearPlane, context.farPlane);
  D3DXMatrixOrthoLH(&context.orthoQuarter, kWidth * 0.25f, kHeight * 0.25f, context.nearPlane, context.farPlane);
  return true;
}

PostProcessFixture::~PostProcessFixture() {
  if (gpu.context != nullptr) gpu.context->ClearState();
  for (ID3D11ShaderResourceView* view : m_views) view->Release();
  for (ID3D11Texture2D* texture : m_textures) texture->Release();
  shaders.Shutdown();
  states.Shutdown();
}

ID3D11ShaderResourceView* PostProcessFixture::SolidTexture(uint8_t r, uint8_t g, uint8_t b) {
  std::vector<uint8_t> texels(4 * 4 * 4);
  for (size_t i = 0; i < texels.size(); i += 4) {
    texels[i] = r;
    texels[i + 1] = g;
    texels[i + 2] = b;
    texels[i + 3] = 255;
  }
  D3D11_TEXTURE2D_DESC desc = {};
  desc.Width = desc.Height = 4;
  desc.MipLevels = desc.ArraySize = 1;
  desc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  desc.SampleDesc.Count = 1;
  desc.Usage = D3D11_USAGE_DEFAULT;
  desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
  D3D11_SUBRESOURCE_DATA data = {texels.data(), 16, 0};
  ID3D11Texture2D* texture = nullptr;
  ID3D11ShaderResourceView* view = nullptr;
  if (FAILED(gpu.device->CreateTexture2D(&desc, &data, &texture))) return nullptr;
  m_textures.push_back(texture);
  if (FAILED(gpu.device->CreateShaderResourceView(texture, nullptr, &view))) return nullptr;
  m_views.push_back(view);
  return view;
}

void PostProcessFixture::ClearBackBuffer() {
  gpu.BindBackBuffer();
  gpu.Clear(0.0f, 0.0f, 0.0f, 1.0f);
}

testing_support::Rgba PostProcessFixture::Pixel(const std::vector<uint8_t>& pixels, int x, int y) const {
  const size_t at = (static_cast<size_t>(y) * kWidth + x) * 4;
  return {pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3]};
}

}  // namespace fx_test
