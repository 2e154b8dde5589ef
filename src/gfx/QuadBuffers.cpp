#include "gfx/QuadBuffers.h"

#include <cstring>
#include <memory>
#include <new>

#include "gfx/RenderStateManager.h"

bool CreateScreenBuffers(ID3D11Device* device, const QuadVertex* vertices, uint32_t count, bool dynamic,
                         ID3D11Buffer** vertexBuffer, ID3D11Buffer** indexBuffer) {
  D3D11_BUFFER_DESC vertexDesc = {};
  vertexDesc.ByteWidth = static_cast<UINT>(sizeof(QuadVertex) * count);
  vertexDesc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
  vertexDesc.Usage = dynamic ? D3D11_USAGE_DYNAMIC : D3D11_USAGE_DEFAULT;
  vertexDesc.CPUAccessFlags = dynamic ? static_cast<UINT>(D3D11_CPU_ACCESS_WRITE) : 0u;
  D3D11_SUBRESOURCE_DATA vertexData = {vertices, 0, 0};
  if (FAILED(device->CreateBuffer(&vertexDesc, &vertexData, vertexBuffer))) return false;

  std::unique_ptr<uint32_t[]> indices(new (std::nothrow) uint32_t[count]);
  if (!indices) return false;
  for (uint32_t i = 0; i < count; ++i) indices[i] = i;
  D3D11_BUFFER_DESC indexDesc = {};
  indexDesc.ByteWidth = static_cast<UINT>(sizeof(uint32_t) * count);
  indexDesc.Usage = D3D11_USAGE_DEFAULT;
  indexDesc.BindFlags = D3D11_BIND_INDEX_BUFFER;
  D3D11_SUBRESOURCE_DATA indexData = {indices.get(), 0, 0};
  return SUCCEEDED(device->CreateBuffer(&indexDesc, &indexData, indexBuffer));
}

bool CreateQuadBuffers(ID3D11Device* device, const QuadVertex vertices[kQuadVertexCount], bool dynamic,
                       ID3D11Buffer** vertexBuffer, ID3D11Buffer** indexBuffer) {
  return CreateScreenBuffers(device, vertices, kQuadVertexCount, dynamic, vertexBuffer, indexBuffer);
}

void UploadScreenVertices(ID3D11DeviceContext* context, ID3D11Buffer* vertexBuffer, const QuadVertex* vertices,
                          uint32_t count) {
  if (!context || !vertexBuffer || !vertices) return;
  D3D11_MAPPED_SUBRESOURCE mapped;
  if (FAILED(context->Map(vertexBuffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return;
  std::memcpy(mapped.pData, vertices, sizeof(QuadVertex) * count);
  context->Unmap(vertexBuffer, 0);
}

void BindScreenGeometry(ID3D11DeviceContext* context, ID3D11Buffer* vertexBuffer, ID3D11Buffer* indexBuffer,
                        const RenderStateManager& states, ID3D11BlendState* blendState) {
  const UINT stride = sizeof(QuadVertex), offset = 0;
  context->IASetVertexBuffers(0, 1, &vertexBuffer, &stride, &offset);
  context->IASetIndexBuffer(indexBuffer, DXGI_FORMAT_R32_UINT, 0);
  context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
  static const FLOAT kBlendFactor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  context->RSSetState(states.rasterCullNone);
  context->OMSetDepthStencilState(states.depthOff, 1);
  if (blendState) context->OMSetBlendState(blendState, kBlendFactor, 0xFFFFFFFFu);
}

void BindQuadForDrawing(ID3D11DeviceContext* context, ID3D11Buffer* vertexBuffer, ID3D11Buffer* indexBuffer,
                        const RenderStateManager& states, bool alphaBlend) {
  BindScreenGeometry(context, vertexBuffer, indexBuffer, states, alphaBlend ? states.blendAlpha : states.blendOpaque);
}
