#pragma once
// What all seven shader programs share: their Direct3D objects, the borrowed device, context,
// window and Timer, the two samplers, the matrix buffer, and compiling a file from the data
// directory with the message boxes of a failed compile.
#include <cstdint>
#include <string>

#include "math/d3dx_math.h"
#include "platform/d3d11/d3d11.h"

class Timer;

// matrixBuffer: world, view, projection, each transposed, 192 bytes.
struct MatrixBufferType {
  D3DXMATRIX world;
  D3DXMATRIX view;
  D3DXMATRIX projection;
};
static_assert(sizeof(MatrixBufferType) == 192);

class ShaderProgram {
 public:
  ID3D11VertexShader* vertexShader = nullptr;
  ID3D11GeometryShader* geometryShader = nullptr;
  ID3D11PixelShader* pixelShader = nullptr;
  ID3D11InputLayout* inputLayout = nullptr;
  ID3D11SamplerState* wrapSampler = nullptr;
  ID3D11SamplerState* clampSampler = nullptr;
  HWND window = nullptr;
  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* context = nullptr;
  Timer* timer = nullptr;
  ID3D11Buffer* matrixBuffer = nullptr;

  // Linear filtering, wrap and clamp addressing; the same for every program.
  bool CreateSamplers();

 protected:
  // Compiles "engine_data/" + fileName with the given macros (null-terminated list, or none);
  // a failure shows its box and returns false.
  bool CompileShaderFile(const char* profile, ID3D10Blob** blob, HWND owner, const char* fileName,
                         const char* entryPoint, const D3D10_SHADER_MACRO* defines = nullptr);
  // Vertex and pixel shader, the layout and matrixBuffer: the first steps of every two-stage program.
  bool CreateTwoStageProgram(const char* vertexFile, const char* vertexEntry, const char* pixelFile,
                             const char* pixelEntry, const D3D11_INPUT_ELEMENT_DESC* layout, UINT layoutCount);
  // Transposes world, view and projection into matrixBuffer.
  bool WriteMatrixBuffer(const D3DXMATRIX& world, const D3DXMATRIX& view, const D3DXMATRIX& projection);
  // Releases the shared Direct3D objects; borrowed pointers stay.
  void ReleaseProgram();
};

// Shows a failed compile: the compiler's text with the path as caption, or the path with the
// caption "missing shader file" when there was no text (the file could not be read).
void ReportShaderError(ID3D10Blob* errorMessage, const std::string& path, HWND owner);

// The 36-byte vertex that every screen quad draws with: position, colour, texture coordinate.
extern const D3D11_INPUT_ELEMENT_DESC kQuadVertexLayout[3];
