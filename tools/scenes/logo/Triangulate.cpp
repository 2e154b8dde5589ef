#include "Triangulate.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace logo {

namespace {

struct Node {
  Point2 p;
  int index;  // into the shape's points
};

float Cross(Point2 o, Point2 a, Point2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

bool Same(Point2 a, Point2 b) { return a.x == b.x && a.y == b.y; }

// Strictly inside or on the boundary of the anticlockwise triangle abc.
bool InTriangle(Point2 a, Point2 b, Point2 c, Point2 p) {
  return Cross(a, b, p) >= 0 && Cross(b, c, p) >= 0 && Cross(c, a, p) >= 0;
}

bool SegmentsCross(Point2 a, Point2 b, Point2 c, Point2 d) {
  const float d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
  return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0)) && d1 != 0 && d2 != 0 && d3 != 0 && d4 != 0;
}

// Joins a hole into the polygon: from the hole's rightmost point to the nearest polygon vertex
// to its right whose bridge crosses no edge.
void Bridge(std::vector<Node>& polygon, const std::vector<Node>& hole) {
  size_t from = 0;
  for (size_t i = 1; i < hole.size(); ++i)
    if (hole[i].p.x > hole[from].p.x) from = i;
  const Point2 h = hole[from].p;
  size_t best = polygon.size();
  float bestDistance = std::numeric_limits<float>::max();
  for (size_t i = 0; i < polygon.size(); ++i) {
    const Point2 v = polygon[i].p;
    if (v.x < h.x) continue;
    const float distance = (v.x - h.x) * (v.x - h.x) + (v.y - h.y) * (v.y - h.y);
    if (distance >= bestDistance) continue;
    bool clear = true;
    for (size_t j = 0; clear && j < polygon.size(); ++j)
      clear = !SegmentsCross(h, v, polygon[j].p, polygon[(j + 1) % polygon.size()].p);
    for (size_t j = 0; clear && j < hole.size(); ++j)
      clear = !SegmentsCross(h, v, hole[j].p, hole[(j + 1) % hole.size()].p);
    // The bridge must leave v into the polygon's inside, between its two edges.
    const Point2 prev = polygon[(i + polygon.size() - 1) % polygon.size()].p, next = polygon[(i + 1) % polygon.size()].p;
    const bool convex = Cross(prev, v, next) > 0;
    const bool inside = convex ? (Cross(v, next, h) > 0 && Cross(prev, v, h) > 0) : !(Cross(v, next, h) <= 0 && Cross(prev, v, h) <= 0);
    if (clear && inside) best = i, bestDistance = distance;
  }
  if (best == polygon.size()) return;  // nothing visible: the cut below reports the failure
  std::vector<Node> merged(polygon.begin(), polygon.begin() + static_cast<long>(best) + 1);
  for (size_t k = 0; k <= hole.size(); ++k) merged.push_back(hole[(from + k) % hole.size()]);
  merged.push_back(polygon[best]);
  merged.insert(merged.end(), polygon.begin() + static_cast<long>(best) + 1, polygon.end());
  polygon = std::move(merged);
}

}  // namespace

bool TriangulateShape(const Contour& outer, const std::vector<Contour>& holes, std::vector<std::array<int, 3>>* triangles) {
  std::vector<Node> polygon;
  int index = 0;
  for (const Point2& p : outer) polygon.push_back({p, index++});
  std::vector<std::vector<Node>> holeNodes;
  for (const Contour& hole : holes) {
    holeNodes.emplace_back();
    for (const Point2& p : hole) holeNodes.back().push_back({p, index++});
  }
  // Rightmost holes first, so later bridges can run to the holes already joined.
  std::sort(holeNodes.begin(), holeNodes.end(), [](const std::vector<Node>& a, const std::vector<Node>& b) {
    auto right = [](const std::vector<Node>& h) {
      float x = -std::numeric_limits<float>::max();
      for (const Node& n : h) x = std::max(x, n.p.x);
      return x;
    };
    return right(a) > right(b);
  });
  for (const auto& hole : holeNodes) Bridge(polygon, hole);

  // Ears with area first; a corner left flat between bridges is cut as a sliver of no area, so
  // every edge of the outline still belongs to one triangle.
  while (polygon.size() > 3) {
    bool cut = false;
    for (int pass = 0; pass < 2 && !cut; ++pass) {
      const size_t n = polygon.size();
      for (size_t i = 0; i < n && !cut; ++i) {
        const Node& a = polygon[(i + n - 1) % n];
        const Node& b = polygon[i];
        const Node& c = polygon[(i + 1) % n];
        const float turn = Cross(a.p, b.p, c.p);
        if (pass == 0 ? turn <= 0 : turn < 0) continue;  // reflex: not an ear
        bool empty = true;
        for (size_t j = 0; empty && j < n; ++j) {
          const Point2 p = polygon[j].p;
          if (Same(p, a.p) || Same(p, b.p) || Same(p, c.p)) continue;
          empty = !InTriangle(a.p, b.p, c.p, p);
        }
        if (!empty) continue;
        triangles->push_back({a.index, b.index, c.index});
        polygon.erase(polygon.begin() + static_cast<long>(i));
        cut = true;
      }
    }
    if (!cut) return false;
  }
  if (polygon.size() == 3 && Cross(polygon[0].p, polygon[1].p, polygon[2].p) >= 0)
    triangles->push_back({polygon[0].index, polygon[1].index, polygon[2].index});
  return true;
}

}  // namespace logo
