#pragma once
// A polyobject of a scene: a mesh with its own vertex and index buffers, or a dummy
// without geometry that only carries a pose (often a parent or a target).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "math/d3dx_math.h"
#include "scene/MorphKey.h"
#include "scene/SceneObject.h"

class ID3D11Buffer;
class ID3D11Device;
class ID3D11DeviceContext;
class Material;

// One vertex of the mesh format: every triangle has three of its own.
struct MeshVertex {
  D3DXVECTOR3 position;
  D3DXVECTOR3 normal;
  D3DXCOLOR color;
  D3DXVECTOR2 texcoord;
  D3DXVECTOR3 tangent;
  D3DXVECTOR3 binormal;
};
static_assert(sizeof(MeshVertex) == 72, "the c4e shader's input layout is 72 bytes per vertex");

struct VertexRecord {
  D3DXVECTOR3 position;
  D3DXVECTOR3 normal;  // accumulated face normals, normalised after loading
};

struct PolygonRecord {
  int32_t indices[3] = {0, 0, 0};
  D3DXVECTOR3 tangent;
  D3DXVECTOR3 binormal;
  D3DXVECTOR3 faceNormal;
};

struct UvRecord {
  D3DXVECTOR2 corners[3];  // (u, v) of the polygon's first, second and third corner
};

class PolyObject : public SceneObject {
 public:
  PolyObject() = default;
  PolyObject(const PolyObject&) = delete;
  PolyObject& operator=(const PolyObject&) = delete;
  ~PolyObject();

  // Frees the GPU buffers; safe when they were never created.
  void ReleaseBuffers();

  bool isDummy = false;
  uint64_t parentId = 0;

  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* deviceContext = nullptr;

  Material* material = nullptr;  // into the scene's materials, or the scene's default material
  std::string materialName;

  ID3D11Buffer* vertexBuffer = nullptr;
  ID3D11Buffer* indexBuffer = nullptr;

  // Morph working state: the blended positions and normals, and the vertex data rebuilt from them.
  std::vector<D3DXVECTOR3> currentPositions;
  std::vector<D3DXVECTOR3> currentNormals;
  std::vector<MeshVertex> vertexData;

  float uvScale[2] = {0.0f, 0.0f};
  bool smoothNormals = false;
  bool hasMorph = false;
  std::vector<std::unique_ptr<MorphKey>> morphKeys;
  int32_t vertexCount = 0;
  int32_t polygonCount = 0;
  std::vector<VertexRecord> vertices;
  std::vector<PolygonRecord> polygons;
  std::vector<UvRecord> uvs;
};
