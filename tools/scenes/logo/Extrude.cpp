#include "Extrude.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "Triangulate.h"

namespace logo {

namespace {

constexpr float kPi = 3.14159265358979f;

// The contour moved `distance` to the left of its edges (into the material for anticlockwise
// outers and clockwise holes), along each corner's bisector; sharp corners are limited.
Contour Inset(const Contour& c, float distance) {
  Contour out;
  const size_t n = c.size();
  for (size_t i = 0; i < n; ++i) {
    const Point2 prev = c[(i + n - 1) % n], p = c[i], next = c[(i + 1) % n];
    auto leftNormal = [](Point2 a, Point2 b) {
      const float dx = b.x - a.x, dy = b.y - a.y, l = std::hypot(dx, dy);
      return Point2{-dy / l, dx / l};
    };
    const Point2 n0 = leftNormal(prev, p), n1 = leftNormal(p, next);
    Point2 m{n0.x + n1.x, n0.y + n1.y};
    const float ml = std::hypot(m.x, m.y);
    if (ml < 1e-4f) m = n0; else m = {m.x / ml, m.y / ml};
    const float cosHalf = std::max(m.x * n0.x + m.y * n0.y, 0.7f);
    out.push_back({p.x + m.x * distance / cosHalf, p.y + m.y * distance / cosHalf});
  }
  return out;
}

bool EdgesCross(Point2 a, Point2 b, Point2 c, Point2 d) {
  auto cross = [](Point2 o, Point2 p, Point2 q) { return (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x); };
  const float d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
  return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0));
}

// Close to an acute corner, a finely flattened curve sets in further than its short edges are
// long and the set-in contour folds over itself. The points inside such a fold go, from the
// contour itself, so the front, side and back rings keep the same points.
Contour WithoutInsetFolds(Contour c, float distance) {
  for (int guard = 0; guard < 256 && c.size() > 4; ++guard) {
    const Contour inset = Inset(c, distance);
    const size_t n = inset.size();
    size_t fold = n;
    for (size_t i = 0; i < n && fold == n; ++i)
      for (size_t k = 2; k <= 5 && k + 2 <= n && fold == n; ++k) {
        const size_t j = (i + k) % n;
        if (EdgesCross(inset[i], inset[(i + 1) % n], inset[j], inset[(j + 1) % n])) fold = i;
      }
    if (fold == n) break;
    c.erase(c.begin() + static_cast<long>((fold + 1) % n));
  }
  return c;
}

struct Ring {
  int first;  // index of the ring's first vertex in the solid
  int size;
};

}  // namespace

