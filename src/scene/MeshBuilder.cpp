#include "scene/MeshBuilder.h"

#include <cmath>

#include "scene/Material.h"

namespace {

D3DXVECTOR3 Normalized(const D3DXVECTOR3& v) {
  D3DXVECTOR3 out;
  D3DXVec3Normalize(&out, &v);
  return out;
}

D3DXVECTOR3 FaceNormalSum(const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& p2) {
  const D3DXVECTOR3 e1 = p1 - p0;
  const D3DXVECTOR3 e2 = p2 - p0;
  D3DXVECTOR3 n;
  D3DXVec3Cross(&n, &e1, &e2);
  return n;
}

bool IsFinite(const D3DXVECTOR3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// Tangent and binormal from the texture-space derivatives of one triangle. Without usable
// texture coordinates (all zero when the mesh has no uv scale) the texture-space frame is
// undefined; the first edge and its perpendicular then stand in, so no NaN reaches the shader.
void ComputeTangentFrame(const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& p2,
                         const D3DXVECTOR2& t0, const D3DXVECTOR2& t1, const D3DXVECTOR2& t2,
                         PolygonRecord* polygon) {
  const D3DXVECTOR3 e1 = p1 - p0;
  const D3DXVECTOR3 e2 = p2 - p0;
  const float s1 = t1.x - t0.x, w1 = t1.y - t0.y;
  const float s2 = t2.x - t0.x, w2 = t2.y - t0.y;
  const float denominator = s1 * w2 - s2 * w1;
  if (denominator != 0.0f) {
    const float r = 1.0f / denominator;
    polygon->tangent = Normalized((e1 * w2 - e2 * w1) * r);
    polygon->binormal = Normalized((e2 * s1 - e1 * s2) * r);
    if (IsFinite(polygon->tangent) && IsFinite(polygon->binormal)) return;
  }
  polygon->tangent = Normalized(e1);
  D3DXVECTOR3 perpendicular;
  D3DXVec3Cross(&perpendicular, &polygon->faceNormal, &polygon->tangent);
  polygon->binormal = Normalized(perpendicular);
}

D3DXVECTOR2 CornerTexcoord(const PolyObject& mesh, int polygon, int corner) {
  const D3DXVECTOR2& uv = mesh.uvs[polygon].corners[corner];
  return D3DXVECTOR2(uv.x * mesh.uvScale[0], uv.y * mesh.uvScale[1]);
}

D3DXCOLOR VertexColor(const PolyObject& mesh) {
  const D3DXCOLOR& diffuse = mesh.material->diffuseColor;
  return D3DXCOLOR(diffuse.r, diffuse.g, diffuse.b, 0.0f);
}

}  // namespace

void ComputeVertexNormals(const std::vector<PolygonRecord>& polygons, const std::vector<D3DXVECTOR3>& positions,
                          std::vector<D3DXVECTOR3>* normals) {
  normals->assign(positions.size(), D3DXVECTOR3());
  for (const PolygonRecord& polygon : polygons) {
    const D3DXVECTOR3 n = FaceNormalSum(positions[polygon.indices[0]], positions[polygon.indices[1]],
                                        positions[polygon.indices[2]]);
    for (int corner = 0; corner < 3; ++corner) (*normals)[polygon.indices[corner]] += n;
  }
  for (D3DXVECTOR3& normal : *normals) normal = Normalized(normal);
}

void BuildMeshData(PolyObject* mesh) {
  mesh->vertexData.assign(static_cast<size_t>(mesh->polygonCount) * 3, MeshVertex());
  const D3DXCOLOR color = VertexColor(*mesh);

  for (int i = 0; i < mesh->polygonCount; ++i) {
    PolygonRecord& polygon = mesh->polygons[i];
    const D3DXVECTOR3& p0 = mesh->vertices[polygon.indices[0]].position;
    const D3DXVECTOR3& p1 = mesh->vertices[polygon.indices[1]].position;
    const D3DXVECTOR3& p2 = mesh->vertices[polygon.indices[2]].position;
    const D3DXVECTOR2 t[3] = {CornerTexcoord(*mesh, i, 0), CornerTexcoord(*mesh, i, 1), CornerTexcoord(*mesh, i, 2)};

    const D3DXVECTOR3 n = FaceNormalSum(p0, p1, p2);
    polygon.faceNormal = Normalized(n);
    for (int corner = 0; corner < 3; ++corner) mesh->vertices[polygon.indices[corner]].normal += n;
    ComputeTangentFrame(p0, p1, p2, t[0], t[1], t[2], &polygon);

    for (int corner = 0; corner < 3; ++corner) {
      MeshVertex& vertex = mesh->vertexData[static_cast<size_t>(i) * 3 + corner];
      vertex.position = mesh->vertices[polygon.indices[corner]].position;
      vertex.color = color;
      vertex.texcoord = t[corner];
      vertex.tangent = polygon.tangent;
      vertex.binormal = polygon.binormal;
    }
  }

  for (VertexRecord& vertex : mesh->vertices) vertex.normal = Normalized(vertex.normal);

  for (int i = 0; i < mesh->polygonCount; ++i) {
    const PolygonRecord& polygon = mesh->polygons[i];
    for (int corner = 0; corner < 3; ++corner) {
      mesh->vertexData[static_cast<size_t>(i) * 3 + corner].normal =
          mesh->smoothNormals ? mesh->vertices[polygon.indices[corner]].normal : polygon.faceNormal;
    }
  }

  if (mesh->morphKeys.empty()) return;
  for (auto& key : mesh->morphKeys) ComputeVertexNormals(mesh->polygons, key->positions, &key->normals);
  // The working arrays start at the first key, so a mesh is whole before its first update.
  mesh->currentPositions = mesh->morphKeys.front()->positions;
  mesh->currentNormals = mesh->morphKeys.front()->normals;
}

void RefillMorphVertexData(PolyObject* mesh) {
  const D3DXCOLOR color = VertexColor(*mesh);
  for (int i = 0; i < mesh->polygonCount; ++i) {
    const PolygonRecord& polygon = mesh->polygons[i];
    D3DXVECTOR3 flatNormal;
    if (!mesh->smoothNormals) {
      flatNormal = Normalized(mesh->currentNormals[polygon.indices[0]] + mesh->currentNormals[polygon.indices[1]] +
                              mesh->currentNormals[polygon.indices[2]]);
    }
    for (int corner = 0; corner < 3; ++corner) {
      const int32_t index = polygon.indices[corner];
      MeshVertex& vertex = mesh->vertexData[static_cast<size_t>(i) * 3 + corner];
      vertex.position = mesh->currentPositions[index];
      vertex.normal = mesh->smoothNormals ? mesh->currentNormals[index] : flatNormal;
      vertex.color = color;
      vertex.texcoord = CornerTexcoord(*mesh, i, corner);
      vertex.tangent = polygon.tangent;
      vertex.binormal = polygon.binormal;
    }
  }
}
