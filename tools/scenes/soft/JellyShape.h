#pragma once
// The rest shapes of the jellies as signed distance functions (negative inside), in the body's
// own frame with the origin at the shape's centre. They shape the meshes (a sphere projected
// onto the surface) and tell the simulation when another body's vertex has entered.
#include "VecMath.h"

namespace soft {

enum class ShapeKind { Sphere, RoundedBox, Pudding, Capsule };

struct JellyShape {
  ShapeKind kind = ShapeKind::Sphere;
  kit::Vec3 size{50.0f, 50.0f, 50.0f};  // half extents (sphere: x is the radius)
  float rounding = 12.0f;                     // corner radius of boxes and puddings

  float Distance(kit::Vec3 p) const;
  // Outward unit normal of the distance field at p.
  kit::Vec3 Normal(kit::Vec3 p) const;
  // Distance from the centre to the farthest surface point (bounding sphere).
  float Reach() const;
};

}  // namespace soft
