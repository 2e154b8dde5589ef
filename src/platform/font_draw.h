#pragma once
// Text on the D3D11 layer: a face's glyph atlas uploaded once per pixel size, each string drawn
// as textured quads in one draw, blended over whatever is bound, in the colour given as
// 0xAABBGGRR. Positions are pixels of the current viewport, the top-left of the line box.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/d3d11/d3d11.h"
#include "platform/font_atlas.h"

struct FT_FaceRec_;

namespace platform {

// Flag of DrawString: put back every pipeline state the drawing changed.
constexpr uint32_t FW1_RESTORESTATE = 0x800;

class FontRenderer {
 public:
  explicit FontRenderer(ID3D11Device* device) : m_device(device) {}
  FontRenderer(const FontRenderer&) = delete;
  FontRenderer& operator=(const FontRenderer&) = delete;
  ~FontRenderer();

  // Nothing is drawn when the shaders, the atlas or a buffer cannot be made; a failed part is
  // not tried again every frame.
  void DrawString(ID3D11DeviceContext* context, FT_FaceRec_* face, const WCHAR* text, float size, float x, float y,
                  uint32_t colour, uint32_t flags);
  // A filled rectangle in pixels of the current viewport, blended like text (a backing for
  // lines that must stay legible over any picture); drawn with the atlas of that size.
  void FillRectangle(ID3D11DeviceContext* context, FT_FaceRec_* face, float size, float x, float y, float width,
                     float height, uint32_t colour, uint32_t flags);

  // The atlas drawn with at a size, made on first use; null when it cannot be made.
  const GlyphAtlas* AtlasFor(FT_FaceRec_* face, float size);

 private:
  struct SizedAtlas {
    GlyphAtlas atlas;
    ID3D11Texture2D* texture = nullptr;
    ID3D11ShaderResourceView* view = nullptr;
    bool usable = false;
  };
  struct Vertex {
    float x, y, u, v;
  };

  bool CreatePipeline();
  SizedAtlas* SizedAtlasFor(FT_FaceRec_* face, float size);
  bool ReserveVertices(size_t count);
  // The glyph quads of the text, pen starting at (x, y + ascender); '\n' starts a new line.
  void Layout(const GlyphAtlas& atlas, const WCHAR* text, float x, float y);
  void AddQuad(float left, float top, float right, float bottom, float u0, float v0, float u1, float v1);
  // Draws m_vertices with the atlas in the colour.
  void Submit(ID3D11DeviceContext* context, SizedAtlas& sized, uint32_t colour, uint32_t flags);

  ID3D11Device* m_device = nullptr;
  bool m_pipelineTried = false;
  bool m_pipelineReady = false;
  ID3D11VertexShader* m_vertexShader = nullptr;
  ID3D11PixelShader* m_pixelShader = nullptr;
  ID3D11InputLayout* m_inputLayout = nullptr;
  ID3D11Buffer* m_constants = nullptr;
  ID3D11SamplerState* m_sampler = nullptr;
  ID3D11BlendState* m_blendState = nullptr;
  ID3D11RasterizerState* m_rasterizerState = nullptr;
  ID3D11DepthStencilState* m_depthStencilState = nullptr;
  ID3D11Buffer* m_vertexBuffer = nullptr;
  size_t m_vertexCapacity = 0;
  std::vector<std::unique_ptr<SizedAtlas>> m_atlases;
  std::vector<Vertex> m_vertices;
};

}  // namespace platform
