#include <epoxy/gl.h>

#include <cstdio>

#include "platform/d3d11/d3d11.h"
#include "platform/d3d11/gl_check.h"
#include "platform/d3d11/state_translation.h"

using namespace platform::d3d11;

namespace {

HRESULT Invalid(const char* what) {
  platform::d3d11::ReportRefusal("%s", what);
  return E_INVALIDARG;
}

bool ValidBlend(D3D11_BLEND blend) { return GLBlendFactor(blend) != 0xffffffffu; }
bool ValidComparison(D3D11_COMPARISON_FUNC func) { return func >= D3D11_COMPARISON_NEVER && func <= D3D11_COMPARISON_ALWAYS; }
bool ValidStencilOp(D3D11_STENCIL_OP op) { return op >= D3D11_STENCIL_OP_KEEP && op <= D3D11_STENCIL_OP_DECR; }
bool ValidBlendOp(D3D11_BLEND_OP op) { return op >= D3D11_BLEND_OP_ADD && op <= D3D11_BLEND_OP_MAX; }
bool ValidAddress(D3D11_TEXTURE_ADDRESS_MODE mode) {
  return mode >= D3D11_TEXTURE_ADDRESS_WRAP && mode <= D3D11_TEXTURE_ADDRESS_MIRROR_ONCE;
}

}  // namespace

HRESULT ID3D11Device::CreateBlendState(const D3D11_BLEND_DESC* pBlendStateDesc, ID3D11BlendState** ppBlendState) {
  if (pBlendStateDesc == nullptr) return Invalid("CreateBlendState: no description");
  const UINT described = pBlendStateDesc->IndependentBlendEnable ? 8 : 1;
  for (UINT i = 0; i < described; ++i) {
    const D3D11_RENDER_TARGET_BLEND_DESC& target = pBlendStateDesc->RenderTarget[i];
    if (!target.BlendEnable) continue;
    if (!ValidBlend(target.SrcBlend) || !ValidBlend(target.DestBlend) || !ValidBlend(target.SrcBlendAlpha) ||
        !ValidBlend(target.DestBlendAlpha) || !ValidBlendOp(target.BlendOp) || !ValidBlendOp(target.BlendOpAlpha)) {
      return Invalid("CreateBlendState: invalid factor or operation");
    }
  }
  if (ppBlendState == nullptr) return S_FALSE;
  *ppBlendState = new ID3D11BlendState(this, *pBlendStateDesc);
  return S_OK;
}

HRESULT ID3D11Device::CreateDepthStencilState(const D3D11_DEPTH_STENCIL_DESC* pDesc,
                                              ID3D11DepthStencilState** ppDepthStencilState) {
  if (pDesc == nullptr) return Invalid("CreateDepthStencilState: no description");
  if (pDesc->DepthEnable && !ValidComparison(pDesc->DepthFunc)) return Invalid("CreateDepthStencilState: depth function");
  if (pDesc->DepthWriteMask > D3D11_DEPTH_WRITE_MASK_ALL) return Invalid("CreateDepthStencilState: write mask");
  if (pDesc->StencilEnable) {
    for (const D3D11_DEPTH_STENCILOP_DESC* face : {&pDesc->FrontFace, &pDesc->BackFace}) {
      if (!ValidStencilOp(face->StencilFailOp) || !ValidStencilOp(face->StencilDepthFailOp) ||
          !ValidStencilOp(face->StencilPassOp) || !ValidComparison(face->StencilFunc)) {
        return Invalid("CreateDepthStencilState: invalid stencil operation");
      }
    }
  }
  if (ppDepthStencilState == nullptr) return S_FALSE;
  *ppDepthStencilState = new ID3D11DepthStencilState(this, *pDesc);
  return S_OK;
}

HRESULT ID3D11Device::CreateRasterizerState(const D3D11_RASTERIZER_DESC* pDesc,
                                            ID3D11RasterizerState** ppRasterizerState) {
  if (pDesc == nullptr) return Invalid("CreateRasterizerState: no description");
  if (pDesc->FillMode != D3D11_FILL_SOLID && pDesc->FillMode != D3D11_FILL_WIREFRAME) {
    return Invalid("CreateRasterizerState: fill mode");
  }
  if (pDesc->CullMode < D3D11_CULL_NONE || pDesc->CullMode > D3D11_CULL_BACK) {
    return Invalid("CreateRasterizerState: cull mode");
  }
  if (ppRasterizerState == nullptr) return S_FALSE;
  *ppRasterizerState = new ID3D11RasterizerState(this, *pDesc);
  return S_OK;
}

HRESULT ID3D11Device::CreateSamplerState(const D3D11_SAMPLER_DESC* pDesc, ID3D11SamplerState** ppSamplerState) {
  if (pDesc == nullptr) return Invalid("CreateSamplerState: no description");
  if (!ValidAddress(pDesc->AddressU) || !ValidAddress(pDesc->AddressV) || !ValidAddress(pDesc->AddressW)) {
    return Invalid("CreateSamplerState: address mode");
  }
  if (pDesc->MaxAnisotropy > 16) return Invalid("CreateSamplerState: anisotropy above 16");
  if (ppSamplerState == nullptr) return S_FALSE;
  auto* sampler = new ID3D11SamplerState(this, *pDesc);
  glCreateSamplers(1, &sampler->m_glSampler);
  ApplySamplerDesc(sampler->m_glSampler, *pDesc);
  if (!CheckGLError("CreateSamplerState")) {
    sampler->Release();
    return E_FAIL;
  }
  *ppSamplerState = sampler;
  return S_OK;
}
