#pragma once
// Everything the immediate context has bound. Bound objects hold a reference, as in Direct3D,
// so releasing an object that is still bound never leaves a dangling binding.
#include <array>
#include <cstdint>

#include "platform/d3d11/d3d11.h"

namespace platform::d3d11 {

// A reference-holding slot.
template <class T>
class Bound {
 public:
  Bound() = default;
  Bound(const Bound&) = delete;
  Bound& operator=(const Bound&) = delete;
  ~Bound() { Set(nullptr); }
  void Set(T* object) {
    if (object == m_object) return;
    if (object != nullptr) object->AddRef();
    if (m_object != nullptr) m_object->Release();
    m_object = object;
  }
  T* get() const { return m_object; }
  // Hands out a new reference, as Direct3D's getters do.
  T* Share() const {
    if (m_object != nullptr) m_object->AddRef();
    return m_object;
  }

 private:
  T* m_object = nullptr;
};

struct StageBindings {
  std::array<Bound<ID3D11Buffer>, PULSAR_CONSTANT_BUFFER_SLOTS> constantBuffers;
  std::array<Bound<ID3D11ShaderResourceView>, PULSAR_RESOURCE_SLOTS> resources;
  std::array<Bound<ID3D11SamplerState>, PULSAR_SAMPLER_SLOTS> samplers;
};

struct ContextState {
  Bound<ID3D11InputLayout> inputLayout;
  std::array<Bound<ID3D11Buffer>, PULSAR_VERTEX_BUFFER_SLOTS> vertexBuffers;
  std::array<UINT, PULSAR_VERTEX_BUFFER_SLOTS> strides{};
  std::array<UINT, PULSAR_VERTEX_BUFFER_SLOTS> offsets{};
  Bound<ID3D11Buffer> indexBuffer;
  DXGI_FORMAT indexFormat = DXGI_FORMAT_UNKNOWN;
  UINT indexOffset = 0;
  D3D11_PRIMITIVE_TOPOLOGY topology = D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED;

  Bound<ID3D11VertexShader> vertexShader;
  Bound<ID3D11GeometryShader> geometryShader;
  Bound<ID3D11PixelShader> pixelShader;
  StageBindings stages[3];  // vertex, geometry, pixel

  Bound<ID3D11RasterizerState> rasterizerState;
  D3D11_VIEWPORT viewport{};
  bool viewportSet = false;
  D3D11_RECT scissor{};

  std::array<Bound<ID3D11RenderTargetView>, D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT> renderTargets;
  UINT renderTargetCount = 0;
  Bound<ID3D11DepthStencilView> depthStencilView;
  Bound<ID3D11BlendState> blendState;
  FLOAT blendFactor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  UINT sampleMask = 0xffffffffu;
  Bound<ID3D11DepthStencilState> depthStencilState;
  UINT stencilRef = 0;

  // GL objects of the context.
  uint32_t drawFramebuffer = 0;
  uint32_t clearFramebuffer = 0;
  uint32_t pipeline = 0;
  uint32_t emptyVertexArray = 0;
  // 1 × 1 transparent black textures, one per sampled dimension: an empty slot reads as
  // (0, 0, 0, 0) as in Direct3D, where GL's texture 0 would read opaque black.
  uint32_t emptyTextures[4] = {};

  // The programs the pipeline holds per stage (vertex, geometry, pixel): a program attached to
  // the pipeline keeps its name even when deleted, so an equal name is the same program.
  uint32_t pipelinePrograms[3] = {};
  // Whether the attachments last sent form a complete framebuffer (checked when they change).
  bool framebufferComplete = false;

  // What must be sent to GL before the next draw.
  bool framebufferDirty = true;
  bool blendDirty = true;
  bool rasterizerDirty = true;
  bool depthStencilDirty = true;
  bool viewportDirty = true;
};

}  // namespace platform::d3d11
