#include "gfx/RenderTarget.h"

#include "gfx/FrameProfiler.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/TextureDesc.h"

bool RenderTarget::Create(float factor) {
  const RenderContext& rc = m_renderContext;
  viewport.TopLeftX = 0.0f;
  viewport.TopLeftY = 0.0f;
  viewport.Width = static_cast<float>(rc.width) * factor;
  viewport.Height = static_cast<float>(rc.height) * factor;
  viewport.MinDepth = 0.0f;
  viewport.MaxDepth = 1.0f;

  const D3D11_TEXTURE2D_DESC textureDesc =
      SingleLevelTextureDesc(static_cast<UINT>(viewport.Width), static_cast<UINT>(viewport.Height),
                             DXGI_FORMAT_R32G32B32A32_FLOAT, D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE);
  if (!rc.device || FAILED(rc.device->CreateTexture2D(&textureDesc, nullptr, &texture))) return false;

  D3D11_RENDER_TARGET_VIEW_DESC targetDesc = {};
  targetDesc.Format = textureDesc.Format;
  targetDesc.ViewDimension = D3D11_RTV_DIMENSION_TEXTURE2D;
  targetDesc.Texture2D.MipSlice = 0;
  if (FAILED(rc.device->CreateRenderTargetView(texture, &targetDesc, &renderTargetView))) return false;

  D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc = {};
  viewDesc.Format = textureDesc.Format;
  viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
  viewDesc.Texture2D.MostDetailedMip = 0;
  viewDesc.Texture2D.MipLevels = 1;
  return SUCCEEDED(rc.device->CreateShaderResourceView(texture, &viewDesc, &shaderResourceView));
}

void RenderTarget::SetAsTarget() {
  ProfilePass(name);
  ID3D11DeviceContext* context = m_renderContext.context;
  context->RSSetViewports(1, &viewport);
  context->OMSetRenderTargets(1, &renderTargetView, m_renderContext.depthStencilView);
}

void RenderTarget::Clear() {
  static const FLOAT kOpaqueBlack[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  ID3D11DeviceContext* context = m_renderContext.context;
  context->ClearRenderTargetView(renderTargetView, kOpaqueBlack);
  context->ClearDepthStencilView(m_renderContext.depthStencilView, D3D11_CLEAR_DEPTH, 1.0f, 0);
}

void RenderTarget::Shutdown() {
  ReleaseAndForget(shaderResourceView);
  ReleaseAndForget(renderTargetView);
  ReleaseAndForget(texture);
}
