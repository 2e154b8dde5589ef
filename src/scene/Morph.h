#pragma once
// Vertex animation of a mesh between its morph keys.
#include <cstdint>

#include "scene/PolyObject.h"

// Blends the current positions and normals at time, rebuilds the vertex data and uploads it
// into the mesh's dynamic vertex buffer. With fewer than two keys nothing changes.
void EvaluateMorph(PolyObject* mesh, int64_t time);
