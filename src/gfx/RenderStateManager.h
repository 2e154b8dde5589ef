#pragma once
// The nine fixed pipeline states of the show, created once; drawing objects bind what they need.
#include "platform/d3d11/d3d11.h"

class RenderStateManager {
 public:
  RenderStateManager() = default;
  RenderStateManager(const RenderStateManager&) = delete;
  RenderStateManager& operator=(const RenderStateManager&) = delete;
  ~RenderStateManager() { Shutdown(); }

  // Creates the states and binds rasterCullBack, blendOpaque and depthOn (stencil reference 1).
  bool Initialize(ID3D11Device* device, ID3D11DeviceContext* context);
  // Releases the states that exist; device and context are borrowed.
  void Shutdown();

  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* context = nullptr;
  ID3D11RasterizerState* rasterCullBack = nullptr;
  ID3D11RasterizerState* rasterCullFront = nullptr;
  ID3D11RasterizerState* rasterCullNone = nullptr;
  ID3D11BlendState* blendAlpha = nullptr;
  ID3D11BlendState* blendAdditive = nullptr;
  ID3D11BlendState* blendOpaque = nullptr;
  ID3D11DepthStencilState* depthOn = nullptr;
  ID3D11DepthStencilState* depthReadOnly = nullptr;
  ID3D11DepthStencilState* depthOff = nullptr;
};
