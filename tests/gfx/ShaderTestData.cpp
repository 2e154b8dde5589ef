#include "ShaderTestData.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "gfx/TextureDesc.h"
#include "support/GpuTestDevice.h"

ShaderDataDirectory::ShaderDataDirectory() {
  const std::filesystem::path data = m_directory.path() / "engine_data";
  std::filesystem::create_directories(data);
  testing_support::CopyShaderSources(data.string());
}

std::filesystem::path ShaderDataDirectory::DataFile(const std::string& name) const {
  return m_directory.path() / "engine_data" / name;
}

void ShaderDataDirectory::Remove(const std::string& name) const { std::filesystem::remove(DataFile(name)); }

void ShaderDataDirectory::Write(const std::string& name, const std::string& text) const {
  std::ofstream file(DataFile(name), std::ios::binary | std::ios::trunc);
  file << text;
}

ScreenQuad::~ScreenQuad() {
  if (m_indices != nullptr) m_indices->Release();
  if (m_vertices != nullptr) m_vertices->Release();
}

bool ScreenQuad::Create(ID3D11Device* device, int screenWidth, int screenHeight) {
  m_width = screenWidth;
  m_height = screenHeight;
  D3DXMatrixOrthoLH(&m_ortho, static_cast<float>(screenWidth), static_cast<float>(screenHeight), 1.0f, 10000.0f);
  D3DXMatrixIdentity(&m_identity);
  D3D11_BUFFER_DESC desc{};
  desc.ByteWidth = sizeof(QuadVertex) * 4;
  desc.Usage = D3D11_USAGE_DYNAMIC;
  desc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
  desc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
  if (FAILED(device->CreateBuffer(&desc, nullptr, &m_vertices))) return false;
  const uint32_t indices[6] = {0, 1, 2, 2, 1, 3};
  D3D11_BUFFER_DESC indexDesc{};
  indexDesc.ByteWidth = sizeof indices;
  indexDesc.Usage = D3D11_USAGE_DEFAULT;
  indexDesc.BindFlags = D3D11_BIND_INDEX_BUFFER;
  const D3D11_SUBRESOURCE_DATA data{indices, 0, 0};
  return SUCCEEDED(device->CreateBuffer(&indexDesc, &data, &m_indices));
}

bool ScreenQuad::Set(ID3D11DeviceContext* context, float left, float top, float right, float bottom, float r, float g,
                     float b, float a) {
  // Pixels to the orthographic space: x from the centre, y up.
  const float x0 = left - m_width / 2.0f, x1 = right - m_width / 2.0f;
  const float y0 = m_height / 2.0f - top, y1 = m_height / 2.0f - bottom;
  const QuadVertex vertices[4] = {{x0, y0, 10, r, g, b, a, 0, 0},
                                  {x1, y0, 10, r, g, b, a, 1, 0},
                                  {x0, y1, 10, r, g, b, a, 0, 1},
                                  {x1, y1, 10, r, g, b, a, 1, 1}};
  D3D11_MAPPED_SUBRESOURCE mapped;
  if (FAILED(context->Map(m_vertices, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return false;
  std::memcpy(mapped.pData, vertices, sizeof vertices);
  context->Unmap(m_vertices, 0);
  return true;
}

void ScreenQuad::Bind(ID3D11DeviceContext* context) {
  const UINT stride = sizeof(QuadVertex);
  const UINT offset = 0;
  context->IASetVertexBuffers(0, 1, &m_vertices, &stride, &offset);
  context->IASetIndexBuffer(m_indices, DXGI_FORMAT_R32_UINT, 0);
  context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
}

ID3D11ShaderResourceView* CreateTexture(ID3D11Device* device, int width, int height,
                                        const std::vector<uint32_t>& rgbaPixels) {
  const D3D11_TEXTURE2D_DESC desc = SingleLevelTextureDesc(static_cast<UINT>(width), static_cast<UINT>(height),
                                                           DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE);
  const D3D11_SUBRESOURCE_DATA data{rgbaPixels.data(), static_cast<UINT>(width * 4), 0};
  ID3D11Texture2D* texture = nullptr;
  if (FAILED(device->CreateTexture2D(&desc, &data, &texture))) return nullptr;
  ID3D11ShaderResourceView* view = nullptr;
  device->CreateShaderResourceView(texture, nullptr, &view);
  texture->Release();
  return view;
}

ID3D11ShaderResourceView* CreateSolidTexture(ID3D11Device* device, uint32_t rgba) {
  return CreateTexture(device, 2, 2, std::vector<uint32_t>(4, rgba));
}
