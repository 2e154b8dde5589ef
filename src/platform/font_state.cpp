#include "platform/font_state.h"

namespace platform {

void TextPipelineState::Save(ID3D11DeviceContext* context) {
  Forget();
  context->IAGetInputLayout(&m_inputLayout);
  context->IAGetVertexBuffers(0, 1, &m_vertexBuffer, &m_stride, &m_offset);
  context->IAGetPrimitiveTopology(&m_topology);
  context->VSGetShader(&m_vertexShader, nullptr, nullptr);
  context->GSGetShader(&m_geometryShader, nullptr, nullptr);
  context->PSGetShader(&m_pixelShader, nullptr, nullptr);
  context->VSGetConstantBuffers(0, 1, &m_vertexConstants);
  context->PSGetConstantBuffers(0, 1, &m_pixelConstants);
  context->PSGetShaderResources(0, 1, &m_pixelResource);
  context->PSGetSamplers(0, 1, &m_pixelSampler);
  context->RSGetState(&m_rasterizerState);
  context->OMGetBlendState(&m_blendState, m_blendFactor, &m_sampleMask);
  context->OMGetDepthStencilState(&m_depthStencilState, &m_stencilRef);
}

void TextPipelineState::Restore(ID3D11DeviceContext* context) {
  context->IASetInputLayout(m_inputLayout);
  context->IASetVertexBuffers(0, 1, &m_vertexBuffer, &m_stride, &m_offset);
  context->IASetPrimitiveTopology(m_topology);
  context->VSSetShader(m_vertexShader, nullptr, 0);
  context->GSSetShader(m_geometryShader, nullptr, 0);
  context->PSSetShader(m_pixelShader, nullptr, 0);
  context->VSSetConstantBuffers(0, 1, &m_vertexConstants);
  context->PSSetConstantBuffers(0, 1, &m_pixelConstants);
  context->PSSetShaderResources(0, 1, &m_pixelResource);
  context->PSSetSamplers(0, 1, &m_pixelSampler);
  context->RSSetState(m_rasterizerState);
  context->OMSetBlendState(m_blendState, m_blendFactor, m_sampleMask);
  context->OMSetDepthStencilState(m_depthStencilState, m_stencilRef);
  Forget();
}

void TextPipelineState::Forget() {
  ReleaseAndClear(m_inputLayout);
  ReleaseAndClear(m_vertexBuffer);
  ReleaseAndClear(m_vertexShader);
  ReleaseAndClear(m_geometryShader);
  ReleaseAndClear(m_pixelShader);
  ReleaseAndClear(m_vertexConstants);
  ReleaseAndClear(m_pixelConstants);
  ReleaseAndClear(m_pixelResource);
  ReleaseAndClear(m_pixelSampler);
  ReleaseAndClear(m_rasterizerState);
  ReleaseAndClear(m_blendState);
  ReleaseAndClear(m_depthStencilState);
}

}  // namespace platform
