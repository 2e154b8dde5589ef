#pragma once
// The background decoration of the blob scene: horizontal bars across the whole screen, each
// with its own thickness, speed and transparency, drifting upwards and starting again below
// the bottom edge. Each bar is brighter and more opaque at its upper edge.
#include <cstdint>
#include <memory>

#include "gfx/QuadGeometry.h"
#include "gfx/RenderContext.h"
#include "platform/d3d11/d3d11.h"

class PostProcessShader;

struct DesignLine {
  float y;          // lower edge in pixels, origin at the screen centre, upwards
  float thickness;  // pixels
  float speed;
  float alpha;
};

class DesignLines : public ContextHolder {
 public:
  explicit DesignLines(const RenderContext& renderContext) : ContextHolder(renderContext) {}
  ~DesignLines() { Shutdown(); }
  DesignLines(const DesignLines&) = delete;
  DesignLines& operator=(const DesignLines&) = delete;

  // Seeds the shared random sequence from the calendar time and places the lines with it.
  bool Create();
  // Moves the lines by the Timer's delta, rebuilds and uploads them and draws them into the
  // bound target.
  void Render();
  // The steps of Render before the draw.
  void Move(int64_t deltaMs);
  void BuildVertices();
  void Shutdown();

  ID3D11Buffer* vertexBuffer = nullptr;
  ID3D11Buffer* indexBuffer = nullptr;
  uint32_t vertexCount = 0;
  uint32_t indexCount = 0;
  int32_t lineCount = 10;
  int32_t blendMode = 0;  // 0 alpha blending, 1 additive, else the bound blend state stays
  D3DXCOLOR colour = D3DXCOLOR(1.0f, 1.0f, 1.0f, 0.0f);
  float brightness = 0.6f;
  int32_t thicknessRange = 10;
  float speedRange = 64.0f;
  std::unique_ptr<DesignLine[]> lines;
  PostProcessShader* shader = nullptr;
  std::unique_ptr<QuadVertex[]> vertices;
};
