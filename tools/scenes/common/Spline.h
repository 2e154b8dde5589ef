#pragma once
// A Catmull-Rom curve through control points, open or closed, measured by arc length, with
// twist-free frames along it: the path of swept shapes, tunnels and cameras.
#include <vector>

#include "VecMath.h"

namespace kit {

// A moving frame on the curve: tangent along it, normal and binormal across it (right-handed,
// binormal = tangent × normal).
struct Frame {
  Vec3 origin;
  Vec3 tangent;
  Vec3 normal;
  Vec3 binormal;
};

class Spline {
 public:
  // At least two points; a closed curve runs back from the last point to the first.
  Spline(std::vector<Vec3> points, bool closed);

  // t in [0, 1] over the whole curve, uniform per segment (each control point span gets an
  // equal share of t).
  Vec3 Point(float t) const;
  Vec3 Tangent(float t) const;  // unit length
  float Length() const { return m_length; }
  // The t at which the curve has covered distance (clamped to [0, Length()]; wraps when closed).
  float ParameterAt(float distance) const;
  Vec3 PointAtDistance(float distance) const { return Point(ParameterAt(distance)); }

  // count frames at equal arc-length steps from the start (to the end, or for a closed curve
  // up to one step before the start again). The first normal is up made perpendicular to the
  // tangent; the rest are carried along without twist (rotation minimising). A closed curve
  // spreads the twist left at the seam over its length, so the frames join.
  std::vector<Frame> Frames(int count, Vec3 up) const;

  bool Closed() const { return m_closed; }
  const std::vector<Vec3>& Points() const { return m_points; }

 private:
  Vec3 SegmentPoint(int segment, float s) const;
  Vec3 Control(int index) const;
  int Segments() const;

  std::vector<Vec3> m_points;
  bool m_closed;
  std::vector<float> m_table;  // arc length at equal steps of t
  float m_length = 0.0f;
};

// The stretch of curve from one distance along it to another (wrapping round a closed curve),
// as an open spline through count points at equal steps: a camera path along part of a loop.
Spline SubPath(const Spline& curve, float fromDistance, float toDistance, int count);

}  // namespace kit
