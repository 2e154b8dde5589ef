#pragma once
// The one shape of 2D texture the show creates itself (render targets, the depth buffer) and the
// tests upload: one mip level, one array slice, no multisampling, default usage, no CPU access.
#include "platform/d3d11/d3d11.h"

inline D3D11_TEXTURE2D_DESC SingleLevelTextureDesc(UINT width, UINT height, DXGI_FORMAT format, UINT bindFlags) {
  D3D11_TEXTURE2D_DESC desc{};
  desc.Width = width;
  desc.Height = height;
  desc.MipLevels = 1;
  desc.ArraySize = 1;
  desc.Format = format;
  desc.SampleDesc = {1, 0};
  desc.Usage = D3D11_USAGE_DEFAULT;
  desc.BindFlags = bindFlags;
  desc.CPUAccessFlags = 0;
  desc.MiscFlags = 0;
  return desc;
}