bool ExtrudeGlyph(const Glyph& source, const ExtrudeOptions& options, Solid* solid) {
  Glyph glyph = source;
  for (Contour& c : glyph.contours) c = WithoutInsetFolds(c, options.bevel);
  const float z0 = options.front, z1 = options.back, b = options.bevel, k = options.uvPerUnit;
  const float crease = std::cos(options.creaseDegrees * kPi / 180.0f);
  for (size_t o = 0; o < glyph.contours.size(); ++o) {
    if (glyph.isHole[o]) continue;
    // This outer contour and the holes directly inside it form one shape.
    std::vector<const Contour*> contours{&glyph.contours[o]};
    std::vector<Contour> holes;
    for (size_t h = 0; h < glyph.contours.size(); ++h)
      if (glyph.isHole[h] && ContainsPoint(glyph.contours[o], glyph.contours[h][0])) {
        contours.push_back(&glyph.contours[h]);
        holes.push_back(Inset(glyph.contours[h], b));
      }
    const Contour outerInset = Inset(glyph.contours[o], b);
    std::vector<std::array<int, 3>> cap;
    if (!TriangulateShape(outerInset, holes, &cap)) return false;

    // Four rings per contour: set-in front, full front, full back, set-in back.
    std::vector<std::array<Ring, 4>> rings;
    for (size_t c = 0; c < contours.size(); ++c) {
      const Contour& full = *contours[c];
      const Contour inset = Inset(full, b);
      const int size = static_cast<int>(full.size());
      std::array<Ring, 4> r;
      const float zs[4] = {z0, z0 + b, z1 - b, z1};
      for (int q = 0; q < 4; ++q) {
        r[q] = {static_cast<int>(solid->positions.size()), size};
        const Contour& source = (q == 0 || q == 3) ? inset : full;
        for (const Point2& p : source) solid->positions.push_back({p.x, p.y, zs[q]});
      }
      rings.push_back(r);
    }
    // The caps index the set-in rings in the triangulation's order (outer first, then holes).
    auto capVertex = [&](int index, int ring) {
      for (const auto& r : rings) {
        if (index < r[ring].size) return r[ring].first + index;
        index -= r[ring].size;
      }
      return -1;
    };
    int nextGroup = solid->smoothing.empty() ? 0 : *std::max_element(solid->smoothing.begin(), solid->smoothing.end()) + 1;
    const int frontGroup = nextGroup++, backGroup = nextGroup++;
    for (const auto& t : cap) {
      // Front faces −z: the anticlockwise triangle turned round. Back faces +z as it is.
      const std::array<int, 3> faces[2] = {{capVertex(t[0], 0), capVertex(t[2], 0), capVertex(t[1], 0)},
                                           {capVertex(t[0], 3), capVertex(t[1], 3), capVertex(t[2], 3)}};
      for (int f = 0; f < 2; ++f) {
        std::array<float, 6> uv{};
        for (int corner = 0; corner < 3; ++corner) {
          uv[corner * 2] = solid->positions[faces[f][corner]].x * k;
          uv[corner * 2 + 1] = -solid->positions[faces[f][corner]].y * k;
        }
        solid->triangles.push_back(faces[f]);
        solid->uvs.push_back(uv);
        solid->parts.push_back(Part::Cap);
        solid->smoothing.push_back(f == 0 ? frontGroup : backGroup);
      }
    }
    // Around each contour: bevel, side, bevel. A side's smoothing group changes at every crease.
    for (size_t c = 0; c < contours.size(); ++c) {
      const Contour& full = *contours[c];
      const int n = static_cast<int>(full.size());
      std::vector<int> segment(n);  // segment id of edge i → i+1
      std::vector<float> along(n + 1, 0.0f);
      int id = 0;
      for (int i = 0; i < n; ++i) {
        const Point2 a = full[(i + n - 1) % n], p = full[i], q = full[(i + 1) % n];
        const float ux = p.x - a.x, uy = p.y - a.y, vx = q.x - p.x, vy = q.y - p.y;
        const float cosine = (ux * vx + uy * vy) / (std::hypot(ux, uy) * std::hypot(vx, vy));
        if (i > 0 && cosine < crease) ++id;
        segment[i] = id;
        along[i + 1] = along[i] + std::hypot(vx, vy);
      }
      // The first and last segments are one when the contour's start is not a crease.
      {
        const Point2 a = full[n - 1], p = full[0], q = full[1];
        const float ux = p.x - a.x, uy = p.y - a.y, vx = q.x - p.x, vy = q.y - p.y;
        if ((ux * vx + uy * vy) / (std::hypot(ux, uy) * std::hypot(vx, vy)) >= crease)
          for (int i = n - 1; i >= 0 && segment[i] == id && id > 0; --i) segment[i] = 0;
      }
      const int groupBase = nextGroup;
      nextGroup += 3 * (id + 1);
      for (int strip = 0; strip < 3; ++strip) {
        const Ring near = rings[c][strip], far = rings[c][strip + 1];
        const Part part = strip == 1 ? Part::Side : Part::Bevel;
        const float v0 = (strip == 0 ? z0 : strip == 1 ? z0 + b : z1 - b) * k;
        const float v1 = (strip == 0 ? z0 + b : strip == 1 ? z1 - b : z1) * k;
        for (int i = 0; i < n; ++i) {
          const int j = (i + 1) % n;
          const int p0 = near.first + i, p1 = near.first + j, q0 = far.first + i, q1 = far.first + j;
          const float u0 = along[i] * k, u1 = along[i + 1] * k;
          const int group = groupBase + strip * (id + 1) + segment[i];
          solid->triangles.push_back({p0, p1, q0});
          solid->uvs.push_back({u0, v0, u1, v0, u0, v1});
          solid->triangles.push_back({p1, q1, q0});
          solid->uvs.push_back({u1, v0, u1, v1, u0, v1});
          for (int t = 0; t < 2; ++t) {
            solid->parts.push_back(part);
            solid->smoothing.push_back(group);
          }
        }
      }
    }
  }
  return true;
}

void AppendSolid(c4e::PolyObject& mesh, const Solid& solid, const std::vector<Part>& parts) {
  std::map<std::pair<int, int>, int32_t> split;  // (solid vertex, smoothing group) → mesh vertex
  for (size_t t = 0; t < solid.triangles.size(); ++t) {
    if (std::find(parts.begin(), parts.end(), solid.parts[t]) == parts.end()) continue;
    std::array<int32_t, 3> tri{};
    for (int corner = 0; corner < 3; ++corner) {
      const int vertex = solid.triangles[t][corner];
      const auto key = std::make_pair(vertex, solid.smoothing[t]);
      auto found = split.find(key);
      if (found == split.end()) {
        found = split.emplace(key, static_cast<int32_t>(mesh.vertices.size())).first;
        mesh.vertices.push_back(solid.positions[vertex]);
      }
      tri[corner] = found->second;
    }
    mesh.polygons.push_back(tri);
    mesh.uvs.push_back(solid.uvs[t]);
  }
}

}  // namespace logo
