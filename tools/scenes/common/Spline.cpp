#include "Spline.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {

constexpr int kTableStepsPerSegment = 64;

}  // namespace

Spline::Spline(std::vector<Vec3> points, bool closed) : m_points(std::move(points)), m_closed(closed) {
  const int steps = Segments() * kTableStepsPerSegment;
  m_table.resize(steps + 1);
  m_table[0] = 0.0f;
  Vec3 previous = Point(0.0f);
  for (int i = 1; i <= steps; ++i) {
    const Vec3 p = Point(static_cast<float>(i) / steps);
    m_table[i] = m_table[i - 1] + kit::Length(p - previous);
    previous = p;
  }
  m_length = m_table.back();
}

int Spline::Segments() const {
  const int n = static_cast<int>(m_points.size());
  return m_closed ? n : n - 1;
}

Vec3 Spline::Control(int index) const {
  const int n = static_cast<int>(m_points.size());
  if (m_closed) return m_points[((index % n) + n) % n];
  // Open ends continue straight: a mirrored phantom point before the first and after the last.
  if (index < 0) return m_points[0] * 2.0f - m_points[1];
  if (index >= n) return m_points[n - 1] * 2.0f - m_points[n - 2];
  return m_points[index];
}

Vec3 Spline::SegmentPoint(int segment, float s) const {
  const Vec3 p0 = Control(segment - 1), p1 = Control(segment), p2 = Control(segment + 1), p3 = Control(segment + 2);
  const float s2 = s * s, s3 = s2 * s;
  return (p1 * 2.0f + (p2 - p0) * s + (p0 * 2.0f - p1 * 5.0f + p2 * 4.0f - p3) * s2 +
          (p1 * 3.0f - p0 - p2 * 3.0f + p3) * s3) *
         0.5f;
}

Vec3 Spline::Point(float t) const {
  const int segments = Segments();
  const float at = std::clamp(t, 0.0f, 1.0f) * segments;
  const int segment = std::min(static_cast<int>(at), segments - 1);
  return SegmentPoint(segment, at - segment);
}

Vec3 Spline::Tangent(float t) const {
  const float h = 1e-3f / Segments();
  float a = t - h, b = t + h;
  if (!m_closed) a = std::max(a, 0.0f), b = std::min(b, 1.0f);
  auto wrap = [this](float x) { return m_closed ? x - std::floor(x) : x; };
  return Normalize(Point(wrap(b)) - Point(wrap(a)));
}

float Spline::ParameterAt(float distance) const {
  if (m_closed && m_length > 0.0f) distance -= std::floor(distance / m_length) * m_length;
  distance = std::clamp(distance, 0.0f, m_length);
  const auto it = std::lower_bound(m_table.begin(), m_table.end(), distance);
  if (it == m_table.begin()) return 0.0f;
  if (it == m_table.end()) return 1.0f;
  const size_t i = static_cast<size_t>(it - m_table.begin());
  const float span = m_table[i] - m_table[i - 1];
  const float f = span > 0.0f ? (distance - m_table[i - 1]) / span : 0.0f;
  return (static_cast<float>(i - 1) + f) / static_cast<float>(m_table.size() - 1);
}

std::vector<Frame> Spline::Frames(int count, Vec3 up) const {
  std::vector<Frame> frames;
  if (count <= 0) return frames;
  const float step = m_closed ? m_length / count : (count > 1 ? m_length / (count - 1) : 0.0f);
  auto frameAt = [&](float distance) {
    const float t = ParameterAt(distance);
    Frame frame;
    frame.origin = Point(t);
    frame.tangent = Tangent(t);
    return frame;
  };
  Frame first = frameAt(0.0f);
  Vec3 normal = up - first.tangent * Dot(up, first.tangent);
  if (kit::Length(normal) < 1e-4f) normal = Cross(first.tangent, Vec3{1.0f, 0.0f, 0.0f});
  first.normal = Normalize(normal);
  first.binormal = Cross(first.tangent, first.normal);
  frames.push_back(first);
  // Double reflection carries the normal from frame to frame with the least rotation.
  auto carry = [](const Frame& from, Frame& to) {
    const Vec3 v1 = to.origin - from.origin;
    const float c1 = Dot(v1, v1);
    Vec3 r = from.normal, t = from.tangent;
    if (c1 > 1e-12f) {
      r = r - v1 * (2.0f / c1 * Dot(v1, r));
      t = t - v1 * (2.0f / c1 * Dot(v1, t));
    }
    const Vec3 v2 = to.tangent - t;
    const float c2 = Dot(v2, v2);
    if (c2 > 1e-12f) r = r - v2 * (2.0f / c2 * Dot(v2, r));
    to.normal = Normalize(r - to.tangent * Dot(r, to.tangent));
    to.binormal = Cross(to.tangent, to.normal);
  };
  for (int i = 1; i < count; ++i) {
    Frame frame = frameAt(step * i);
    carry(frames.back(), frame);
    frames.push_back(frame);
  }
  if (m_closed && count > 1) {
    // Where the carried normal comes back round, against the first: spread that angle.
    Frame back = frames[0];
    carry(frames.back(), back);
    const float angle = std::atan2(Dot(Cross(back.normal, first.normal), first.tangent), Dot(back.normal, first.normal));
    for (int i = 1; i < count; ++i) {
      Frame& frame = frames[i];
      frame.normal = Normalize(RotateAbout(frame.normal, frame.tangent, angle * i / count));
      frame.binormal = Cross(frame.tangent, frame.normal);
    }
  }
  return frames;
}

Spline SubPath(const Spline& curve, float fromDistance, float toDistance, int count) {
  std::vector<Vec3> points;
  count = std::max(count, 2);
  for (int i = 0; i < count; ++i)
    points.push_back(curve.PointAtDistance(fromDistance + (toDistance - fromDistance) * i / (count - 1)));
  return Spline(std::move(points), false);
}

}  // namespace kit
