#include <SDL.h>
#include <epoxy/gl.h>

#include "platform/d3d11/d3d11.h"
#include "platform/d3d11/gl_context.h"
#include "platform/d3d11/shader_code.h"

namespace platform::d3d11 {
bool HasCurrentGLContext() { return SDL_GL_GetCurrentContext() != nullptr; }
}  // namespace platform::d3d11

using platform::d3d11::HasCurrentGLContext;

void ID3D11DeviceChild::GetDevice(ID3D11Device** ppDevice) {
  if (ppDevice == nullptr) return;
  *ppDevice = m_device;
  if (m_device != nullptr) m_device->AddRef();
}

ID3D11Resource::~ID3D11Resource() {
  if (m_glName == 0 || !HasCurrentGLContext()) return;
  if (m_dimension == D3D11_RESOURCE_DIMENSION_BUFFER) {
    glDeleteBuffers(1, &m_glName);
  } else {
    glDeleteTextures(1, &m_glName);
  }
}

ID3D11View::ID3D11View(ID3D11Device* device, ID3D11Resource* resource)
    : ID3D11DeviceChild(device), m_resource(resource) {
  m_resource->AddRef();
}

ID3D11View::~ID3D11View() { m_resource->Release(); }

void ID3D11View::GetResource(ID3D11Resource** ppResource) {
  if (ppResource == nullptr) return;
  m_resource->AddRef();
  *ppResource = m_resource;
}

ID3D11ShaderResourceView::~ID3D11ShaderResourceView() {
  if (m_ownsTextureView && m_glTexture != 0 && HasCurrentGLContext()) glDeleteTextures(1, &m_glTexture);
}

ID3D11ShaderStage::ID3D11ShaderStage(ID3D11Device* device) : ID3D11DeviceChild(device) {}

ID3D11ShaderStage::~ID3D11ShaderStage() {
  if (m_glProgram != 0 && HasCurrentGLContext()) glDeleteProgram(m_glProgram);
}

ID3D11InputLayout::~ID3D11InputLayout() {
  if (m_glVertexArray != 0 && HasCurrentGLContext()) glDeleteVertexArrays(1, &m_glVertexArray);
}

ID3D11SamplerState::~ID3D11SamplerState() {
  if (m_glSampler != 0 && HasCurrentGLContext()) glDeleteSamplers(1, &m_glSampler);
}

ID3D11Device::~ID3D11Device() {
  if (m_immediateContext != nullptr) m_immediateContext->Release();
}

void ID3D11Device::GetImmediateContext(ID3D11DeviceContext** ppImmediateContext) {
  if (ppImmediateContext == nullptr) return;
  m_immediateContext->AddRef();
  *ppImmediateContext = m_immediateContext;
}
