#pragma once
// Push and squeeze transitions: during a key's window two textured rectangles that together
// cover the screen move or resize in one of four directions, driven by a progress of 0 to 100.
// Outside every window nothing is drawn.
#include <cstdint>
#include <vector>

#include "gfx/QuadGeometry.h"
#include "gfx/RenderContext.h"
#include "platform/d3d11/d3d11.h"

class PostProcessShader;

struct SlideKey {
  int32_t mode = 0;      // 0 up, 1 down, 2 left, 3 right
  bool squeeze = false;  // false: push, the picture moves unchanged
  int32_t interpolation = 0;  // 0 linear, 1 cosine
  int64_t start = 0;
  int64_t end = 0;
  ID3D11ShaderResourceView* textureA = nullptr;  // borrowed
  ID3D11ShaderResourceView* textureB = nullptr;
  int32_t effectA = 0;
  int32_t effectB = 0;
};

// A rectangle in percent of the screen, x to the right and y downwards.
struct SlideRect {
  float left, top, right, bottom;
};

// Where rectangles A and B lie at progress r (0 to 100); an unknown mode gives two empty
// rectangles at the top-left.
void SlideRectangles(int32_t mode, bool squeeze, float r, SlideRect* a, SlideRect* b);

class Slide : public ContextHolder {
 public:
  static constexpr uint32_t kVertexCount = 12;

  explicit Slide(const RenderContext& renderContext) : ContextHolder(renderContext) {}
  ~Slide() { Shutdown(); }
  Slide(const Slide&) = delete;
  Slide& operator=(const Slide&) = delete;

  bool Create();
  void AddKey(const SlideKey& key);
  // Finds the first key whose window holds the current show time and sets progress, the
  // textures and activeKey from it; false when none does.
  bool FindActiveKey();
  // Rebuilds the twelve vertices from the active key's mode and the progress.
  void BuildVertices();
  void Render();
  void Shutdown();

  ID3D11Buffer* vertexBuffer = nullptr;
  ID3D11Buffer* indexBuffer = nullptr;
  uint32_t vertexCount = 0;
  uint32_t indexCount = 0;
  int32_t sizeClass = 3;
  PostProcessShader* shader = nullptr;
  QuadVertex* vertices = nullptr;
  float progress = 0.0f;
  ID3D11ShaderResourceView* textureA = nullptr;
  ID3D11ShaderResourceView* textureB = nullptr;
  int32_t activeKey = -1;
  std::vector<SlideKey> keys;
};
