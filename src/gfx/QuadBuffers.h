#pragma once
// The Direct3D side of a screen quad, shared by Quad and EffectQuad: its two buffers, and binding
// them with the states every screen quad draws with.
#include "gfx/QuadGeometry.h"
#include "platform/d3d11/d3d11.h"

class RenderStateManager;

// A vertex buffer with the six vertices (dynamic and CPU-writable when the quad's corners move
// per frame) and an index buffer 0..5. False when either cannot be created.
bool CreateQuadBuffers(ID3D11Device* device, const QuadVertex vertices[kQuadVertexCount], bool dynamic,
                       ID3D11Buffer** vertexBuffer, ID3D11Buffer** indexBuffer);

// Both buffers as a triangle list; no culling, no depth test, opaque or alpha blending.
void BindQuadForDrawing(ID3D11DeviceContext* context, ID3D11Buffer* vertexBuffer, ID3D11Buffer* indexBuffer,
                        const RenderStateManager& states, bool alphaBlend);
