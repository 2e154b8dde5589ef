#include "gfx/QuadBuffers.h"

#include "gfx/RenderStateManager.h"

bool CreateQuadBuffers(ID3D11Device* device, const QuadVertex vertices[kQuadVertexCount], bool dynamic,
                       ID3D11Buffer** vertexBuffer, ID3D11Buffer** indexBuffer) {
  D3D11_BUFFER_DESC vertexDesc = {};
  vertexDesc.ByteWidth = sizeof(QuadVertex) * kQuadVertexCount;
  vertexDesc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
  vertexDesc.Usage = dynamic ? D3D11_USAGE_DYNAMIC : D3D11_USAGE_DEFAULT;
  vertexDesc.CPUAccessFlags = dynamic ? static_cast<UINT>(D3D11_CPU_ACCESS_WRITE) : 0u;
  D3D11_SUBRESOURCE_DATA vertexData = {vertices, 0, 0};
  if (FAILED(device->CreateBuffer(&vertexDesc, &vertexData, vertexBuffer))) return false;

  static const uint32_t kIndices[kQuadVertexCount] = {0, 1, 2, 3, 4, 5};
  D3D11_BUFFER_DESC indexDesc = {};
  indexDesc.ByteWidth = sizeof(kIndices);
  indexDesc.Usage = D3D11_USAGE_DEFAULT;
  indexDesc.BindFlags = D3D11_BIND_INDEX_BUFFER;
  D3D11_SUBRESOURCE_DATA indexData = {kIndices, 0, 0};
  return SUCCEEDED(device->CreateBuffer(&indexDesc, &indexData, indexBuffer));
}

void BindQuadForDrawing(ID3D11DeviceContext* context, ID3D11Buffer* vertexBuffer, ID3D11Buffer* indexBuffer,
                        const RenderStateManager& states, bool alphaBlend) {
  const UINT stride = sizeof(QuadVertex), offset = 0;
  context->IASetVertexBuffers(0, 1, &vertexBuffer, &stride, &offset);
  context->IASetIndexBuffer(indexBuffer, DXGI_FORMAT_R32_UINT, 0);
  context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
  static const FLOAT kBlendFactor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  context->RSSetState(states.rasterCullNone);
  context->OMSetDepthStencilState(states.depthOff, 1);
  context->OMSetBlendState(alphaBlend ? states.blendAlpha : states.blendOpaque, kBlendFactor, 0xFFFFFFFFu);
}
