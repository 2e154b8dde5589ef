#pragma once
// The GPU side of a mesh: its vertex and index buffers.
#include "scene/PolyObject.h"

// Creates the vertex buffer from vertexData (dynamic with CPU write access for a morphing
// mesh, default usage otherwise) and the index buffer 0, 1, 2, … 3 × polygonCount − 1.
// False when the mesh has no device or a creation fails.
bool CreateMeshBuffers(PolyObject* mesh);

// Copies vertexData into the dynamic vertex buffer with a discard map; when the map fails
// the buffer keeps its previous contents.
void UploadVertexData(PolyObject* mesh);
