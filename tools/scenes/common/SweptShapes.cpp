// The shapes built from curves and outlines: grids, lathes, sweeps, tubes, extrusions and
// displaced spheres.
#include <cmath>

#include "Shapes.h"

namespace kit {

void AppendGrid(c4e::PolyObject& mesh, Vec3 corner, Vec3 edgeU, Vec3 edgeV, int columns, int rows, float uTiles,
                float vTiles, bool twoSided) {
  SurfaceGrid grid;
  grid.columns = columns;
  grid.rows = rows;
  grid.uTiles = uTiles;
  grid.vTiles = vTiles;
  auto point = [&](float u, float v) { return corner + edgeU * u + edgeV * v; };
  // AppendSurface's triangles run u then v, so their face normal is along edgeU × edgeV.
  AppendSurface(mesh, grid, point);
  if (twoSided) {
    grid.flip = true;
    AppendSurface(mesh, grid, point);
  }
}

void AppendLathe(c4e::PolyObject& mesh, const std::vector<Vec2>& profile, int columns, float uTiles, float vTiles) {
  if (profile.size() < 2) return;
  SurfaceGrid grid;
  grid.columns = columns;
  grid.rows = static_cast<int>(profile.size()) - 1;
  grid.closedU = true;
  grid.uTiles = uTiles;
  grid.vTiles = vTiles;
  grid.collapseFirstRow = profile.front().x == 0.0f;
  grid.collapseLastRow = profile.back().x == 0.0f;
  grid.flip = true;  // u round and v up would face inward
  AppendSurface(mesh, grid, [&](float u, float v) {
    const size_t i = static_cast<size_t>(std::lround(v * grid.rows));
    const float theta = u * 2 * kPi;
    return Vec3{profile[i].x * std::cos(theta), profile[i].y, profile[i].x * std::sin(theta)};
  });
}

void AppendSweep(c4e::PolyObject& mesh, const Spline& path, const SweepParams& sweep,
                 const std::function<Vec2(float along, float around)>& section) {
  const bool closedPath = path.Closed();
  const std::vector<Frame> frames = path.Frames(closedPath ? sweep.segments : sweep.segments + 1, sweep.up);
  // AppendSurface runs u round the section and v along the path; it cannot close in v, so a
  // closed path repeats its first ring at the end (the seam's normals differ by a hair).
  SurfaceGrid grid;
  grid.columns = sweep.sides;
  grid.rows = sweep.segments;
  grid.closedU = sweep.closedSection;
  grid.uTiles = sweep.uTiles;
  grid.vTiles = sweep.vTiles;
  grid.flip = sweep.inward;  // round then along faces out of the section
  AppendSurface(mesh, grid, [&](float u, float v) {
    const int ring = static_cast<int>(std::lround(v * sweep.segments));
    const Frame& frame = frames[static_cast<size_t>(ring) % frames.size()];
    const Vec2 p = section(v, u);
    return frame.origin + frame.normal * p.x + frame.binormal * p.y;
  });
}

void AppendTube(c4e::PolyObject& mesh, const Spline& path, const SweepParams& sweep,
                const std::function<float(float along)>& radius) {
  AppendSweep(mesh, path, sweep, [&](float along, float around) {
    const float r = radius(along), angle = around * 2 * kPi;
    return Vec2{r * std::cos(angle), r * std::sin(angle)};
  });
}

void AppendRingAround(c4e::PolyObject& mesh, const Frame& frame, float majorRadius, float minorRadius, int columns,
                      int rows) {
  SurfaceGrid grid;
  grid.columns = columns;
  grid.rows = rows;
  grid.closedU = true;
  grid.uTiles = 4.0f;
  AppendSurface(mesh, grid, [&](float u, float v) {
    const float theta = u * 2 * kPi, phi = v * 2 * kPi;
    const Vec3 out = frame.normal * std::cos(theta) + frame.binormal * std::sin(theta);
    return frame.origin + out * (majorRadius + minorRadius * std::cos(phi)) + frame.tangent * (minorRadius * std::sin(phi));
  });
}

std::vector<std::array<int, 3>> Triangulate(const std::vector<Vec2>& outline) {
  std::vector<std::array<int, 3>> triangles;
  std::vector<int> left;
  for (int i = 0; i < static_cast<int>(outline.size()); ++i) left.push_back(i);
  auto cross = [&](int a, int b, int c) {
    const Vec2 &p = outline[a], &q = outline[b], &r = outline[c];
    return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
  };
  auto inside = [&](int p, int a, int b, int c) {
    return cross(a, b, p) >= 0.0f && cross(b, c, p) >= 0.0f && cross(c, a, p) >= 0.0f;
  };
  size_t guard = 0;
  while (left.size() > 3 && guard < outline.size() * outline.size()) {
    ++guard;
    const size_t n = left.size();
    bool clipped = false;
    for (size_t i = 0; i < n; ++i) {
      const int a = left[(i + n - 1) % n], b = left[i], c = left[(i + 1) % n];
      if (cross(a, b, c) <= 0.0f) continue;  // a reflex corner is no ear
      bool empty = true;
      for (int other : left)
        if (other != a && other != b && other != c && inside(other, a, b, c)) {
          empty = false;
          break;
        }
      if (!empty) continue;
      triangles.push_back({a, b, c});
      left.erase(left.begin() + static_cast<long>(i));
      clipped = true;
      break;
    }
    if (!clipped) break;  // not a simple counter-clockwise polygon
  }
  if (left.size() == 3) triangles.push_back({left[0], left[1], left[2]});
  return triangles;
}

void AppendExtrusion(c4e::PolyObject& mesh, const std::vector<Vec2>& outline, float depth, float uvPerUnit) {
  const int n = static_cast<int>(outline.size());
  if (n < 3) return;
  const std::vector<std::array<int, 3>> cap = Triangulate(outline);
  // Caps: the back (z = 0) faces −z, the front (z = depth) +z; each has its own vertices so the
  // edges stay sharp.
  for (int side = 0; side < 2; ++side) {
    const int base = static_cast<int>(mesh.vertices.size());
    const float z = side == 0 ? 0.0f : depth;
    for (const Vec2& p : outline) mesh.vertices.push_back({p.x, p.y, z});
    for (const auto& t : cap) {
      // Counter-clockwise from +z faces +z: the back cap reverses.
      std::array<int32_t, 3> tri{base + t[0], base + t[1], base + t[2]};
      if (side == 0) std::swap(tri[1], tri[2]);
      std::array<float, 6> uv{};
      for (int k = 0; k < 3; ++k) {
        const Vec2& p = outline[static_cast<size_t>(tri[k] - base)];
        uv[2 * k] = p.x * uvPerUnit;
        uv[2 * k + 1] = -p.y * uvPerUnit;
      }
      mesh.polygons.push_back(tri);
      mesh.uvs.push_back(uv);
    }
  }
  // Sides: one quad per outline edge, flat (own vertices).
  float run = 0.0f;
  for (int i = 0; i < n; ++i) {
    const Vec2 a = outline[i], b = outline[(i + 1) % n];
    const float length = std::hypot(b.x - a.x, b.y - a.y);
    const int base = static_cast<int>(mesh.vertices.size());
    mesh.vertices.push_back({a.x, a.y, 0.0f});
    mesh.vertices.push_back({b.x, b.y, 0.0f});
    mesh.vertices.push_back({a.x, a.y, depth});
    mesh.vertices.push_back({b.x, b.y, depth});
    const float u0 = run * uvPerUnit, u1 = (run + length) * uvPerUnit, v1 = depth * uvPerUnit;
    mesh.polygons.push_back({base, base + 1, base + 2});
    mesh.uvs.push_back({u0, 0.0f, u1, 0.0f, u0, v1});
    mesh.polygons.push_back({base + 1, base + 3, base + 2});
    mesh.uvs.push_back({u1, 0.0f, u1, v1, u0, v1});
    run += length;
  }
}

void AppendDisplacedSphere(c4e::PolyObject& mesh, float radius, int columns, int rows,
                           const std::function<float(Vec3 direction)>& displacement) {
  SurfaceGrid grid;
  grid.columns = columns;
  grid.rows = rows;
  grid.closedU = true;
  grid.collapseFirstRow = true;
  grid.collapseLastRow = true;
  grid.uTiles = 2.0f;
  AppendSurface(mesh, grid, [&](float u, float v) {
    const float theta = u * 2 * kPi, phi = v * kPi;
    const Vec3 direction{std::sin(phi) * std::cos(theta), std::cos(phi), std::sin(phi) * std::sin(theta)};
    const float r = radius * (1.0f + displacement(direction));
    return Vec3{r * std::sin(phi) * std::cos(theta), r * std::cos(phi), r * std::sin(phi) * std::sin(theta)};
  });
}

}  // namespace kit
