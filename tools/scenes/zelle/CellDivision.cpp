#include "CellDivision.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace zelle {

namespace {

constexpr float kPi = 3.14159265358979f;
// Iso level of the two unit blobs: ln(2 / T) sets the round body's radius, ln(1 / T) a daughter's.
constexpr float kThreshold = 0.25f;
// The thread left between daughters that have parted, as a share of the radius.
constexpr float kThread = 0.045f;

float Spread(const Dumbbell& body) { return body.radius / std::sqrt(std::log(2.0f / kThreshold)); }

float AxialField(const Dumbbell& body, float z) {
  const float s = Spread(body);
  const float a = (z - body.separation) / s, b = (z + body.separation) / s;
  return std::exp(-a * a) + std::exp(-b * b);
}

// Distance from the axis without the surface's lumps.
float SmoothProfile(const Dumbbell& body, float z) {
  const float field = AxialField(body, z);
  float radius = field > kThreshold ? Spread(body) * std::sqrt(std::log(field / kThreshold)) : 0.0f;
  if (std::fabs(z) < body.separation) radius = std::max(radius, kThread * body.radius);
  return radius;
}

Vec Perpendicular(Vec axis) {
  const Vec helper = std::fabs(axis.y) < 0.9f ? Vec{0.0f, 1.0f, 0.0f} : Vec{1.0f, 0.0f, 0.0f};
  return kit::Normalize(kit::Cross(helper, axis));
}

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

}  // namespace

float DaughterRadius(float radius) { return radius * std::sqrt(std::log(1.0f / kThreshold) / std::log(2.0f / kThreshold)); }

float HalfLength(const Dumbbell& body) {
  // The field falls monotonically beyond the outer blob's centre.
  float inside = body.separation, outside = body.separation + 3.0f * Spread(body);
  for (int i = 0; i < 40; ++i) {
    const float middle = 0.5f * (inside + outside);
    (AxialField(body, middle) > kThreshold ? inside : outside) = middle;
  }
  return 0.5f * (inside + outside);
}

float ProfileRadius(const Dumbbell& body, float z) { return SmoothProfile(body, z); }

std::function<c4e::Vec3(float u, float v)> DumbbellSurface(const Dumbbell& body) {
  // Rows follow the outline by arc length, weighted towards the fat parts so a long thin thread
  // does not take the rows the lobes need.
  constexpr int kSamples = 800;
  const float half = HalfLength(body);
  auto table = std::make_shared<std::vector<std::pair<float, float>>>();  // (length so far, z)
  table->reserve(kSamples + 1);
  float total = 0.0f, previousZ = half, previousRadius = 0.0f;
  const float fattest = std::max(ProfileRadius(body, body.separation), ProfileRadius(body, 0.0f));
  table->push_back({0.0f, half});
  for (int i = 1; i <= kSamples; ++i) {
    const float z = half - 2.0f * half * i / kSamples;
    const float radius = SmoothProfile(body, z);
    const float step = std::hypot(z - previousZ, radius - previousRadius);
    total += step * (0.3f + 0.7f * 0.5f * (radius + previousRadius) / fattest);
    table->push_back({total, z});
    previousZ = z, previousRadius = radius;
  }
  const Vec side = Perpendicular(body.axis);
  const Vec other = kit::Cross(side, body.axis);  // side × axis: the outward winding of the grid
  const Dumbbell shape = body;
  return [table, total, side, other, shape](float u, float v) {
    const float target = v * total;
    const auto at = std::lower_bound(table->begin(), table->end(), target,
                                     [](const std::pair<float, float>& entry, float length) { return entry.first < length; });
    float z = table->back().second;
    if (at == table->begin()) {
      z = at->second;
    } else if (at != table->end()) {
      const auto before = at - 1;
      const float t = (target - before->first) / std::max(at->first - before->first, 1e-6f);
      z = Lerp(before->second, at->second, t);
    }
    const float theta = u * 2.0f * kPi;
    const float along = z / shape.radius;
    const float lumps = 0.6f * std::sin(3.0f * theta + 2.3f * along + shape.phase) +
                        0.4f * std::sin(2.0f * theta - 3.1f * along + 1.7f * shape.phase + 1.0f);
    const float radius = SmoothProfile(shape, z) * (1.0f + shape.wobble * lumps);
    const Vec round = side * std::cos(theta) + other * std::sin(theta);
    return shape.centre + shape.axis * z + round * radius;
  };
}

