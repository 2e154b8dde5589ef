#pragma once
// A headless window with the D3D11 layer on llvmpipe for GPU tests: the back buffer and a depth
// buffer bound, a full viewport set, pixels read back top row first.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d11/d3d11.h"
#include "platform/window.h"

namespace testing_support {

struct Rgba {
  uint8_t r, g, b, a;
};

// Starts SDL's offscreen video once per test program.
bool StartHeadlessVideo();

// A window of its own for tests that create the device themselves (D3D11Device).
platform::Window* CreateTestWindow(int width, int height);

class GpuTestDevice {
 public:
  GpuTestDevice() = default;
  GpuTestDevice(const GpuTestDevice&) = delete;
  GpuTestDevice& operator=(const GpuTestDevice&) = delete;
  ~GpuTestDevice();

  bool Create(int width, int height);

  // Back buffer and depth bound, viewport covering the target.
  void BindBackBuffer();
  void Clear(float r, float g, float b, float a);

  std::vector<uint8_t> ReadPixels();
  Rgba PixelAt(int x, int y);

  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* context = nullptr;
  IDXGISwapChain* swapChain = nullptr;
  ID3D11RenderTargetView* backBufferView = nullptr;
  ID3D11Texture2D* depthBuffer = nullptr;
  ID3D11DepthStencilView* depthView = nullptr;
  platform::Window* window = nullptr;
  int width = 0;
  int height = 0;
};

// Compiles one HLSL source written to a temporary file; empty string on success, else the
// compiler's text. The blob is returned through *blob.
std::string CompileHlsl(const std::string& source, const char* entry, const char* profile, ID3D10Blob** blob);

// One test program's vertex and pixel shader compiled from HLSL, with an input layout when
// elements are given; released when it goes.
struct TestProgram {
  TestProgram() = default;
  TestProgram(const TestProgram&) = delete;
  TestProgram& operator=(const TestProgram&) = delete;
  ~TestProgram();
  // Empty string on success, else the compiler's text or the call that failed.
  std::string Create(ID3D11Device* device, const std::string& vertexSource, const char* vertexEntry,
                     const std::string& pixelSource, const char* pixelEntry,
                     const D3D11_INPUT_ELEMENT_DESC* elements = nullptr, UINT elementCount = 0);
  // Binds the layout, topology and both shaders.
  void Bind(ID3D11DeviceContext* context,
            D3D11_PRIMITIVE_TOPOLOGY topology = D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST) const;

  ID3D11VertexShader* vertexShader = nullptr;
  ID3D11PixelShader* pixelShader = nullptr;
  ID3D11InputLayout* inputLayout = nullptr;
};

// A buffer with the given bind flags: dynamic and CPU-writable without initial bytes, default
// usage holding them otherwise. Null on failure.
ID3D11Buffer* CreateTestBuffer(ID3D11Device* device, UINT bindFlags, UINT byteWidth, const void* initial = nullptr);

// Writes bytes into a dynamic vertex buffer and binds it to slot 0 with the given stride.
bool UploadVertices(ID3D11DeviceContext* context, ID3D11Buffer* buffer, const void* bytes, size_t size, UINT stride);

// Fails the running test when GL raised an error or KHR_debug reported one since the last call.
void ExpectNoGLErrors();

// Reads the source folder's shader (content/shaders/<name>).
std::string ShaderSourcePath(const std::string& name);

// Copies every HLSL file of content/shaders into folder, as the show's data directory holds them.
bool CopyShaderSources(const std::string& folder);

}  // namespace testing_support
