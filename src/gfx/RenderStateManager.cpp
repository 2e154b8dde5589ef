#include "gfx/RenderStateManager.h"

#include "gfx/PipelineStateDescs.h"
#include "gfx/ReleaseAndForget.h"

bool RenderStateManager::Initialize(ID3D11Device* device_, ID3D11DeviceContext* context_) {
  device = device_;
  context = context_;

  const D3D11_RASTERIZER_DESC cullBack = RasterizerDesc(D3D11_CULL_BACK);
  const D3D11_RASTERIZER_DESC cullFront = RasterizerDesc(D3D11_CULL_FRONT);
  const D3D11_RASTERIZER_DESC cullNone = RasterizerDesc(D3D11_CULL_NONE);
  if (FAILED(device->CreateRasterizerState(&cullBack, &rasterCullBack))) return false;
  if (FAILED(device->CreateRasterizerState(&cullFront, &rasterCullFront))) return false;
  if (FAILED(device->CreateRasterizerState(&cullNone, &rasterCullNone))) return false;
  context->RSSetState(rasterCullBack);

  const D3D11_BLEND_DESC alpha = BlendDesc(TRUE, D3D11_BLEND_SRC_ALPHA, D3D11_BLEND_INV_SRC_ALPHA);
  const D3D11_BLEND_DESC additive = BlendDesc(TRUE, D3D11_BLEND_ONE, D3D11_BLEND_ONE);
  const D3D11_BLEND_DESC opaque = BlendDesc(FALSE, D3D11_BLEND_SRC_ALPHA, D3D11_BLEND_INV_SRC_ALPHA);
  if (FAILED(device->CreateBlendState(&alpha, &blendAlpha))) return false;
  if (FAILED(device->CreateBlendState(&additive, &blendAdditive))) return false;
  if (FAILED(device->CreateBlendState(&opaque, &blendOpaque))) return false;
  const float blendFactor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  context->OMSetBlendState(blendOpaque, blendFactor, 0xFFFFFFFF);

  const D3D11_DEPTH_STENCIL_DESC on = DepthStencilDesc(TRUE, D3D11_DEPTH_WRITE_MASK_ALL);
  const D3D11_DEPTH_STENCIL_DESC readOnly = DepthStencilDesc(TRUE, D3D11_DEPTH_WRITE_MASK_ZERO);
  const D3D11_DEPTH_STENCIL_DESC off = DepthStencilDesc(FALSE, D3D11_DEPTH_WRITE_MASK_ZERO);
  if (FAILED(device->CreateDepthStencilState(&on, &depthOn))) return false;
  if (FAILED(device->CreateDepthStencilState(&readOnly, &depthReadOnly))) return false;
  if (FAILED(device->CreateDepthStencilState(&off, &depthOff))) return false;
  context->OMSetDepthStencilState(depthOn, 1);
  return true;
}

void RenderStateManager::Shutdown() {
  ReleaseAndForget(depthOff);
  ReleaseAndForget(depthReadOnly);
  ReleaseAndForget(depthOn);
  ReleaseAndForget(blendOpaque);
  ReleaseAndForget(blendAdditive);
  ReleaseAndForget(blendAlpha);
  ReleaseAndForget(rasterCullBack);
  ReleaseAndForget(rasterCullFront);
  ReleaseAndForget(rasterCullNone);
}
