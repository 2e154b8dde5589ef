#include <epoxy/gl.h>

#include <cstdio>

#include "platform/d3d11/context_state.h"
#include "platform/d3d11/d3d11.h"
#include "platform/d3d11/formats.h"
#include "platform/d3d11/gl_check.h"
#include "platform/d3d11/gl_context.h"
#include "platform/d3d11/layer_clock.h"
#include "platform/d3d11/shader_code.h"
#include "platform/d3d11/state_translation.h"

using namespace platform::d3d11;

namespace {

bool KnownTopology(D3D11_PRIMITIVE_TOPOLOGY topology) {
  return topology >= D3D11_PRIMITIVE_TOPOLOGY_POINTLIST && topology <= D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP;
}

GLenum GLTopology(D3D11_PRIMITIVE_TOPOLOGY topology) {
  switch (topology) {
    case D3D11_PRIMITIVE_TOPOLOGY_POINTLIST: return GL_POINTS;
    case D3D11_PRIMITIVE_TOPOLOGY_LINELIST: return GL_LINES;
    case D3D11_PRIMITIVE_TOPOLOGY_LINESTRIP: return GL_LINE_STRIP;
    case D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST: return GL_TRIANGLES;
    case D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    default: return GL_TRIANGLES;
  }
}

GLenum DepthAttachment(ID3D11Resource* resource) {
  D3D11_TEXTURE2D_DESC desc;
  static_cast<ID3D11Texture2D*>(resource)->GetDesc(&desc);
  return desc.Format == DXGI_FORMAT_D32_FLOAT ? GL_DEPTH_ATTACHMENT : GL_DEPTH_STENCIL_ATTACHMENT;
}

// The GL texture and mip level a view writes to.
template <class Desc, class View>
void ViewTargetOf(View* view, GLuint* texture, GLint* level) {
  ID3D11Resource* resource = nullptr;
  view->GetResource(&resource);
  *texture = resource->glName();
  resource->Release();
  Desc desc{};
  view->GetDesc(&desc);
  *level = static_cast<GLint>(desc.Texture2D.MipSlice);
}

void ViewTarget(ID3D11RenderTargetView* view, GLuint* texture, GLint* level) {
  ViewTargetOf<D3D11_RENDER_TARGET_VIEW_DESC>(view, texture, level);
}

void ViewTarget(ID3D11DepthStencilView* view, GLuint* texture, GLint* level) {
  ViewTargetOf<D3D11_DEPTH_STENCIL_VIEW_DESC>(view, texture, level);
}

void CreateEmptyTextures(uint32_t (&textures)[4]) {
  const uint8_t transparent[4] = {0, 0, 0, 0};
  const GLenum targets[4] = {GL_TEXTURE_2D, GL_TEXTURE_CUBE_MAP, GL_TEXTURE_3D, GL_TEXTURE_2D_ARRAY};
  for (int kind = 0; kind < 4; ++kind) {
    const GLenum target = targets[kind];
    GLuint& texture = textures[kind];
    glCreateTextures(target, 1, &texture);
    // Cube maps take 2D storage and are filled face by face as layers.
    if (target == GL_TEXTURE_2D || target == GL_TEXTURE_CUBE_MAP) {
      glTextureStorage2D(texture, 1, GL_RGBA8, 1, 1);
    } else {
      glTextureStorage3D(texture, 1, GL_RGBA8, 1, 1, 1);
    }
    const int layers = target == GL_TEXTURE_CUBE_MAP ? 6 : 1;
    for (int layer = 0; layer < layers; ++layer) {
      if (target == GL_TEXTURE_2D) {
        glTextureSubImage2D(texture, 0, 0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, transparent);
      } else {
        glTextureSubImage3D(texture, 0, 0, 0, layer, 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, transparent);
      }
    }
  }
}

void BindStageResources(const ShaderStageCode& code, const StageBindings& bindings, ShaderStage stage,
                        const uint32_t (&emptyTextures)[4]) {
  for (UINT slot = 0; slot < PULSAR_CONSTANT_BUFFER_SLOTS; ++slot) {
    ID3D11Buffer* buffer = bindings.constantBuffers[slot].get();
    if (buffer != nullptr) glBindBufferBase(GL_UNIFORM_BUFFER, ConstantBufferBinding(stage, slot), buffer->glName());
  }
  for (const CombinedSampler& pair : code.samplers) {
    ID3D11ShaderResourceView* view =
        pair.textureSlot < PULSAR_RESOURCE_SLOTS ? bindings.resources[pair.textureSlot].get() : nullptr;
    glBindTextureUnit(pair.unit,
                      view != nullptr ? view->glTexture() : emptyTextures[static_cast<int>(pair.dimension)]);
    ID3D11SamplerState* sampler =
        pair.samplerSlot >= 0 && static_cast<UINT>(pair.samplerSlot) < PULSAR_SAMPLER_SLOTS
            ? bindings.samplers[pair.samplerSlot].get()
            : nullptr;
    glBindSampler(pair.unit, sampler != nullptr ? sampler->glSampler() : 0);
  }
}

}  // namespace

