#pragma once
// The pipeline state text drawing changes, taken from the immediate context before the text is
// drawn and put back afterwards, so the draw that follows sees the context as it was.
#include "platform/d3d11/d3d11.h"

namespace platform {

// Releases a held Direct3D object and forgets it.
template <class T>
void ReleaseAndClear(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

class TextPipelineState {
 public:
  TextPipelineState() = default;
  TextPipelineState(const TextPipelineState&) = delete;
  TextPipelineState& operator=(const TextPipelineState&) = delete;
  ~TextPipelineState() { Forget(); }

  // Holds a reference to everything bound at the stages text drawing uses.
  void Save(ID3D11DeviceContext* context);
  // Binds it all again and lets the references go.
  void Restore(ID3D11DeviceContext* context);

 private:
  void Forget();

  ID3D11InputLayout* m_inputLayout = nullptr;
  ID3D11Buffer* m_vertexBuffer = nullptr;
  UINT m_stride = 0;
  UINT m_offset = 0;
  D3D11_PRIMITIVE_TOPOLOGY m_topology = D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED;
  ID3D11VertexShader* m_vertexShader = nullptr;
  ID3D11GeometryShader* m_geometryShader = nullptr;
  ID3D11PixelShader* m_pixelShader = nullptr;
  ID3D11Buffer* m_vertexConstants = nullptr;
  ID3D11Buffer* m_pixelConstants = nullptr;
  ID3D11ShaderResourceView* m_pixelResource = nullptr;
  ID3D11SamplerState* m_pixelSampler = nullptr;
  ID3D11RasterizerState* m_rasterizerState = nullptr;
  ID3D11BlendState* m_blendState = nullptr;
  FLOAT m_blendFactor[4] = {};
  UINT m_sampleMask = 0;
  ID3D11DepthStencilState* m_depthStencilState = nullptr;
  UINT m_stencilRef = 0;
};

}  // namespace platform
