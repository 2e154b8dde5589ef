#include "Shapes.h"

#include <cmath>
#include <vector>

namespace kit {

void AppendSurface(c4e::PolyObject& mesh, const SurfaceGrid& grid,
                   const std::function<c4e::Vec3(float u, float v)>& point) {
  const int base = static_cast<int>(mesh.vertices.size());
  const int columnsStored = grid.closedU ? grid.columns : grid.columns + 1;
  // Vertex index of grid point (column, row), honouring the shared seam and poles.
  std::vector<int> rowStart(grid.rows + 1);
  int next = base;
  for (int row = 0; row <= grid.rows; ++row) {
    rowStart[row] = next;
    const bool collapsed = (row == 0 && grid.collapseFirstRow) || (row == grid.rows && grid.collapseLastRow);
    const float v = static_cast<float>(row) / grid.rows;
    if (collapsed) {
      mesh.vertices.push_back(point(0.0f, v));
      next += 1;
      continue;
    }
    for (int column = 0; column < columnsStored; ++column)
      mesh.vertices.push_back(point(static_cast<float>(column) / grid.columns, v));
    next += columnsStored;
  }
  auto index = [&](int column, int row) {
    const bool collapsed = (row == 0 && grid.collapseFirstRow) || (row == grid.rows && grid.collapseLastRow);
    if (collapsed) return rowStart[row];
    if (grid.closedU) column %= grid.columns;
    return rowStart[row] + column;
  };
  for (int row = 0; row < grid.rows; ++row) {
    for (int column = 0; column < grid.columns; ++column) {
      const float u0 = static_cast<float>(column) / grid.columns * grid.uTiles;
      const float u1 = static_cast<float>(column + 1) / grid.columns * grid.uTiles;
      const float v0 = static_cast<float>(row) / grid.rows * grid.vTiles;
      const float v1 = static_cast<float>(row + 1) / grid.rows * grid.vTiles;
      const int a = index(column, row), b = index(column + 1, row);
      const int c = index(column, row + 1), d = index(column + 1, row + 1);
      std::array<int32_t, 3> first{a, b, c}, second{b, d, c};
      std::array<float, 6> firstUv{u0, v0, u1, v0, u0, v1}, secondUv{u1, v0, u1, v1, u0, v1};
      if (grid.flip) {
        std::swap(first[1], first[2]);
        std::swap(firstUv[2], firstUv[4]);
        std::swap(firstUv[3], firstUv[5]);
        std::swap(second[1], second[2]);
        std::swap(secondUv[2], secondUv[4]);
        std::swap(secondUv[3], secondUv[5]);
      }
      // Triangles that collapse into a pole have no area; leave them out.
      if (first[0] != first[1] && first[1] != first[2] && first[0] != first[2]) {
        mesh.polygons.push_back(first);
        mesh.uvs.push_back(firstUv);
      }
      if (second[0] != second[1] && second[1] != second[2] && second[0] != second[2]) {
        mesh.polygons.push_back(second);
        mesh.uvs.push_back(secondUv);
      }
    }
  }
}

void AppendBox(c4e::PolyObject& mesh, float width, float height, float depth, float uvPerUnit) {
  const float x = width / 2, y = height / 2, z = depth / 2;
  struct Face {
    c4e::Vec3 origin, along, up;  // corner, edge in u, edge in v (both full length)
    float uLength, vLength;
  };
  // Each face seen from outside: u runs right and v runs down, so along × up points outward.
  const Face faces[6] = {
      {{-x, y, -z}, {width, 0, 0}, {0, -height, 0}, width, height},    // front (−z)
      {{x, y, z}, {-width, 0, 0}, {0, -height, 0}, width, height},     // back (+z)
      {{-x, y, z}, {0, 0, -depth}, {0, -height, 0}, depth, height},    // left (−x)
      {{x, y, -z}, {0, 0, depth}, {0, -height, 0}, depth, height},     // right (+x)
      {{-x, y, z}, {width, 0, 0}, {0, 0, -depth}, width, depth},       // top (+y)
      {{-x, -y, -z}, {width, 0, 0}, {0, 0, depth}, width, depth},      // bottom (−y)
  };
  for (const Face& face : faces) {
    SurfaceGrid grid;
    grid.uTiles = face.uLength * uvPerUnit;
    grid.vTiles = face.vLength * uvPerUnit;
    AppendSurface(mesh, grid, [&](float u, float v) {
      return c4e::Vec3{face.origin.x + face.along.x * u + face.up.x * v, face.origin.y + face.along.y * u + face.up.y * v,
                       face.origin.z + face.along.z * u + face.up.z * v};
    });
  }
}

void AppendSphere(c4e::PolyObject& mesh, float radius, int columns, int rows) {
  AppendDisplacedSphere(mesh, radius, columns, rows, [](Vec3) { return 0.0f; });
}

void AppendTorus(c4e::PolyObject& mesh, float majorRadius, float minorRadius, int columns, int rows) {
  SurfaceGrid grid;
  grid.columns = columns;
  grid.rows = rows;
  grid.closedU = true;
  grid.uTiles = 4.0f;
  grid.flip = true;  // this parametrisation's u × v points into the tube
  // v runs once around the tube; its seam is not shared, the normals there differ by a hair.
  AppendSurface(mesh, grid, [&](float u, float v) {
    const float theta = u * 2 * kPi, phi = v * 2 * kPi;
    const float ring = majorRadius + minorRadius * std::cos(phi);
    return c4e::Vec3{ring * std::cos(theta), minorRadius * std::sin(phi), ring * std::sin(theta)};
  });
}

void AppendCylinder(c4e::PolyObject& mesh, float radius, float height, int columns) {
  SurfaceGrid side;
  side.columns = columns;
  side.rows = 4;
  side.closedU = true;
  side.uTiles = 3.0f;
  AppendSurface(mesh, side, [&](float u, float v) {
    const float theta = u * 2 * kPi;
    return c4e::Vec3{radius * std::cos(theta), height * (1.0f - v), radius * std::sin(theta)};
  });
  SurfaceGrid cap;
  cap.columns = columns;
  cap.rows = 1;
  cap.closedU = true;
  cap.collapseFirstRow = true;
  AppendSurface(mesh, cap, [&](float u, float v) {
    const float theta = u * 2 * kPi;
    return c4e::Vec3{radius * v * std::cos(theta), height, radius * v * std::sin(theta)};
  });
}

void AppendFloor(c4e::PolyObject& mesh, float size, int cells, float tiles) {
  SurfaceGrid grid;
  grid.columns = cells;
  grid.rows = cells;
  grid.uTiles = tiles;
  grid.vTiles = tiles;
  const float half = size / 2;
  AppendSurface(mesh, grid, [&](float u, float v) { return c4e::Vec3{-half + size * u, 0.0f, half - size * v}; });
}

}  // namespace kit
