#include "GpuTestDevice.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "gfx/TextureDesc.h"
#include "platform/d3d11/gl_check.h"
#include "platform/d3dx/d3dx11async.h"

namespace testing_support {

bool StartHeadlessVideo() {
  static const bool started = platform::InitializeVideo(platform::VideoMode::Headless);
  return started;
}

platform::Window* CreateTestWindow(int width, int height) {
  if (!StartHeadlessVideo()) return nullptr;
  platform::WindowDesc desc;
  desc.title = "test";
  desc.width = width;
  desc.height = height;
  return platform::Window::Create(desc);
}

GpuTestDevice::~GpuTestDevice() {
  if (context != nullptr) context->ClearState();
  if (depthView != nullptr) depthView->Release();
  if (depthBuffer != nullptr) depthBuffer->Release();
  if (backBufferView != nullptr) backBufferView->Release();
  if (context != nullptr) context->Release();
  if (device != nullptr) device->Release();
  if (swapChain != nullptr) swapChain->Release();
  if (window != nullptr) platform::Window::Destroy(window);
}

bool GpuTestDevice::Create(int w, int h) {
  width = w;
  height = h;
  window = CreateTestWindow(w, h);
  if (window == nullptr) return false;
  DXGI_SWAP_CHAIN_DESC desc{};
  desc.BufferCount = 1;
  desc.BufferDesc.Width = static_cast<UINT>(w);
  desc.BufferDesc.Height = static_cast<UINT>(h);
  desc.BufferDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  desc.BufferDesc.RefreshRate = {0, 1};
  desc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
  desc.OutputWindow = window;
  desc.SampleDesc = {1, 0};
  desc.Windowed = TRUE;
  const D3D_FEATURE_LEVEL level = D3D_FEATURE_LEVEL_11_0;
  if (FAILED(D3D11CreateDeviceAndSwapChain(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, 0, &level, 1,
                                           D3D11_SDK_VERSION, &desc, &swapChain, &device, nullptr, &context))) {
    return false;
  }
  ID3D11Texture2D* backBuffer = nullptr;
  if (FAILED(swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(&backBuffer)))) return false;
  const HRESULT hr = device->CreateRenderTargetView(backBuffer, nullptr, &backBufferView);
  backBuffer->Release();
  if (FAILED(hr)) return false;
  const D3D11_TEXTURE2D_DESC depthDesc = SingleLevelTextureDesc(static_cast<UINT>(w), static_cast<UINT>(h),
                                                                DXGI_FORMAT_D24_UNORM_S8_UINT, D3D11_BIND_DEPTH_STENCIL);
  if (FAILED(device->CreateTexture2D(&depthDesc, nullptr, &depthBuffer))) return false;
  if (FAILED(device->CreateDepthStencilView(depthBuffer, nullptr, &depthView))) return false;
  BindBackBuffer();
  return true;
}

void GpuTestDevice::BindBackBuffer() {
  context->OMSetRenderTargets(1, &backBufferView, depthView);
  D3D11_VIEWPORT viewport{0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height), 0.0f, 1.0f};
  context->RSSetViewports(1, &viewport);
}

void GpuTestDevice::Clear(float r, float g, float b, float a) {
  const float color[4] = {r, g, b, a};
  context->ClearRenderTargetView(backBufferView, color);
  context->ClearDepthStencilView(depthView, D3D11_CLEAR_DEPTH | D3D11_CLEAR_STENCIL, 1.0f, 0);
}

std::vector<uint8_t> GpuTestDevice::ReadPixels() {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  swapChain->ReadBackBuffer(pixels.data());
  return pixels;
}

Rgba GpuTestDevice::PixelAt(int x, int y) {
  const std::vector<uint8_t> pixels = ReadPixels();
  const size_t at = (static_cast<size_t>(y) * width + x) * 4;
  return {pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3]};
}

std::string CompileHlsl(const std::string& source, const char* entry, const char* profile, ID3D10Blob** blob) {
  *blob = nullptr;
  // The process id keeps test programs that ctest runs side by side off each other's file.
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("pulsar_test_" + std::to_string(getpid()) + "_" + std::string(entry) +
                                                "_" + profile + ".hlsl");
  {
    std::ofstream file(path, std::ios::binary);
    file << source;
  }
  ID3D10Blob* errors = nullptr;
  const HRESULT hr = D3DX11CompileFromFileW(path.c_str(), nullptr, nullptr, entry, profile,
                                            D3D10_SHADER_ENABLE_STRICTNESS, 0, nullptr, blob, &errors, nullptr);
  std::filesystem::remove(path);
  if (SUCCEEDED(hr)) return {};
  std::string text = errors != nullptr ? static_cast<const char*>(errors->GetBufferPointer()) : "no error text";
  if (errors != nullptr) errors->Release();
  return text.empty() ? "failed" : text;
}

