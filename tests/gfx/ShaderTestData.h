#pragma once
// A data directory with the show's HLSL for shader-program tests: a temporary working directory
// with engine_data/ holding copies of content/shaders, and small helpers to draw screen quads.
#include <filesystem>
#include <string>
#include <vector>

#include "math/d3dx_math.h"
#include "platform/d3d11/d3d11.h"
#include "support/TempDirectory.h"

class ShaderDataDirectory {
 public:
  ShaderDataDirectory();
  std::filesystem::path DataFile(const std::string& name) const;
  void Remove(const std::string& name) const;
  void Write(const std::string& name, const std::string& text) const;

 private:
  TempDirectory m_directory{true};
};

// The 36-byte screen-quad vertex: position, colour, texture coordinate.
struct QuadVertex {
  float x, y, z;
  float r, g, b, a;
  float u, v;
};

// Vertex and index buffers of one quad in pixels (top-left origin) on a width × height screen,
// drawn with the orthographic projection D3D11Device makes.
class ScreenQuad {
 public:
  ~ScreenQuad();
  bool Create(ID3D11Device* device, int screenWidth, int screenHeight);
  // Covers [left, right) × [top, bottom) in pixels with one colour.
  bool Set(ID3D11DeviceContext* context, float left, float top, float right, float bottom, float r = 1, float g = 1,
           float b = 1, float a = 1);
  void Bind(ID3D11DeviceContext* context);
  const D3DXMATRIX& Ortho() const { return m_ortho; }
  const D3DXMATRIX& Identity() const { return m_identity; }

 private:
  ID3D11Buffer* m_vertices = nullptr;
  ID3D11Buffer* m_indices = nullptr;
  int m_width = 0;
  int m_height = 0;
  D3DXMATRIX m_ortho;
  D3DXMATRIX m_identity;
};

// A shader-readable RGBA8 texture, rows top first.
ID3D11ShaderResourceView* CreateTexture(ID3D11Device* device, int width, int height,
                                        const std::vector<uint32_t>& rgbaPixels);
ID3D11ShaderResourceView* CreateSolidTexture(ID3D11Device* device, uint32_t rgba);
