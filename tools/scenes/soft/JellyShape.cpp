#include "JellyShape.h"

#include <algorithm>
#include <cmath>

#include "Geodesic.h"

namespace soft {

using kit::Vec3;

float JellyShape::Distance(Vec3 p) const {
  switch (kind) {
    case ShapeKind::Sphere:
      return kit::Length(p) - size.x;
    case ShapeKind::RoundedBox: {
      const Vec3 q{std::fabs(p.x) - size.x + rounding, std::fabs(p.y) - size.y + rounding, std::fabs(p.z) - size.z + rounding};
      const Vec3 outside{std::max(q.x, 0.0f), std::max(q.y, 0.0f), std::max(q.z, 0.0f)};
      return kit::Length(outside) + std::min(std::max(q.x, std::max(q.y, q.z)), 0.0f) - rounding;
    }
    case ShapeKind::Pudding: {
      // A rounded cylinder narrowing towards its top, like a jelly out of its mould.
      const float taper = 1.0f - 0.16f * std::clamp(p.y / size.y, -1.0f, 1.0f);
      const float dx = std::sqrt(p.x * p.x + p.z * p.z) - size.x * taper + rounding;
      const float dy = std::fabs(p.y) - size.y + rounding;
      const float ox = std::max(dx, 0.0f), oy = std::max(dy, 0.0f);
      return std::min(std::max(dx, dy), 0.0f) + std::sqrt(ox * ox + oy * oy) - rounding;
    }
    case ShapeKind::Capsule: {
      // Lying along x: half length size.x including the caps, radius size.y.
      const float along = std::clamp(p.x, -(size.x - size.y), size.x - size.y);
      return kit::Length(Vec3{p.x - along, p.y, p.z}) - size.y;
    }
  }
  return 0.0f;
}

Vec3 JellyShape::Normal(Vec3 p) const {
  return kit::FieldNormal([this](Vec3 q) { return -Distance(q); }, p, 0.25f);
}

float JellyShape::Reach() const {
  switch (kind) {
    case ShapeKind::Sphere: return size.x;
    case ShapeKind::Capsule: return size.x;
    default: return kit::Length(size);
  }
}

}  // namespace soft
