#pragma once
// The Direct3D side of screen geometry, shared by Quad, EffectQuad and the effects built from
// screen rectangles (slides, design lines, radial blur): a vertex buffer of 36-byte vertices with
// an index buffer 0..n-1, uploading, and binding them with the states screen geometry draws with.
#include <cstdint>

#include "gfx/QuadGeometry.h"
#include "platform/d3d11/d3d11.h"

class RenderStateManager;

// A vertex buffer with count vertices (dynamic and CPU-writable when they are rewritten per
// frame) and an index buffer 0..count-1 of 32-bit indices. False when either cannot be created.
bool CreateScreenBuffers(ID3D11Device* device, const QuadVertex* vertices, uint32_t count, bool dynamic,
                         ID3D11Buffer** vertexBuffer, ID3D11Buffer** indexBuffer);

// The six vertices of one quad.
bool CreateQuadBuffers(ID3D11Device* device, const QuadVertex vertices[kQuadVertexCount], bool dynamic,
                       ID3D11Buffer** vertexBuffer, ID3D11Buffer** indexBuffer);

// Rewrites a dynamic vertex buffer whole; a failed map leaves it as it was.
void UploadScreenVertices(ID3D11DeviceContext* context, ID3D11Buffer* vertexBuffer, const QuadVertex* vertices,
                          uint32_t count);

// Both buffers as a triangle list; no culling, no depth test, and the given blend state (a
// null one leaves the bound blend state as it is).
void BindScreenGeometry(ID3D11DeviceContext* context, ID3D11Buffer* vertexBuffer, ID3D11Buffer* indexBuffer,
                        const RenderStateManager& states, ID3D11BlendState* blendState);

// As BindScreenGeometry with opaque or alpha blending.
void BindQuadForDrawing(ID3D11DeviceContext* context, ID3D11Buffer* vertexBuffer, ID3D11Buffer* indexBuffer,
                        const RenderStateManager& states, bool alphaBlend);
