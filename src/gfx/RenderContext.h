#pragma once
// The one record through which every drawing object reaches the shared machinery. The Demo
// fills it once; every holder keeps a copy whose pointers it borrows and never releases.
#include <cstdint>

#include "math/d3dx_math.h"
#include "platform/win_types.h"

class Timer;
class ID3D11Device;
class ID3D11DeviceContext;
class ID3D11DepthStencilView;
class RenderStateManager;
class TextureCache;
class ShaderManager;
class Sound;

// Carries no state; handed along in the RenderContext and read by nothing.
class Utility {};

struct RenderContext {
  HWND hWnd = nullptr;
  uint8_t* keys = nullptr;
  Timer* timer = nullptr;
  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* context = nullptr;
  ID3D11DepthStencilView* depthStencilView = nullptr;
  RenderStateManager* renderStates = nullptr;
  TextureCache* textures = nullptr;
  ShaderManager* shaders = nullptr;
  Utility* utility = nullptr;
  Sound* sound = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  float nearPlane = 1.0f;
  float farPlane = 10000.0f;
  D3DXMATRIX orthoFull;
  D3DXMATRIX orthoHalf;
  D3DXMATRIX orthoQuarter;
};

// The base of every object that holds a copy: the copy, the screen's aspect ratio taken when
// the copy is made, and the show time of the holder's last throttled update.
class ContextHolder {
 public:
  explicit ContextHolder(const RenderContext& renderContext)
      : m_renderContext(renderContext),
        aspect(renderContext.height != 0
                   ? static_cast<float>(renderContext.width) / static_cast<float>(renderContext.height)
                   : 0.0f),
        lastUpdate(0) {}

  RenderContext m_renderContext;
  float aspect;
  int64_t lastUpdate;
};

// The orthographic projection that belongs to a size class (0 full, 1 half, 2 quarter).
inline const D3DXMATRIX& OrthoForSizeClass(const RenderContext& rc, int32_t sizeClass) {
  return sizeClass == 2 ? rc.orthoQuarter : sizeClass == 1 ? rc.orthoHalf : rc.orthoFull;
}
