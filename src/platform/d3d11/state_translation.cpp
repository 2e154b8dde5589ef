#include "platform/d3d11/state_translation.h"

#include <epoxy/gl.h>

namespace platform::d3d11 {

uint32_t GLBlendFactor(D3D11_BLEND blend) {
  switch (blend) {
    case D3D11_BLEND_ZERO: return GL_ZERO;
    case D3D11_BLEND_ONE: return GL_ONE;
    case D3D11_BLEND_SRC_COLOR: return GL_SRC_COLOR;
    case D3D11_BLEND_INV_SRC_COLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3D11_BLEND_SRC_ALPHA: return GL_SRC_ALPHA;
    case D3D11_BLEND_INV_SRC_ALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3D11_BLEND_DEST_ALPHA: return GL_DST_ALPHA;
    case D3D11_BLEND_INV_DEST_ALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3D11_BLEND_DEST_COLOR: return GL_DST_COLOR;
    case D3D11_BLEND_INV_DEST_COLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3D11_BLEND_SRC_ALPHA_SAT: return GL_SRC_ALPHA_SATURATE;
    case D3D11_BLEND_BLEND_FACTOR: return GL_CONSTANT_COLOR;
    case D3D11_BLEND_INV_BLEND_FACTOR: return GL_ONE_MINUS_CONSTANT_COLOR;
  }
  return 0xffffffffu;
}

uint32_t GLBlendOp(D3D11_BLEND_OP op) {
  switch (op) {
    case D3D11_BLEND_OP_ADD: return GL_FUNC_ADD;
    case D3D11_BLEND_OP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3D11_BLEND_OP_REV_SUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3D11_BLEND_OP_MIN: return GL_MIN;
    case D3D11_BLEND_OP_MAX: return GL_MAX;
  }
  return GL_FUNC_ADD;
}

uint32_t GLComparison(D3D11_COMPARISON_FUNC func) {
  switch (func) {
    case D3D11_COMPARISON_NEVER: return GL_NEVER;
    case D3D11_COMPARISON_LESS: return GL_LESS;
    case D3D11_COMPARISON_EQUAL: return GL_EQUAL;
    case D3D11_COMPARISON_LESS_EQUAL: return GL_LEQUAL;
    case D3D11_COMPARISON_GREATER: return GL_GREATER;
    case D3D11_COMPARISON_NOT_EQUAL: return GL_NOTEQUAL;
    case D3D11_COMPARISON_GREATER_EQUAL: return GL_GEQUAL;
    case D3D11_COMPARISON_ALWAYS: return GL_ALWAYS;
  }
  return GL_ALWAYS;
}

uint32_t GLStencilOp(D3D11_STENCIL_OP op) {
  switch (op) {
    case D3D11_STENCIL_OP_KEEP: return GL_KEEP;
    case D3D11_STENCIL_OP_ZERO: return GL_ZERO;
    case D3D11_STENCIL_OP_REPLACE: return GL_REPLACE;
    case D3D11_STENCIL_OP_INCR_SAT: return GL_INCR;
    case D3D11_STENCIL_OP_DECR_SAT: return GL_DECR;
    case D3D11_STENCIL_OP_INVERT: return GL_INVERT;
    case D3D11_STENCIL_OP_INCR: return GL_INCR_WRAP;
    case D3D11_STENCIL_OP_DECR: return GL_DECR_WRAP;
  }
  return GL_KEEP;
}

namespace {

GLenum GLAddress(D3D11_TEXTURE_ADDRESS_MODE mode) {
  switch (mode) {
    case D3D11_TEXTURE_ADDRESS_WRAP: return GL_REPEAT;
    case D3D11_TEXTURE_ADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D3D11_TEXTURE_ADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D3D11_TEXTURE_ADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
    case D3D11_TEXTURE_ADDRESS_MIRROR_ONCE: return GL_MIRROR_CLAMP_TO_EDGE;
  }
  return GL_REPEAT;
}

}  // namespace

void ApplySamplerDesc(uint32_t sampler, const D3D11_SAMPLER_DESC& desc) {
  // Filter bits: mip linear 0x1, mag linear 0x4, min linear 0x10, anisotropic 0x40, comparison 0x80.
  const uint32_t filter = desc.Filter;
  const bool mipLinear = (filter & 0x1) != 0;
  const bool magLinear = (filter & 0x4) != 0;
  const bool minLinear = (filter & 0x10) != 0;
  GLenum minFilter;
  if (minLinear) {
    minFilter = mipLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST;
  } else {
    minFilter = mipLinear ? GL_NEAREST_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
  }
  glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter));
  glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, magLinear ? GL_LINEAR : GL_NEAREST);
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, static_cast<GLint>(GLAddress(desc.AddressU)));
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, static_cast<GLint>(GLAddress(desc.AddressV)));
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_R, static_cast<GLint>(GLAddress(desc.AddressW)));
  glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, desc.MipLODBias);
  glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, desc.MinLOD);
  glSamplerParameterf(sampler, GL_TEXTURE_MAX_LOD, desc.MaxLOD);
  glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, desc.BorderColor);
  if ((filter & 0x40) != 0 && desc.MaxAnisotropy > 1) {
    glSamplerParameterf(sampler, GL_TEXTURE_MAX_ANISOTROPY, static_cast<float>(desc.MaxAnisotropy));
  }
  if ((filter & 0x80) != 0) {
    glSamplerParameteri(sampler, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
    glSamplerParameteri(sampler, GL_TEXTURE_COMPARE_FUNC, static_cast<GLint>(GLComparison(desc.ComparisonFunc)));
  }
}

