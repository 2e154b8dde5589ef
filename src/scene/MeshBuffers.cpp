#include "scene/MeshBuffers.h"

#include <cstring>
#include <vector>

#include "gfx/ReleaseAndForget.h"
#include "platform/d3d11/d3d11.h"

bool CreateMeshBuffers(PolyObject* mesh) {
  if (!mesh->device || mesh->polygonCount <= 0) return false;
  const UINT vertexBytes = static_cast<UINT>(mesh->polygonCount) * 3 * sizeof(MeshVertex);
  const bool dynamic = !mesh->morphKeys.empty();

  D3D11_BUFFER_DESC vertexDesc = {};
  vertexDesc.ByteWidth = vertexBytes;
  vertexDesc.Usage = dynamic ? D3D11_USAGE_DYNAMIC : D3D11_USAGE_DEFAULT;
  vertexDesc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
  vertexDesc.CPUAccessFlags = dynamic ? static_cast<UINT>(D3D11_CPU_ACCESS_WRITE) : 0u;
  D3D11_SUBRESOURCE_DATA vertexData = {};
  vertexData.pSysMem = mesh->vertexData.data();
  if (FAILED(mesh->device->CreateBuffer(&vertexDesc, &vertexData, &mesh->vertexBuffer))) {
    mesh->vertexBuffer = nullptr;
    return false;
  }

  std::vector<uint32_t> indices(static_cast<size_t>(mesh->polygonCount) * 3);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint32_t>(i);
  D3D11_BUFFER_DESC indexDesc = {};
  indexDesc.ByteWidth = static_cast<UINT>(indices.size() * sizeof(uint32_t));
  indexDesc.Usage = D3D11_USAGE_DEFAULT;
  indexDesc.BindFlags = D3D11_BIND_INDEX_BUFFER;
  D3D11_SUBRESOURCE_DATA indexData = {};
  indexData.pSysMem = indices.data();
  if (FAILED(mesh->device->CreateBuffer(&indexDesc, &indexData, &mesh->indexBuffer))) {
    mesh->indexBuffer = nullptr;
    return false;
  }
  return true;
}

void UploadVertexData(PolyObject* mesh) {
  if (!mesh->deviceContext || !mesh->vertexBuffer) return;
  D3D11_MAPPED_SUBRESOURCE mapped = {};
  if (FAILED(mesh->deviceContext->Map(mesh->vertexBuffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return;
  std::memcpy(mapped.pData, mesh->vertexData.data(), mesh->vertexData.size() * sizeof(MeshVertex));
  mesh->deviceContext->Unmap(mesh->vertexBuffer, 0);
}

void PolyObject::ReleaseBuffers() {
  ReleaseAndForget(indexBuffer);
  ReleaseAndForget(vertexBuffer);
}

PolyObject::~PolyObject() { ReleaseBuffers(); }
