#pragma once
// Procedural meshes for generated scenes, in the c4e writer's terms: vertices, triangles wound
// so that the face normal (e1 × e2) points out of the surface, and per-corner texture coordinates.
#include <functional>

#include "C4eWriter.h"

namespace lab {

struct SurfacePoint {
  c4e::Vec3 position;
};

// A surface over (u, v) in [0, 1]² sampled on columns × rows cells. A surface closed in u
// (cylinders, spheres, tori) shares its seam vertices so smooth normals do not break there;
// rows that collapse to a point (poles) share one vertex. Texture coordinates are (u, v) scaled
// by uTiles and vTiles. flip reverses the winding.
struct SurfaceGrid {
  int columns = 1;
  int rows = 1;
  bool closedU = false;
  bool collapseFirstRow = false;
  bool collapseLastRow = false;
  float uTiles = 1.0f;
  float vTiles = 1.0f;
  bool flip = false;
};

void AppendSurface(c4e::PolyObject& mesh, const SurfaceGrid& grid,
                   const std::function<c4e::Vec3(float u, float v)>& point);

// Shapes centred on the object's origin.
void AppendBox(c4e::PolyObject& mesh, float width, float height, float depth, float uvPerUnit);
void AppendSphere(c4e::PolyObject& mesh, float radius, int columns, int rows);
// A ring around the y axis: major radius to the tube's centre, minor radius of the tube.
void AppendTorus(c4e::PolyObject& mesh, float majorRadius, float minorRadius, int columns, int rows);
// An open-ended tube of the given radius from y = 0 to y = height, with a closed top.
void AppendCylinder(c4e::PolyObject& mesh, float radius, float height, int columns);
// A flat square in the y = 0 plane facing up, split into cells × cells quads.
void AppendFloor(c4e::PolyObject& mesh, float size, int cells, float tiles);

}  // namespace lab
