#pragma once
// Triangulates a flat shape with holes by ear clipping: each hole is first joined to its outer
// contour by a bridge to a vertex it can see, then ears are cut from the one merged polygon.
#include <array>
#include <vector>

#include "GlyphOutline.h"

namespace logo {

// A shape: one anticlockwise outer contour and the clockwise holes inside it, points indexed
// contour after contour (outer first). The triangles index those points, anticlockwise.
// False when the polygon could not be cut completely (a self-intersecting outline).
bool TriangulateShape(const Contour& outer, const std::vector<Contour>& holes, std::vector<std::array<int, 3>>* triangles);

}  // namespace logo