void ApplyBlendState(const D3D11_BLEND_DESC* desc, const float blendFactor[4], uint32_t sampleMask) {
  static const D3D11_RENDER_TARGET_BLEND_DESC kDefaultTarget = {
      FALSE, D3D11_BLEND_ONE, D3D11_BLEND_ZERO, D3D11_BLEND_OP_ADD, D3D11_BLEND_ONE, D3D11_BLEND_ZERO,
      D3D11_BLEND_OP_ADD, D3D11_COLOR_WRITE_ENABLE_ALL};
  if (desc != nullptr && desc->AlphaToCoverageEnable) {
    glEnable(GL_SAMPLE_ALPHA_TO_COVERAGE);
  } else {
    glDisable(GL_SAMPLE_ALPHA_TO_COVERAGE);
  }
  for (GLuint i = 0; i < D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT; ++i) {
    const D3D11_RENDER_TARGET_BLEND_DESC& target =
        desc == nullptr ? kDefaultTarget : desc->RenderTarget[desc->IndependentBlendEnable ? i : 0];
    if (target.BlendEnable) {
      glEnablei(GL_BLEND, i);
      glBlendFuncSeparatei(i, GLBlendFactor(target.SrcBlend), GLBlendFactor(target.DestBlend),
                           GLBlendFactor(target.SrcBlendAlpha), GLBlendFactor(target.DestBlendAlpha));
      glBlendEquationSeparatei(i, GLBlendOp(target.BlendOp), GLBlendOp(target.BlendOpAlpha));
    } else {
      glDisablei(GL_BLEND, i);
    }
    const UINT8 mask = target.RenderTargetWriteMask;
    glColorMaski(i, (mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0);
  }
  glBlendColor(blendFactor[0], blendFactor[1], blendFactor[2], blendFactor[3]);
  glSampleMaski(0, sampleMask);
}

void ApplyRasterizerState(const D3D11_RASTERIZER_DESC* desc) {
  static const D3D11_RASTERIZER_DESC kDefault = {D3D11_FILL_SOLID, D3D11_CULL_BACK, FALSE, 0, 0.0f, 0.0f,
                                                 TRUE, FALSE, FALSE, FALSE};
  const D3D11_RASTERIZER_DESC& state = desc != nullptr ? *desc : kDefault;
  glPolygonMode(GL_FRONT_AND_BACK, state.FillMode == D3D11_FILL_WIREFRAME ? GL_LINE : GL_FILL);
  if (state.CullMode == D3D11_CULL_NONE) {
    glDisable(GL_CULL_FACE);
  } else {
    glEnable(GL_CULL_FACE);
    glCullFace(state.CullMode == D3D11_CULL_FRONT ? GL_FRONT : GL_BACK);
  }
  // GL_UPPER_LEFT flips y before GL decides the winding, so GL sees the same turn as Direct3D
  // (checked against a drawn triangle in the tests).
  glFrontFace(state.FrontCounterClockwise ? GL_CCW : GL_CW);
  if (state.DepthBias != 0 || state.SlopeScaledDepthBias != 0.0f) {
    glEnable(GL_POLYGON_OFFSET_FILL);
    glEnable(GL_POLYGON_OFFSET_LINE);
    // D24 depth: one unit of Direct3D bias is one unit of GL's offset.
    if (epoxy_gl_version() >= 46 || epoxy_has_gl_extension("GL_ARB_polygon_offset_clamp")) {
      glPolygonOffsetClamp(state.SlopeScaledDepthBias, static_cast<float>(state.DepthBias), state.DepthBiasClamp);
    } else {
      glPolygonOffset(state.SlopeScaledDepthBias, static_cast<float>(state.DepthBias));
    }
  } else {
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDisable(GL_POLYGON_OFFSET_LINE);
  }
  if (state.DepthClipEnable) {
    glDisable(GL_DEPTH_CLAMP);
  } else {
    glEnable(GL_DEPTH_CLAMP);
  }
  if (state.ScissorEnable) {
    glEnable(GL_SCISSOR_TEST);
  } else {
    glDisable(GL_SCISSOR_TEST);
  }
  if (state.AntialiasedLineEnable && !state.MultisampleEnable) {
    glEnable(GL_LINE_SMOOTH);
  } else {
    glDisable(GL_LINE_SMOOTH);
  }
}

void ApplyDepthStencilState(const D3D11_DEPTH_STENCIL_DESC* desc, uint32_t stencilRef) {
  static const D3D11_DEPTH_STENCIL_DESC kDefault = {
      TRUE, D3D11_DEPTH_WRITE_MASK_ALL, D3D11_COMPARISON_LESS, FALSE, 0xff, 0xff,
      {D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP, D3D11_COMPARISON_ALWAYS},
      {D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP, D3D11_COMPARISON_ALWAYS}};
  const D3D11_DEPTH_STENCIL_DESC& state = desc != nullptr ? *desc : kDefault;
  if (state.DepthEnable) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GLComparison(state.DepthFunc));
    glDepthMask(state.DepthWriteMask == D3D11_DEPTH_WRITE_MASK_ALL ? GL_TRUE : GL_FALSE);
  } else {
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
  }
  if (state.StencilEnable) {
    glEnable(GL_STENCIL_TEST);
    const D3D11_DEPTH_STENCILOP_DESC* faces[2] = {&state.FrontFace, &state.BackFace};
    const GLenum glFaces[2] = {GL_FRONT, GL_BACK};
    for (int i = 0; i < 2; ++i) {
      glStencilFuncSeparate(glFaces[i], GLComparison(faces[i]->StencilFunc), static_cast<GLint>(stencilRef),
                            state.StencilReadMask);
      glStencilOpSeparate(glFaces[i], GLStencilOp(faces[i]->StencilFailOp), GLStencilOp(faces[i]->StencilDepthFailOp),
                          GLStencilOp(faces[i]->StencilPassOp));
    }
    glStencilMask(state.StencilWriteMask);
  } else {
    glDisable(GL_STENCIL_TEST);
    glStencilMask(0xff);
  }
}

}  // namespace platform::d3d11
