#pragma once
// The render context a GPU test hands to drawing objects: the headless device's context and
// depth buffer, the given states, textures and programs, and the device's size as the screen
// with its orthographic projections.
#include "gfx/MakeRenderContext.h"
#include "support/GpuTestDevice.h"

namespace testing_support {

inline RenderContext TestRenderContext(const GpuTestDevice& gpu, RenderStateManager* states, TextureCache* textures,
                                       ShaderManager* shaders) {
  RenderContext rc;
  rc.device = gpu.device;
  rc.context = gpu.context;
  rc.depthStencilView = gpu.depthView;
  rc.renderStates = states;
  rc.textures = textures;
  rc.shaders = shaders;
  SetRenderContextScreen(rc, gpu.width, gpu.height);
  return rc;
}

}  // namespace testing_support
