#include <cstdio>

#include "platform/d3d11/context_state.h"
#include "platform/d3d11/d3d11.h"
#include "platform/d3d11/gl_check.h"

using platform::d3d11::StageBindings;

namespace {

enum Stage { kVertex = 0, kGeometry = 1, kPixel = 2 };

template <class T, size_t N>
void SetSlots(std::array<platform::d3d11::Bound<T>, N>& slots, UINT start, UINT count, T* const* objects,
              const char* what) {
  if (start >= N || count > N - start) {
    platform::d3d11::ReportRefusal("%s: slots %u..%u beyond the %zu the layer carries", what, start, start + count, N);
    return;
  }
  for (UINT i = 0; i < count; ++i) slots[start + i].Set(objects != nullptr ? objects[i] : nullptr);
}

// Direct3D never lets a resource be read and written at once: binding it as an output unbinds
// it from every input slot, and binding an output as an input binds null instead.
bool IsBoundAsOutput(const platform::d3d11::ContextState& state, ID3D11ShaderResourceView* view) {
  if (view == nullptr) return false;
  ID3D11Resource* resource = nullptr;
  view->GetResource(&resource);
  resource->Release();
  for (const auto& target : state.renderTargets) {
    if (target.get() == nullptr) continue;
    ID3D11Resource* written = nullptr;
    target.get()->GetResource(&written);
    written->Release();
    if (written == resource) return true;
  }
  if (state.depthStencilView.get() != nullptr) {
    ID3D11Resource* written = nullptr;
    state.depthStencilView.get()->GetResource(&written);
    written->Release();
    if (written == resource) return true;
  }
  return false;
}

void SetResourceSlots(platform::d3d11::ContextState& state, StageBindings& stage, UINT start, UINT count,
                      ID3D11ShaderResourceView* const* views, const char* what) {
  if (start >= PULSAR_RESOURCE_SLOTS || count > PULSAR_RESOURCE_SLOTS - start) {
    platform::d3d11::ReportRefusal("%s: slots %u..%u beyond the %u the layer carries", what, start, start + count,
                 PULSAR_RESOURCE_SLOTS);
    return;
  }
  for (UINT i = 0; i < count; ++i) {
    ID3D11ShaderResourceView* view = views != nullptr ? views[i] : nullptr;
    stage.resources[start + i].Set(IsBoundAsOutput(state, view) ? nullptr : view);
  }
}

template <class T, size_t N>
void GetSlots(const std::array<platform::d3d11::Bound<T>, N>& slots, UINT start, UINT count, T** objects) {
  if (objects == nullptr) return;
  for (UINT i = 0; i < count; ++i) objects[i] = start + i < N ? slots[start + i].Share() : nullptr;
}

}  // namespace

void ID3D11DeviceContext::IASetInputLayout(ID3D11InputLayout* pInputLayout) { m_state->inputLayout.Set(pInputLayout); }

void ID3D11DeviceContext::IASetVertexBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer* const* ppVertexBuffers,
                                             const UINT* pStrides, const UINT* pOffsets) {
  if (StartSlot >= PULSAR_VERTEX_BUFFER_SLOTS || NumBuffers > PULSAR_VERTEX_BUFFER_SLOTS - StartSlot) {
    platform::d3d11::ReportRefusal("IASetVertexBuffers: slot beyond %u", PULSAR_VERTEX_BUFFER_SLOTS);
    return;
  }
  for (UINT i = 0; i < NumBuffers; ++i) {
    m_state->vertexBuffers[StartSlot + i].Set(ppVertexBuffers != nullptr ? ppVertexBuffers[i] : nullptr);
    m_state->strides[StartSlot + i] = pStrides != nullptr ? pStrides[i] : 0;
    m_state->offsets[StartSlot + i] = pOffsets != nullptr ? pOffsets[i] : 0;
  }
}

void ID3D11DeviceContext::IASetIndexBuffer(ID3D11Buffer* pIndexBuffer, DXGI_FORMAT Format, UINT Offset) {
  m_state->indexBuffer.Set(pIndexBuffer);
  m_state->indexFormat = Format;
  m_state->indexOffset = Offset;
}

