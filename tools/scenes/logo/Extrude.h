#pragma once
// Solid letters: a flat shape with holes extruded along z, its front and back faces set in by a
// 45-degree bevel. The result is one closed, consistently wound mesh per shape; writing it into a
// scene splits the vertices along its hard edges so the show's smooth normals stay crisp there.
#include <array>
#include <cstdint>
#include <vector>

#include "C4eWriter.h"
#include "GlyphOutline.h"

namespace logo {

// Which face of the solid a triangle belongs to (the materials are chosen by it).
enum class Part { Cap, Bevel, Side };

struct Solid {
  std::vector<c4e::Vec3> positions;
  std::vector<std::array<int32_t, 3>> triangles;  // e1 × e2 points out of the solid
  std::vector<std::array<float, 6>> uvs;          // per triangle corner
  std::vector<Part> parts;                        // per triangle
  std::vector<int> smoothing;                     // per triangle: normals are shared within a group only
};

struct ExtrudeOptions {
  float front = -20.0f;  // z of the front face (faces −z)
  float back = 20.0f;    // z of the back face
  float bevel = 3.0f;    // width and depth of the bevel
  float uvPerUnit = 1.0f / 100.0f;
  float creaseDegrees = 35.0f;  // sharper outline corners get hard edges on the sides
};

// Appends the solid of one glyph (all its outer contours and holes). False when an outline cannot
// be triangulated.
bool ExtrudeGlyph(const Glyph& glyph, const ExtrudeOptions& options, Solid* solid);

// The part of a solid selected by `parts` as a smooth-shaded mesh: vertices of different
// smoothing groups are split, so cap, bevel and side meet at hard edges.
void AppendSolid(c4e::PolyObject& mesh, const Solid& solid, const std::vector<Part>& parts);

}  // namespace logo
