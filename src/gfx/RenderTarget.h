#pragma once
// One off-screen colour target: a 128-bit float RGBA texture with its render-target and
// shader-resource views and a viewport of its own size (full, half or quarter screen).
#include "gfx/RenderContext.h"
#include "platform/d3d11/d3d11.h"

class RenderTarget : public ContextHolder {
 public:
  explicit RenderTarget(const RenderContext& renderContext) : ContextHolder(renderContext) {}
  ~RenderTarget() { Shutdown(); }
  RenderTarget(const RenderTarget&) = delete;
  RenderTarget& operator=(const RenderTarget&) = delete;

  // factor 1 full, 0.5 half, 0.25 quarter of the screen; the texture size is truncated.
  bool Create(float factor);
  void SetAsTarget();
  // Opaque black and depth 1.0.
  void Clear();
  void Shutdown();

  ID3D11Texture2D* texture = nullptr;
  ID3D11RenderTargetView* renderTargetView = nullptr;
  ID3D11ShaderResourceView* shaderResourceView = nullptr;
  D3D11_VIEWPORT viewport = {};
  // How the frame profiler names the passes drawn into this target.
  const char* name = "render target";
};