ID3D11DeviceContext::ID3D11DeviceContext(ID3D11Device* device)
    : ID3D11DeviceChild(device), m_state(std::make_unique<ContextState>()) {
  glCreateFramebuffers(1, &m_state->drawFramebuffer);
  glCreateFramebuffers(1, &m_state->clearFramebuffer);
  glCreateProgramPipelines(1, &m_state->pipeline);
  glCreateVertexArrays(1, &m_state->emptyVertexArray);
  CreateEmptyTextures(m_state->emptyTextures);
  glBindProgramPipeline(m_state->pipeline);
}

ID3D11DeviceContext::~ID3D11DeviceContext() {
  ClearState();
  if (!HasCurrentGLContext()) return;
  glDeleteFramebuffers(1, &m_state->drawFramebuffer);
  glDeleteFramebuffers(1, &m_state->clearFramebuffer);
  glDeleteProgramPipelines(1, &m_state->pipeline);
  glDeleteVertexArrays(1, &m_state->emptyVertexArray);
  glDeleteTextures(4, m_state->emptyTextures);
}

bool ID3D11DeviceContext::PrepareDraw() {
  ContextState& s = *m_state;
  if (s.vertexShader.get() == nullptr) {
    platform::d3d11::ReportRefusal("draw without a vertex shader");
    return false;
  }
  if (!KnownTopology(s.topology)) {
    platform::d3d11::ReportRefusal("draw without a primitive topology");
    return false;
  }

  if (s.framebufferDirty) {
    GLenum drawBuffers[D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT];
    for (UINT i = 0; i < D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT; ++i) {
      ID3D11RenderTargetView* view = s.renderTargets[i].get();
      GLuint texture = 0;
      GLint level = 0;
      if (view != nullptr) ViewTarget(view, &texture, &level);
      glNamedFramebufferTexture(s.drawFramebuffer, GL_COLOR_ATTACHMENT0 + i, texture, level);
      drawBuffers[i] = view != nullptr ? GL_COLOR_ATTACHMENT0 + i : GL_NONE;
    }
    glNamedFramebufferDrawBuffers(s.drawFramebuffer, D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT, drawBuffers);
    glNamedFramebufferTexture(s.drawFramebuffer, GL_DEPTH_STENCIL_ATTACHMENT, 0, 0);
    if (s.depthStencilView.get() != nullptr) {
      GLuint texture = 0;
      GLint level = 0;
      ViewTarget(s.depthStencilView.get(), &texture, &level);
      ID3D11Resource* resource = nullptr;
      s.depthStencilView.get()->GetResource(&resource);
      glNamedFramebufferTexture(s.drawFramebuffer, DepthAttachment(resource), texture, level);
      resource->Release();
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, s.drawFramebuffer);
    // Targets have immutable storage, so completeness changes only with the attachments.
    s.framebufferComplete =
        glCheckNamedFramebufferStatus(s.drawFramebuffer, GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    s.framebufferDirty = false;
  }
  if (!s.framebufferComplete) {
    platform::d3d11::ReportRefusal("draw without a complete set of render targets");
    return false;
  }

  if (s.viewportDirty) {
    const D3D11_VIEWPORT& v = s.viewport;
    glViewportIndexedf(0, v.TopLeftX, v.TopLeftY, s.viewportSet ? v.Width : 0.0f, s.viewportSet ? v.Height : 0.0f);
    glDepthRangeIndexed(0, v.MinDepth, v.MaxDepth);
    glScissor(s.scissor.left, s.scissor.top, s.scissor.right - s.scissor.left, s.scissor.bottom - s.scissor.top);
    s.viewportDirty = false;
  }
  if (s.rasterizerDirty) {
    D3D11_RASTERIZER_DESC desc;
    if (s.rasterizerState.get() != nullptr) s.rasterizerState.get()->GetDesc(&desc);
    ApplyRasterizerState(s.rasterizerState.get() != nullptr ? &desc : nullptr);
    s.rasterizerDirty = false;
  }
  if (s.blendDirty) {
    D3D11_BLEND_DESC desc;
    if (s.blendState.get() != nullptr) s.blendState.get()->GetDesc(&desc);
    ApplyBlendState(s.blendState.get() != nullptr ? &desc : nullptr, s.blendFactor, s.sampleMask);
    s.blendDirty = false;
  }
  if (s.depthStencilDirty) {
    D3D11_DEPTH_STENCIL_DESC desc;
    if (s.depthStencilState.get() != nullptr) s.depthStencilState.get()->GetDesc(&desc);
    ApplyDepthStencilState(s.depthStencilState.get() != nullptr ? &desc : nullptr, s.stencilRef);
    s.depthStencilDirty = false;
  }

  ID3D11ShaderStage* shaders[3] = {s.vertexShader.get(), s.geometryShader.get(), s.pixelShader.get()};
  const GLbitfield stageBits[3] = {GL_VERTEX_SHADER_BIT, GL_GEOMETRY_SHADER_BIT, GL_FRAGMENT_SHADER_BIT};
  for (int stage = 0; stage < 3; ++stage) {
    // Changing a stage makes GL revalidate the whole pipeline; most draws keep all three.
    const GLuint program = shaders[stage] != nullptr ? shaders[stage]->glProgram() : 0;
    if (s.pipelinePrograms[stage] != program) {
      glUseProgramStages(s.pipeline, stageBits[stage], program);
      s.pipelinePrograms[stage] = program;
    }
    if (shaders[stage] != nullptr) {
      BindStageResources(*shaders[stage]->m_code, s.stages[stage], static_cast<ShaderStage>(stage), s.emptyTextures);
    }
  }

  ID3D11InputLayout* layout = s.inputLayout.get();
  const GLuint vao = layout != nullptr ? layout->m_glVertexArray : s.emptyVertexArray;
  if (layout != nullptr) {
    for (UINT slot = 0; slot < PULSAR_VERTEX_BUFFER_SLOTS; ++slot) {
      if ((layout->m_usedSlots & (1u << slot)) == 0) continue;
      ID3D11Buffer* buffer = s.vertexBuffers[slot].get();
      glVertexArrayVertexBuffer(vao, slot, buffer != nullptr ? buffer->glName() : 0, s.offsets[slot],
                                static_cast<GLsizei>(s.strides[slot]));
    }
  }
  glVertexArrayElementBuffer(vao, s.indexBuffer.get() != nullptr ? s.indexBuffer.get()->glName() : 0);
  glBindVertexArray(vao);
  return true;
}

void ID3D11DeviceContext::Draw(UINT VertexCount, UINT StartVertexLocation) {
  const platform::d3d11::LayerCallTimer timer;
  if (VertexCount == 0 || !PrepareDraw()) return;
  glDrawArrays(GLTopology(m_state->topology), static_cast<GLint>(StartVertexLocation), static_cast<GLsizei>(VertexCount));
}

void ID3D11DeviceContext::DrawIndexed(UINT IndexCount, UINT StartIndexLocation, INT BaseVertexLocation) {
  const platform::d3d11::LayerCallTimer timer;
  if (IndexCount == 0) return;
  const ContextState& s = *m_state;
  if (s.indexBuffer.get() == nullptr) {
    platform::d3d11::ReportRefusal("DrawIndexed without an index buffer");
    return;
  }
  const bool wide = s.indexFormat == DXGI_FORMAT_R32_UINT;
  if (!wide && s.indexFormat != DXGI_FORMAT_R16_UINT) {
    platform::d3d11::ReportRefusal("DrawIndexed: index format %u", s.indexFormat);
    return;
  }
  if (!PrepareDraw()) return;
  const uintptr_t offset = s.indexOffset + static_cast<uintptr_t>(StartIndexLocation) * (wide ? 4 : 2);
  glDrawElementsBaseVertex(GLTopology(s.topology), static_cast<GLsizei>(IndexCount),
                           wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, reinterpret_cast<const void*>(offset),
                           BaseVertexLocation);
}

void ID3D11DeviceContext::ClearRenderTargetView(ID3D11RenderTargetView* pRenderTargetView, const FLOAT ColorRGBA[4]) {
  const platform::d3d11::LayerCallTimer timer;
  if (pRenderTargetView == nullptr || ColorRGBA == nullptr) return;
  GLuint texture = 0;
  GLint level = 0;
  ViewTarget(pRenderTargetView, &texture, &level);
  glClearTexImage(texture, level, GL_RGBA, GL_FLOAT, ColorRGBA);
}

void ID3D11DeviceContext::ClearDepthStencilView(ID3D11DepthStencilView* pDepthStencilView, UINT ClearFlags,
                                                FLOAT Depth, UINT8 Stencil) {
  const platform::d3d11::LayerCallTimer timer;
  if (pDepthStencilView == nullptr || (ClearFlags & (D3D11_CLEAR_DEPTH | D3D11_CLEAR_STENCIL)) == 0) return;
  ContextState& s = *m_state;
  GLuint texture = 0;
  GLint level = 0;
  ViewTarget(pDepthStencilView, &texture, &level);
  ID3D11Resource* resource = nullptr;
  pDepthStencilView->GetResource(&resource);
  const GLenum attachment = DepthAttachment(resource);
  resource->Release();
  glNamedFramebufferTexture(s.clearFramebuffer, GL_DEPTH_STENCIL_ATTACHMENT, 0, 0);
  glNamedFramebufferTexture(s.clearFramebuffer, attachment, texture, level);
  glNamedFramebufferDrawBuffer(s.clearFramebuffer, GL_NONE);

  // GL's clears obey the write masks and the scissor; Direct3D's do not.
  glDepthMask(GL_TRUE);
  glStencilMask(0xff);
  glDisable(GL_SCISSOR_TEST);
  const GLint stencil = Stencil;
  const bool depth = (ClearFlags & D3D11_CLEAR_DEPTH) != 0;
  const bool stencilToo = (ClearFlags & D3D11_CLEAR_STENCIL) != 0 && attachment == GL_DEPTH_STENCIL_ATTACHMENT;
  if (depth && stencilToo) {
    glClearNamedFramebufferfi(s.clearFramebuffer, GL_DEPTH_STENCIL, 0, Depth, stencil);
  } else if (depth) {
    glClearNamedFramebufferfv(s.clearFramebuffer, GL_DEPTH, 0, &Depth);
  } else if (stencilToo) {
    glClearNamedFramebufferiv(s.clearFramebuffer, GL_STENCIL, 0, &stencil);
  }
  glNamedFramebufferTexture(s.clearFramebuffer, attachment, 0, 0);
  s.depthStencilDirty = true;
  s.rasterizerDirty = true;
}

void ID3D11DeviceContext::GenerateMips(ID3D11ShaderResourceView* pShaderResourceView) {
  const platform::d3d11::LayerCallTimer timer;
  if (pShaderResourceView != nullptr) glGenerateTextureMipmap(pShaderResourceView->glTexture());
}

void ID3D11DeviceContext::ClearState() {
  ContextState& s = *m_state;
  s.inputLayout.Set(nullptr);
  for (auto& buffer : s.vertexBuffers) buffer.Set(nullptr);
  s.strides = {};
  s.offsets = {};
  s.indexBuffer.Set(nullptr);
  s.indexFormat = DXGI_FORMAT_UNKNOWN;
  s.indexOffset = 0;
  s.topology = D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED;
  s.vertexShader.Set(nullptr);
  s.geometryShader.Set(nullptr);
  s.pixelShader.Set(nullptr);
  for (StageBindings& stage : s.stages) {
    for (auto& slot : stage.constantBuffers) slot.Set(nullptr);
    for (auto& slot : stage.resources) slot.Set(nullptr);
    for (auto& slot : stage.samplers) slot.Set(nullptr);
  }
  s.rasterizerState.Set(nullptr);
  s.viewportSet = false;
  s.viewport = {};
  s.scissor = {};
  for (auto& target : s.renderTargets) target.Set(nullptr);
  s.renderTargetCount = 0;
  s.depthStencilView.Set(nullptr);
  s.blendState.Set(nullptr);
  for (float& factor : s.blendFactor) factor = 1.0f;
  s.sampleMask = 0xffffffffu;
  s.depthStencilState.Set(nullptr);
  s.stencilRef = 0;
  s.framebufferDirty = s.blendDirty = s.rasterizerDirty = s.depthStencilDirty = s.viewportDirty = true;
}

void ID3D11DeviceContext::Flush() { glFlush(); }