float Ease(float frame, float from, float to) {
  const float t = std::clamp((frame - from) / (to - from), 0.0f, 1.0f);
  return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

Dumbbell FirstMembrane(float frame) {
  Dumbbell body;
  body.radius = kCellRadius;
  body.separation = 1.02f * kCellRadius * Ease(frame, 48.0f, 132.0f);
  body.wobble = 0.03f;
  body.phase = frame * 0.05f;
  return body;
}

Dumbbell FirstNucleus(float frame) {
  Dumbbell body;
  body.radius = kNucleusRadius;
  // The nucleus parts first, then its halves are pulled into the daughters along a thread.
  body.separation = frame < 88.0f ? kNucleusRadius * Ease(frame, 28.0f, 88.0f)
                                  : Lerp(kNucleusRadius, 1.02f * kCellRadius, Ease(frame, 88.0f, 130.0f));
  body.wobble = 0.05f;
  body.phase = frame * 0.08f + 1.0f;
  return body;
}

Vec DaughterCentre(int daughter) { return Vec{daughter == 0 ? -86.0f : 86.0f, 0.0f, 0.0f}; }

Vec DaughterAxis(int daughter) { return daughter == 0 ? Vec{0.0f, 1.0f, 0.0f} : Vec{0.0f, 0.0f, 1.0f}; }

Dumbbell SecondMembrane(int daughter, float frame) {
  Dumbbell body;
  body.centre = DaughterCentre(daughter);
  body.axis = DaughterAxis(daughter);
  body.radius = kDaughterCellRadius;
  // The second daughter starts a little later: the two do not divide in lockstep.
  const float lag = 6.0f * daughter;
  body.separation = 1.02f * kDaughterCellRadius * Ease(frame, 185.0f + lag, 258.0f + lag);
  body.wobble = 0.03f;
  body.phase = frame * 0.05f + 2.0f * daughter;
  return body;
}

Dumbbell SecondNucleus(int daughter, float frame) {
  Dumbbell body;
  body.centre = DaughterCentre(daughter);
  body.axis = DaughterAxis(daughter);
  body.radius = kDaughterNucleusRadius;
  const float lag = 6.0f * daughter;
  body.separation = frame < 222.0f + lag
                        ? kDaughterNucleusRadius * Ease(frame, 165.0f + lag, 222.0f + lag)
                        : Lerp(kDaughterNucleusRadius, 1.02f * kDaughterCellRadius, Ease(frame, 222.0f + lag, 256.0f + lag));
  body.wobble = 0.05f;
  body.phase = frame * 0.08f + 3.0f * daughter;
  return body;
}

GroupPose QuarterGroup(int quarter, float frame) {
  const int daughter = quarter / 2;
  const float side = quarter % 2 ? 1.0f : -1.0f;
  const Vec axis = DaughterAxis(daughter);
  GroupPose pose;
  if (frame < kSwapFrame) {
    const Dumbbell body = FirstMembrane(frame);
    const float parted = Ease(frame, 48.0f, 132.0f);
    const float lobe = Lerp(kCellRadius, DaughterRadius(kCellRadius), parted);
    const Vec centre{(daughter == 0 ? -1.0f : 1.0f) * body.separation, 0.0f, 0.0f};
    pose.centre = centre + axis * (side * 0.4f * lobe);
    pose.scale = lobe / kCellRadius;
  } else {
    const Dumbbell body = SecondMembrane(daughter, frame);
    const float parted = std::min(body.separation / kDaughterCellRadius, 1.0f);
    const float start = 0.4f * DaughterRadius(kCellRadius);
    pose.centre = body.centre + axis * (side * Lerp(start, body.separation, parted));
    pose.scale = Lerp(DaughterRadius(kCellRadius), DaughterRadius(kDaughterCellRadius), parted) / kCellRadius;
  }
  return pose;
}

}  // namespace zelle
