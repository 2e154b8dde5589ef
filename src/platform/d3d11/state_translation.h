#pragma once
// Direct3D state descriptions in OpenGL terms.
#include <cstdint>

#include "platform/d3d11/d3d11.h"

namespace platform::d3d11 {

uint32_t GLBlendFactor(D3D11_BLEND blend);  // 0xffffffff for values outside the subset
uint32_t GLBlendOp(D3D11_BLEND_OP op);
uint32_t GLComparison(D3D11_COMPARISON_FUNC func);
uint32_t GLStencilOp(D3D11_STENCIL_OP op);

void ApplySamplerDesc(uint32_t glSampler, const D3D11_SAMPLER_DESC& desc);

// The current GL pipeline state takes the description (null means Direct3D's default state).
void ApplyBlendState(const D3D11_BLEND_DESC* desc, const float blendFactor[4], uint32_t sampleMask);
void ApplyRasterizerState(const D3D11_RASTERIZER_DESC* desc);
void ApplyDepthStencilState(const D3D11_DEPTH_STENCIL_DESC* desc, uint32_t stencilRef);

}  // namespace platform::d3d11
