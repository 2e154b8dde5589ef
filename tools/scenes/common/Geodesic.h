#pragma once
// Spheres whose vertices spread evenly (a subdivided icosahedron), and their projection onto
// star-shaped implicit surfaces: metaball fields, rounded jelly shapes. Every vertex keeps its
// index, so one sphere projected onto many surfaces gives morph keys of one mesh.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "VecMath.h"

namespace kit {

// A unit sphere: each icosahedron edge split into `frequency` parts, 10·f² + 2 vertices and
// 20·f² triangles wound so that e1 × e2 points outwards. Texture coordinates are longitude and
// latitude, kept continuous across the seam within each triangle.
void AppendGeodesicSphere(c4e::PolyObject& mesh, int frequency);

// A scalar field that is at least `iso` inside the surface and below it outside.
using Field = std::function<float(Vec3)>;

// Moves each direction's vertex to the outermost point where the ray from `centre` along the
// unit direction crosses the iso-surface, searching from `reach` inwards in `steps` and refining
// by bisection. A ray that never reaches the iso-level stays at the centre.
Vec3 ProjectRay(const Field& field, float iso, Vec3 centre, Vec3 direction, float reach, int steps = 96);
std::vector<Vec3> ProjectSphere(const std::vector<Vec3>& unitDirections, const Field& field, float iso, Vec3 centre,
                                float reach, int steps = 96);

// The outward normal of the field at p from central differences (the field falls outwards).
Vec3 FieldNormal(const Field& field, Vec3 p, float h);

// Per vertex the normalised sum of the unnormalised face normals around it: the normals the show
// gives a smooth mesh.
std::vector<Vec3> VertexNormals(const std::vector<Vec3>& positions, const std::vector<std::array<int32_t, 3>>& polygons);

// Volume enclosed by a closed, outward-wound triangle mesh.
float EnclosedVolume(const std::vector<Vec3>& positions, const std::vector<std::array<int32_t, 3>>& polygons);

}  // namespace kit
