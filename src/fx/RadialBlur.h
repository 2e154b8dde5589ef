#pragma once
// A zoom blur made of geometry: 32 full-screen rectangles, each sampling the source with its
// texture coordinates pulled a little further towards the centre and a smaller alpha, drawn in
// one call with additive blending. Over a cleared target it leaves streaks that run out from
// the centre; the alphas sum to just under one.
#include <cstdint>

#include "gfx/QuadGeometry.h"
#include "gfx/RenderContext.h"
#include "platform/d3d11/d3d11.h"

class PostProcessShader;

class RadialBlur : public ContextHolder {
 public:
  static constexpr int32_t kLayerCount = 32;
  static constexpr uint32_t kVertexCount = kLayerCount * kQuadVertexCount;

  explicit RadialBlur(const RenderContext& renderContext) : ContextHolder(renderContext) {}
  ~RadialBlur() { Shutdown(); }
  RadialBlur(const RadialBlur&) = delete;
  RadialBlur& operator=(const RadialBlur&) = delete;

  bool Create();
  // Draws the layers with sourceTexture into whatever target is bound.
  void Render();
  void Shutdown();

  ID3D11Buffer* vertexBuffer = nullptr;
  ID3D11Buffer* indexBuffer = nullptr;
  ID3D11ShaderResourceView* sourceTexture = nullptr;  // set by the caller, borrowed
  uint32_t vertexCount = 0;
  uint32_t indexCount = 0;
  int32_t layerCount = kLayerCount;
  float step = 0.005f;     // texture-coordinate inset per layer on each side
  float maxAlpha = 0.06f;  // alpha of the outermost layer
  PostProcessShader* shader = nullptr;
};

// The mesh: layer i covers the screen (width × height pixels, origin at the centre) with the
// texture rectangle inset by i × step on every side and alpha maxAlpha / layers × (layers − i).
void BuildRadialBlurLayers(int32_t width, int32_t height, float step, float maxAlpha,
                           QuadVertex out[RadialBlur::kVertexCount]);