void ID3D11DeviceContext::IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY Topology) { m_state->topology = Topology; }

void ID3D11DeviceContext::IAGetInputLayout(ID3D11InputLayout** ppInputLayout) {
  if (ppInputLayout != nullptr) *ppInputLayout = m_state->inputLayout.Share();
}

void ID3D11DeviceContext::IAGetVertexBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer** ppVertexBuffers,
                                             UINT* pStrides, UINT* pOffsets) {
  for (UINT i = 0; i < NumBuffers; ++i) {
    const UINT slot = StartSlot + i;
    const bool inside = slot < PULSAR_VERTEX_BUFFER_SLOTS;
    if (ppVertexBuffers != nullptr) ppVertexBuffers[i] = inside ? m_state->vertexBuffers[slot].Share() : nullptr;
    if (pStrides != nullptr) pStrides[i] = inside ? m_state->strides[slot] : 0;
    if (pOffsets != nullptr) pOffsets[i] = inside ? m_state->offsets[slot] : 0;
  }
}

void ID3D11DeviceContext::IAGetIndexBuffer(ID3D11Buffer** pIndexBuffer, DXGI_FORMAT* Format, UINT* Offset) {
  if (pIndexBuffer != nullptr) *pIndexBuffer = m_state->indexBuffer.Share();
  if (Format != nullptr) *Format = m_state->indexFormat;
  if (Offset != nullptr) *Offset = m_state->indexOffset;
}

void ID3D11DeviceContext::IAGetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY* pTopology) {
  if (pTopology != nullptr) *pTopology = m_state->topology;
}

void ID3D11DeviceContext::VSSetShader(ID3D11VertexShader* pVertexShader, ID3D11ClassInstance* const*, UINT) {
  m_state->vertexShader.Set(pVertexShader);
}
void ID3D11DeviceContext::GSSetShader(ID3D11GeometryShader* pShader, ID3D11ClassInstance* const*, UINT) {
  m_state->geometryShader.Set(pShader);
}
void ID3D11DeviceContext::PSSetShader(ID3D11PixelShader* pPixelShader, ID3D11ClassInstance* const*, UINT) {
  m_state->pixelShader.Set(pPixelShader);
}

void ID3D11DeviceContext::VSGetShader(ID3D11VertexShader** ppVertexShader, ID3D11ClassInstance**,
                                      UINT* pNumClassInstances) {
  if (ppVertexShader != nullptr) *ppVertexShader = m_state->vertexShader.Share();
  if (pNumClassInstances != nullptr) *pNumClassInstances = 0;
}
void ID3D11DeviceContext::GSGetShader(ID3D11GeometryShader** ppGeometryShader, ID3D11ClassInstance**,
                                      UINT* pNumClassInstances) {
  if (ppGeometryShader != nullptr) *ppGeometryShader = m_state->geometryShader.Share();
  if (pNumClassInstances != nullptr) *pNumClassInstances = 0;
}
void ID3D11DeviceContext::PSGetShader(ID3D11PixelShader** ppPixelShader, ID3D11ClassInstance**,
                                      UINT* pNumClassInstances) {
  if (ppPixelShader != nullptr) *ppPixelShader = m_state->pixelShader.Share();
  if (pNumClassInstances != nullptr) *pNumClassInstances = 0;
}

