#include "gfx/MakeRenderContext.h"

#include "gfx/D3D11Device.h"

RenderContext MakeRenderContext(const D3D11Device& device, const RenderContextOwners& owners) {
  RenderContext rc;
  rc.hWnd = owners.hWnd;
  rc.keys = owners.keys;
  rc.timer = owners.timer;
  rc.device = device.GetDevice();
  rc.context = device.GetDeviceContext();
  rc.depthStencilView = device.GetDepthStencilView();
  rc.renderStates = owners.renderStates;
  rc.textures = owners.textures;
  rc.shaders = owners.shaders;
  rc.utility = owners.utility;
  rc.sound = owners.sound;
  rc.width = device.GetScreenWidth();
  rc.height = device.GetScreenHeight();
  rc.nearPlane = 1.0f;
  rc.farPlane = 10000.0f;
  rc.orthoFull = device.GetOrthoMatrix();
  rc.orthoHalf = device.GetHalfOrthoMatrix();
  rc.orthoQuarter = device.GetQuarterOrthoMatrix();
  return rc;
}

void SetRenderContextScreen(RenderContext& rc, int32_t width, int32_t height) {
  rc.width = width;
  rc.height = height;
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  D3DXMatrixOrthoLH(&rc.orthoFull, w, h, rc.nearPlane, rc.farPlane);
  D3DXMatrixOrthoLH(&rc.orthoHalf, w * 0.5f, h * 0.5f, rc.nearPlane, rc.farPlane);
  D3DXMatrixOrthoLH(&rc.orthoQuarter, w * 0.25f, h * 0.25f, rc.nearPlane, rc.farPlane);
}
