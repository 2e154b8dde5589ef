#pragma once
// The descriptions behind the show's fixed pipeline states, shared by the device's defaults and
// the RenderStateManager's nine states.
#include "platform/d3d11/d3d11.h"

// Solid fill, clockwise fronts, depth clipping, antialiased lines.
D3D11_RASTERIZER_DESC RasterizerDesc(D3D11_CULL_MODE cullMode);
// Colour blended from source to destination on the first target; alpha keeps the source's.
D3D11_BLEND_DESC BlendDesc(BOOL enabled, D3D11_BLEND source, D3D11_BLEND destination);
// Depth test LESS; the stencil counts front faces up and back faces down.
D3D11_DEPTH_STENCIL_DESC DepthStencilDesc(BOOL depthEnabled, D3D11_DEPTH_WRITE_MASK writeMask);