void ID3D11DeviceContext::VSSetConstantBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer* const* ppConstantBuffers) {
  SetSlots(m_state->stages[kVertex].constantBuffers, StartSlot, NumBuffers, ppConstantBuffers, "VSSetConstantBuffers");
}
void ID3D11DeviceContext::GSSetConstantBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer* const* ppConstantBuffers) {
  SetSlots(m_state->stages[kGeometry].constantBuffers, StartSlot, NumBuffers, ppConstantBuffers,
           "GSSetConstantBuffers");
}
void ID3D11DeviceContext::PSSetConstantBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer* const* ppConstantBuffers) {
  SetSlots(m_state->stages[kPixel].constantBuffers, StartSlot, NumBuffers, ppConstantBuffers, "PSSetConstantBuffers");
}
void ID3D11DeviceContext::VSGetConstantBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer** ppConstantBuffers) {
  GetSlots(m_state->stages[kVertex].constantBuffers, StartSlot, NumBuffers, ppConstantBuffers);
}
void ID3D11DeviceContext::GSGetConstantBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer** ppConstantBuffers) {
  GetSlots(m_state->stages[kGeometry].constantBuffers, StartSlot, NumBuffers, ppConstantBuffers);
}
void ID3D11DeviceContext::PSGetConstantBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer** ppConstantBuffers) {
  GetSlots(m_state->stages[kPixel].constantBuffers, StartSlot, NumBuffers, ppConstantBuffers);
}

void ID3D11DeviceContext::VSSetShaderResources(UINT StartSlot, UINT NumViews,
                                               ID3D11ShaderResourceView* const* ppShaderResourceViews) {
  SetResourceSlots(*m_state, m_state->stages[kVertex], StartSlot, NumViews, ppShaderResourceViews, "VSSetShaderResources");
}
void ID3D11DeviceContext::GSSetShaderResources(UINT StartSlot, UINT NumViews,
                                               ID3D11ShaderResourceView* const* ppShaderResourceViews) {
  SetResourceSlots(*m_state, m_state->stages[kGeometry], StartSlot, NumViews, ppShaderResourceViews, "GSSetShaderResources");
}
void ID3D11DeviceContext::PSSetShaderResources(UINT StartSlot, UINT NumViews,
                                               ID3D11ShaderResourceView* const* ppShaderResourceViews) {
  SetResourceSlots(*m_state, m_state->stages[kPixel], StartSlot, NumViews, ppShaderResourceViews, "PSSetShaderResources");
}
void ID3D11DeviceContext::PSGetShaderResources(UINT StartSlot, UINT NumViews,
                                               ID3D11ShaderResourceView** ppShaderResourceViews) {
  GetSlots(m_state->stages[kPixel].resources, StartSlot, NumViews, ppShaderResourceViews);
}

void ID3D11DeviceContext::VSSetSamplers(UINT StartSlot, UINT NumSamplers, ID3D11SamplerState* const* ppSamplers) {
  SetSlots(m_state->stages[kVertex].samplers, StartSlot, NumSamplers, ppSamplers, "VSSetSamplers");
}
void ID3D11DeviceContext::GSSetSamplers(UINT StartSlot, UINT NumSamplers, ID3D11SamplerState* const* ppSamplers) {
  SetSlots(m_state->stages[kGeometry].samplers, StartSlot, NumSamplers, ppSamplers, "GSSetSamplers");
}
void ID3D11DeviceContext::PSSetSamplers(UINT StartSlot, UINT NumSamplers, ID3D11SamplerState* const* ppSamplers) {
  SetSlots(m_state->stages[kPixel].samplers, StartSlot, NumSamplers, ppSamplers, "PSSetSamplers");
}
void ID3D11DeviceContext::PSGetSamplers(UINT StartSlot, UINT NumSamplers, ID3D11SamplerState** ppSamplers) {
  GetSlots(m_state->stages[kPixel].samplers, StartSlot, NumSamplers, ppSamplers);
}

void ID3D11DeviceContext::RSSetState(ID3D11RasterizerState* pRasterizerState) {
  m_state->rasterizerState.Set(pRasterizerState);
  m_state->rasterizerDirty = true;
}
void ID3D11DeviceContext::RSGetState(ID3D11RasterizerState** ppRasterizerState) {
  if (ppRasterizerState != nullptr) *ppRasterizerState = m_state->rasterizerState.Share();
}

