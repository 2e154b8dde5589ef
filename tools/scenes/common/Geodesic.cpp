#include "Geodesic.h"

#include <array>
#include <cmath>
#include <map>
#include <tuple>

namespace kit {

namespace {

// The twelve corners and twenty faces of an icosahedron, faces wound outwards (e1 × e2).
void Icosahedron(std::vector<Vec3>* corners, std::vector<std::array<int, 3>>* faces) {
  const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
  *corners = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
              {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
  for (Vec3& c : *corners) c = Normalize(c);
  *faces = {{0, 11, 5}, {0, 5, 1}, {0, 1, 7}, {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
            {11, 10, 2}, {10, 7, 6}, {7, 1, 8}, {3, 9, 4}, {3, 4, 2}, {3, 2, 6}, {3, 6, 8},
            {3, 8, 9}, {4, 9, 5}, {2, 4, 11}, {6, 2, 10}, {8, 6, 7}, {9, 8, 1}};
  // Make every face point outwards under e1 × e2, whatever the table's handedness.
  for (auto& f : *faces) {
    const Vec3 a = (*corners)[f[0]], b = (*corners)[f[1]], c = (*corners)[f[2]];
    if (Dot(Cross(b - a, c - a), a + b + c) < 0.0f) std::swap(f[1], f[2]);
  }
}

}  // namespace

void AppendGeodesicSphere(c4e::PolyObject& mesh, int frequency) {
  std::vector<Vec3> corners;
  std::vector<std::array<int, 3>> faces;
  Icosahedron(&corners, &faces);
  // Points on shared edges are found again by their rounded position.
  std::map<std::tuple<long, long, long>, int> known;
  auto vertex = [&](Vec3 p) {
    p = Normalize(p);
    const auto key = std::make_tuple(std::lround(p.x * 1e5f), std::lround(p.y * 1e5f), std::lround(p.z * 1e5f));
    const auto found = known.find(key);
    if (found != known.end()) return found->second;
    const int index = static_cast<int>(mesh.vertices.size());
    mesh.vertices.push_back(p);
    known.emplace(key, index);
    return index;
  };
  auto uvOf = [](Vec3 p) {
    return std::array<float, 2>{0.5f + std::atan2(p.z, p.x) / (2 * kPi), std::acos(std::fmax(-1.0f, std::fmin(1.0f, p.y))) / kPi};
  };
  const int f = frequency;
  for (const auto& face : faces) {
    const Vec3 a = corners[face[0]], b = corners[face[1]], c = corners[face[2]];
    // Grid point (i, j): i steps from a towards b, j from a towards c.
    std::vector<std::vector<int>> grid(f + 1);
    for (int i = 0; i <= f; ++i)
      for (int j = 0; j <= f - i; ++j) {
        const float u = static_cast<float>(i) / f, v = static_cast<float>(j) / f;
        grid[i].push_back(vertex(a * (1 - u - v) + b * u + c * v));
      }
    auto emit = [&](int p, int q, int r) {
      mesh.polygons.push_back({p, q, r});
      std::array<float, 2> t[3] = {uvOf(mesh.vertices[p]), uvOf(mesh.vertices[q]), uvOf(mesh.vertices[r])};
      // Keep the longitude continuous inside the triangle across the seam.
      for (int k = 1; k < 3; ++k) {
        if (t[k][0] - t[0][0] > 0.5f) t[k][0] -= 1.0f;
        if (t[0][0] - t[k][0] > 0.5f) t[k][0] += 1.0f;
      }
      mesh.uvs.push_back({t[0][0], t[0][1], t[1][0], t[1][1], t[2][0], t[2][1]});
    };
    for (int i = 0; i < f; ++i)
      for (int j = 0; j < f - i; ++j) {
        emit(grid[i][j], grid[i + 1][j], grid[i][j + 1]);
        if (j + 1 < f - i) emit(grid[i + 1][j], grid[i + 1][j + 1], grid[i][j + 1]);
      }
  }
}

Vec3 ProjectRay(const Field& field, float iso, Vec3 centre, Vec3 direction, float reach, int steps) {
  const float step = reach / steps;
  for (int s = steps; s > 0; --s) {
    const float outer = step * s, inner = step * (s - 1);
    if (field(centre + direction * inner) < iso) continue;
    // The crossing lies between inner (inside) and outer (outside).
    float lo = inner, hi = outer;
    for (int k = 0; k < 24; ++k) {
      const float mid = 0.5f * (lo + hi);
      (field(centre + direction * mid) >= iso ? lo : hi) = mid;
    }
    return centre + direction * (0.5f * (lo + hi));
  }
  return centre;
}

std::vector<Vec3> ProjectSphere(const std::vector<Vec3>& unitDirections, const Field& field, float iso, Vec3 centre,
                                float reach, int steps) {
  std::vector<Vec3> out;
  out.reserve(unitDirections.size());
  for (const Vec3& d : unitDirections) out.push_back(ProjectRay(field, iso, centre, Normalize(d), reach, steps));
  return out;
}

Vec3 FieldNormal(const Field& field, Vec3 p, float h) {
  const Vec3 gradient{field(p + Vec3{h, 0, 0}) - field(p - Vec3{h, 0, 0}), field(p + Vec3{0, h, 0}) - field(p - Vec3{0, h, 0}),
                      field(p + Vec3{0, 0, h}) - field(p - Vec3{0, 0, h})};
  return Normalize(-gradient);
}

std::vector<Vec3> VertexNormals(const std::vector<Vec3>& positions, const std::vector<std::array<int32_t, 3>>& polygons) {
  std::vector<Vec3> normals(positions.size());
  for (const auto& t : polygons) {
    const Vec3 n = Cross(positions[t[1]] - positions[t[0]], positions[t[2]] - positions[t[0]]);
    for (int k = 0; k < 3; ++k) normals[t[k]] += n;
  }
  for (Vec3& n : normals) n = Normalize(n);
  return normals;
}

float EnclosedVolume(const std::vector<Vec3>& positions, const std::vector<std::array<int32_t, 3>>& polygons) {
  double volume = 0.0;
  for (const auto& t : polygons) volume += Dot(positions[t[0]], Cross(positions[t[1]], positions[t[2]]));
  return static_cast<float>(volume / 6.0);
}

}  // namespace kit