TestProgram::~TestProgram() {
  if (inputLayout != nullptr) inputLayout->Release();
  if (pixelShader != nullptr) pixelShader->Release();
  if (vertexShader != nullptr) vertexShader->Release();
}

std::string TestProgram::Create(ID3D11Device* device, const std::string& vertexSource, const char* vertexEntry,
                                const std::string& pixelSource, const char* pixelEntry,
                                const D3D11_INPUT_ELEMENT_DESC* elements, UINT elementCount) {
  ID3D10Blob* vs = nullptr;
  ID3D10Blob* ps = nullptr;
  std::string failure = CompileHlsl(vertexSource, vertexEntry, "vs_5_0", &vs);
  if (failure.empty()) failure = CompileHlsl(pixelSource, pixelEntry, "ps_5_0", &ps);
  if (failure.empty() &&
      FAILED(device->CreateVertexShader(vs->GetBufferPointer(), vs->GetBufferSize(), nullptr, &vertexShader))) {
    failure = "CreateVertexShader";
  }
  if (failure.empty() &&
      FAILED(device->CreatePixelShader(ps->GetBufferPointer(), ps->GetBufferSize(), nullptr, &pixelShader))) {
    failure = "CreatePixelShader";
  }
  if (failure.empty() && elementCount > 0 &&
      FAILED(device->CreateInputLayout(elements, elementCount, vs->GetBufferPointer(), vs->GetBufferSize(),
                                       &inputLayout))) {
    failure = "CreateInputLayout";
  }
  if (vs != nullptr) vs->Release();
  if (ps != nullptr) ps->Release();
  return failure;
}

void TestProgram::Bind(ID3D11DeviceContext* context, D3D11_PRIMITIVE_TOPOLOGY topology) const {
  context->IASetInputLayout(inputLayout);
  context->IASetPrimitiveTopology(topology);
  context->VSSetShader(vertexShader, nullptr, 0);
  context->PSSetShader(pixelShader, nullptr, 0);
}

ID3D11Buffer* CreateTestBuffer(ID3D11Device* device, UINT bindFlags, UINT byteWidth, const void* initial) {
  D3D11_BUFFER_DESC desc{};
  desc.ByteWidth = byteWidth;
  desc.Usage = initial != nullptr ? D3D11_USAGE_DEFAULT : D3D11_USAGE_DYNAMIC;
  desc.BindFlags = bindFlags;
  desc.CPUAccessFlags = initial != nullptr ? 0u : static_cast<UINT>(D3D11_CPU_ACCESS_WRITE);
  const D3D11_SUBRESOURCE_DATA data{initial, 0, 0};
  ID3D11Buffer* buffer = nullptr;
  if (FAILED(device->CreateBuffer(&desc, initial != nullptr ? &data : nullptr, &buffer))) return nullptr;
  return buffer;
}

bool UploadVertices(ID3D11DeviceContext* context, ID3D11Buffer* buffer, const void* bytes, size_t size, UINT stride) {
  D3D11_MAPPED_SUBRESOURCE mapped;
  if (FAILED(context->Map(buffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return false;
  std::memcpy(mapped.pData, bytes, size);
  context->Unmap(buffer, 0);
  const UINT offset = 0;
  context->IASetVertexBuffers(0, 1, &buffer, &stride, &offset);
  return true;
}

void ExpectNoGLErrors() {
  EXPECT_TRUE(platform::d3d11::CheckGLError("test")) << "OpenGL raised an error";
  for (const platform::d3d11::GLDebugMessage& message : platform::d3d11::TakeGLDebugMessages()) {
    ADD_FAILURE() << "GL debug message: " << message.text;
  }
}

std::string ShaderSourcePath(const std::string& name) {
  const char* source = std::getenv("PULSAR_SOURCE_DIR");
  // This file sits in <source>/tests/support when the environment does not say.
  const std::filesystem::path root = source != nullptr
                                         ? std::filesystem::path(source)
                                         : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
  return (root / "content" / "shaders" / name).string();
}

bool CopyShaderSources(const std::string& folder) {
  std::error_code ec;
  const std::filesystem::path sources = std::filesystem::path(ShaderSourcePath("")).parent_path();
  for (const auto& entry : std::filesystem::directory_iterator(sources, ec)) {
    if (entry.path().extension() != ".hlsl") continue;
    std::filesystem::copy_file(entry.path(), std::filesystem::path(folder) / entry.path().filename(), ec);
    if (ec) return false;
  }
  return !ec;
}

}  // namespace testing_support