void ID3D11DeviceContext::RSSetViewports(UINT NumViewports, const D3D11_VIEWPORT* pViewports) {
  if (NumViewports > 1) platform::d3d11::ReportNotImplemented("more than one viewport");
  if (NumViewports == 0 || pViewports == nullptr) {
    m_state->viewportSet = false;
  } else {
    m_state->viewport = pViewports[0];
    m_state->viewportSet = true;
  }
  m_state->viewportDirty = true;
}
void ID3D11DeviceContext::RSGetViewports(UINT* pNumViewports, D3D11_VIEWPORT* pViewports) {
  if (pNumViewports == nullptr) return;
  if (pViewports == nullptr) {
    *pNumViewports = m_state->viewportSet ? 1 : 0;
    return;
  }
  if (*pNumViewports >= 1 && m_state->viewportSet) {
    pViewports[0] = m_state->viewport;
    *pNumViewports = 1;
  } else {
    *pNumViewports = 0;
  }
}

void ID3D11DeviceContext::RSSetScissorRects(UINT NumRects, const D3D11_RECT* pRects) {
  if (NumRects > 1) platform::d3d11::ReportNotImplemented("more than one scissor rectangle");
  m_state->scissor = NumRects > 0 && pRects != nullptr ? pRects[0] : D3D11_RECT{};
  m_state->viewportDirty = true;
}

void ID3D11DeviceContext::OMSetRenderTargets(UINT NumViews, ID3D11RenderTargetView* const* ppRenderTargetViews,
                                             ID3D11DepthStencilView* pDepthStencilView) {
  if (NumViews > D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT) NumViews = D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT;
  for (UINT i = 0; i < D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT; ++i) {
    m_state->renderTargets[i].Set(i < NumViews && ppRenderTargetViews != nullptr ? ppRenderTargetViews[i] : nullptr);
  }
  m_state->renderTargetCount = NumViews;
  m_state->depthStencilView.Set(pDepthStencilView);
  m_state->framebufferDirty = true;
  for (StageBindings& stage : m_state->stages) {
    for (auto& slot : stage.resources) {
      if (IsBoundAsOutput(*m_state, slot.get())) slot.Set(nullptr);
    }
  }
}

void ID3D11DeviceContext::OMGetRenderTargets(UINT NumViews, ID3D11RenderTargetView** ppRenderTargetViews,
                                             ID3D11DepthStencilView** ppDepthStencilView) {
  if (ppRenderTargetViews != nullptr) {
    for (UINT i = 0; i < NumViews; ++i) {
      ppRenderTargetViews[i] = i < D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT ? m_state->renderTargets[i].Share() : nullptr;
    }
  }
  if (ppDepthStencilView != nullptr) *ppDepthStencilView = m_state->depthStencilView.Share();
}

void ID3D11DeviceContext::OMSetBlendState(ID3D11BlendState* pBlendState, const FLOAT BlendFactor[4], UINT SampleMask) {
  m_state->blendState.Set(pBlendState);
  for (int i = 0; i < 4; ++i) m_state->blendFactor[i] = BlendFactor != nullptr ? BlendFactor[i] : 1.0f;
  m_state->sampleMask = SampleMask;
  m_state->blendDirty = true;
}

void ID3D11DeviceContext::OMGetBlendState(ID3D11BlendState** ppBlendState, FLOAT BlendFactor[4], UINT* pSampleMask) {
  if (ppBlendState != nullptr) *ppBlendState = m_state->blendState.Share();
  if (BlendFactor != nullptr) {
    for (int i = 0; i < 4; ++i) BlendFactor[i] = m_state->blendFactor[i];
  }
  if (pSampleMask != nullptr) *pSampleMask = m_state->sampleMask;
}

void ID3D11DeviceContext::OMSetDepthStencilState(ID3D11DepthStencilState* pDepthStencilState, UINT StencilRef) {
  m_state->depthStencilState.Set(pDepthStencilState);
  m_state->stencilRef = StencilRef;
  m_state->depthStencilDirty = true;
}

void ID3D11DeviceContext::OMGetDepthStencilState(ID3D11DepthStencilState** ppDepthStencilState, UINT* pStencilRef) {
  if (ppDepthStencilState != nullptr) *ppDepthStencilState = m_state->depthStencilState.Share();
  if (pStencilRef != nullptr) *pStencilRef = m_state->stencilRef;
}
