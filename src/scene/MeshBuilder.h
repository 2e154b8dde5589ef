#pragma once
// Turns a loaded mesh into the per-triangle vertex format: tangents, binormals, face and
// vertex normals, morph-key normals and the morph working arrays. CPU only.
#include "scene/PolyObject.h"

// Needs the mesh's material resolved; fills polygons, vertex normals, vertexData and, for a
// morphing mesh, every key's normals and the working arrays (starting at the first key).
void BuildMeshData(PolyObject* mesh);

// Rebuilds vertexData from the current morph positions and normals.
void RefillMorphVertexData(PolyObject* mesh);

// The normals of a vertex set: per vertex the normalised sum of the unnormalised face normals
// of the triangles that use it.
void ComputeVertexNormals(const std::vector<PolygonRecord>& polygons, const std::vector<D3DXVECTOR3>& positions,
                          std::vector<D3DXVECTOR3>* normals);
