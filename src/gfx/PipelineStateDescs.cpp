#include "gfx/PipelineStateDescs.h"

D3D11_RASTERIZER_DESC RasterizerDesc(D3D11_CULL_MODE cullMode) {
  D3D11_RASTERIZER_DESC desc{};
  desc.FillMode = D3D11_FILL_SOLID;
  desc.CullMode = cullMode;
  desc.FrontCounterClockwise = FALSE;
  desc.DepthBias = 0;
  desc.DepthBiasClamp = 0.0f;
  desc.SlopeScaledDepthBias = 0.0f;
  desc.DepthClipEnable = TRUE;
  desc.ScissorEnable = FALSE;
  desc.MultisampleEnable = FALSE;
  desc.AntialiasedLineEnable = TRUE;
  return desc;
}

D3D11_BLEND_DESC BlendDesc(BOOL enabled, D3D11_BLEND source, D3D11_BLEND destination) {
  D3D11_BLEND_DESC desc{};
  desc.AlphaToCoverageEnable = FALSE;
  desc.IndependentBlendEnable = FALSE;
  desc.RenderTarget[0] = {enabled,         source,           destination,        D3D11_BLEND_OP_ADD,
                          D3D11_BLEND_ONE, D3D11_BLEND_ZERO, D3D11_BLEND_OP_ADD, D3D11_COLOR_WRITE_ENABLE_ALL};
  return desc;
}

D3D11_DEPTH_STENCIL_DESC DepthStencilDesc(BOOL depthEnabled, D3D11_DEPTH_WRITE_MASK writeMask) {
  D3D11_DEPTH_STENCIL_DESC desc{};
  desc.DepthEnable = depthEnabled;
  desc.DepthWriteMask = writeMask;
  desc.DepthFunc = D3D11_COMPARISON_LESS;
  desc.StencilEnable = TRUE;
  desc.StencilReadMask = 0xFF;
  desc.StencilWriteMask = 0xFF;
  desc.FrontFace = {D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_INCR, D3D11_STENCIL_OP_KEEP, D3D11_COMPARISON_ALWAYS};
  desc.BackFace = {D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_DECR, D3D11_STENCIL_OP_KEEP, D3D11_COMPARISON_ALWAYS};
  return desc;
}
