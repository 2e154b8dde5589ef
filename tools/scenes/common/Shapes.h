#pragma once
// Procedural meshes for generated scenes, in the c4e writer's terms: vertices, triangles wound
// so that the face normal (e1 × e2) points out of the surface (the side the back-face culling
// shows), and per-corner texture coordinates. Every Append function adds to the mesh's lists, so
// several shapes can make one mesh; positions are in the object's own space.
#include <array>
#include <functional>
#include <vector>

#include "C4eWriter.h"
#include "Spline.h"
#include "VecMath.h"

namespace kit {

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

// A flat grid of columns × rows cells from corner along edgeU and edgeV (full lengths); it faces
// along edgeU × edgeV. With twoSided a second, reversed copy with its own vertices shows the back
// (cloth, banners); the back's vertices follow the front's, so morph keys can move both alike.
void AppendGrid(c4e::PolyObject& mesh, Vec3 corner, Vec3 edgeU, Vec3 edgeV, int columns, int rows, float uTiles,
                float vTiles, bool twoSided);

// A surface of revolution about the y axis: profile points (x = radius, y = height) in order,
// swept once round in columns steps. The profile's winding decides the side shown: a profile
// that runs upward from the outside shows its outside. v runs along the profile, an equal share per profile step; a
// profile end at radius 0 closes into a pole.
void AppendLathe(c4e::PolyObject& mesh, const std::vector<Vec2>& profile, int columns, float uTiles, float vTiles);

// A cross-section swept along a spline. section(along, around) gives the point of the section in
// the frame's (normal, binormal) plane, along and around both in [0, 1]; a closed section (the
// usual case) repeats around = 0 at around = 1. segments steps along the curve (a closed spline
// closes the sweep), sides steps round the section. The surface faces outward when the section
// runs counter-clockwise from normal towards binormal; inward reverses it (tunnels seen from inside).
struct SweepParams {
  int segments = 16;
  int sides = 8;
  bool closedSection = true;
  bool inward = false;
  float uTiles = 1.0f;  // u runs round the section
  float vTiles = 1.0f;  // v runs along the curve
  Vec3 up{0.0f, 1.0f, 0.0f};  // the first frame's normal leans towards up
};
void AppendSweep(c4e::PolyObject& mesh, const Spline& path, const SweepParams& sweep,
                 const std::function<Vec2(float along, float around)>& section);
// A ring (torus) standing across a curve at one of its frames: major radius round the curve,
// minor radius of the ring's own tube.
void AppendRingAround(c4e::PolyObject& mesh, const Frame& frame, float majorRadius, float minorRadius, int columns,
                      int rows);
// A round tube along the spline with radius(along) (along in [0, 1]); open at its ends.
void AppendTube(c4e::PolyObject& mesh, const Spline& path, const SweepParams& sweep,
                const std::function<float(float along)>& radius);

// A flat outline (a simple polygon, counter-clockwise seen from +z, no holes) extruded along +z
// from z = 0 to z = depth, with both caps (ear-clipped) and the sides. Caps get uvs from x and y
// times uvPerUnit; sides run u along the outline.
void AppendExtrusion(c4e::PolyObject& mesh, const std::vector<Vec2>& outline, float depth, float uvPerUnit);

// A sphere whose radius in each direction is radius × (1 + displacement(unit direction)).
void AppendDisplacedSphere(c4e::PolyObject& mesh, float radius, int columns, int rows,
                           const std::function<float(Vec3 direction)>& displacement);

// Triangulates a simple polygon (counter-clockwise, no holes) by ear clipping: index triples
// into outline, each counter-clockwise.
std::vector<std::array<int, 3>> Triangulate(const std::vector<Vec2>& outline);

}  // namespace kit
