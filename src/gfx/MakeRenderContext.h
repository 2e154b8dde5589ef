#pragma once
// Filling a render context in one place: the Demo, the tools and the tests build theirs here.
#include <cstdint>

#include "gfx/RenderContext.h"

class D3D11Device;

// What a render context borrows besides the device and its screen.
struct RenderContextOwners {
  HWND hWnd = nullptr;
  uint8_t* keys = nullptr;
  Timer* timer = nullptr;
  RenderStateManager* renderStates = nullptr;
  TextureCache* textures = nullptr;
  ShaderManager* shaders = nullptr;
  Utility* utility = nullptr;
  Sound* sound = nullptr;
};

// Every field: the owners given; device, immediate context, shared depth buffer, screen size
// and the three orthographic projections from the device; planes 1 and 10000.
RenderContext MakeRenderContext(const D3D11Device& device, const RenderContextOwners& owners);

// A screen of its own inside a larger surface (a tile of a sheet, a test's target): the size
// and the three orthographic projections of the size classes for it.
void SetRenderContextScreen(RenderContext& rc, int32_t width, int32_t height);
