#pragma once
// A screen rectangle in percent of the screen, drawn through the post-processing program with
// one effect number. Built from a numbered preset; keyframes animate its alpha and, for dynamic
// presets, its corners and texture coordinates over show time.
#include <cstdint>
#include <vector>

#include "gfx/QuadGeometry.h"
#include "gfx/QuadKeyframe.h"
#include "gfx/QuadPreset.h"
#include "gfx/RenderContext.h"
#include "platform/d3d11/d3d11.h"

#include "gfx/shaders/PostProcessShader.h"

class Quad : public ContextHolder {
 public:
  explicit Quad(const RenderContext& renderContext);
  ~Quad() { Shutdown(); }
  Quad(const Quad&) = delete;
  Quad& operator=(const Quad&) = delete;

  bool Create(int32_t presetNumber, int32_t sizeClass);
  void AddKeyframe(const QuadKeyframe& keyframe);
  // True when a keyframe covers the current show time; its values are then applied.
  bool Animate();
  // True when a keyframe covers `now`: the quad will draw then.
  bool KeyedAt(int64_t now) const;
  // The alpha the keyframes give at `now`; 0 when none covers it (the quad does not draw).
  float KeyedAlphaAt(int64_t now) const;
  void RebuildVertices();
  void UploadVertices();
  void Render(int32_t effect);
  void Shutdown();

  ID3D11Buffer* vertexBuffer = nullptr;
  ID3D11Buffer* indexBuffer = nullptr;
  ID3D11ShaderResourceView* texture = nullptr;
  bool hasTexture = false;
  bool blend = false;
  float alpha = 0.0f;
  bool overlay = false;
  uint32_t vertexCount = 0;
  uint32_t indexCount = 0;
  int32_t sizeClass = 3;
  int32_t presetNumber = kQuadPresetCount;
  QuadPreset preset;
  D3DXVECTOR2 currentCorners[4];
  D3DXVECTOR2 currentTexCoords[4];
  PostProcessShader* shader = nullptr;
  QuadVertex* vertices = nullptr;
  std::vector<QuadKeyframe> keyframes;
};

// The eight values a quad hands to the post-processing program per draw: effect number,
// hasTexture, blend, alpha, overlay, 0, screen width, entry count (the screen width again).
PostProcessParameters BuildEffectParameters(const Quad& quad, int32_t effect);
