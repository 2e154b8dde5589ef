#include "Metaballs.h"

#include <cmath>

#include "Geodesic.h"

namespace blob {

using kit::Vec3;

namespace {

constexpr float kTau = 6.28318530717959f;

struct Orbit {
  float distance;   // mean distance from the core
  float plunge;     // how far it dives in and out
  int plungeTurns;  // dives per loop
  int turns;        // revolutions per loop (sign: direction)
  float phase;      // 0..1
  float tiltX, tiltZ;
  float radius;
};

// Whole numbers of turns and dives per loop keep the motion seamless at the restart.
constexpr Orbit kOrbits[] = {
    {71.8f, 20.8f, 3, 1, 0.00f, 0.35f, 0.10f, 48.0f},  {75.4f, 24.0f, 2, -2, 0.17f, 1.10f, -0.40f, 44.0f},
    {68.1f, 17.6f, 4, 2, 0.41f, -0.70f, 0.90f, 42.0f},  {81.0f, 27.2f, 3, -1, 0.63f, 0.20f, 1.40f, 40.0f},
    {64.4f, 19.2f, 5, 3, 0.82f, -1.30f, -0.20f, 36.0f}, {79.1f, 22.4f, 2, 1, 0.29f, 0.85f, 0.65f, 34.0f},
    {82.8f, 24.0f, 4, -3, 0.55f, -0.45f, -1.05f, 30.0f},
};

Vec3 RotateX(Vec3 p, float a) {
  const float c = std::cos(a), s = std::sin(a);
  return {p.x, c * p.y - s * p.z, s * p.y + c * p.z};
}

Vec3 RotateZ(Vec3 p, float a) {
  const float c = std::cos(a), s = std::sin(a);
  return {c * p.x - s * p.y, s * p.x + c * p.y, p.z};
}

}  // namespace

std::vector<Metaball> BallsAt(float frame) {
  const float u = frame / kLastFrame;
  std::vector<Metaball> balls;
  // The core breathes twice and bobs four times a loop.
  balls.push_back({{0.0f, 10.0f * std::sin(kTau * 4 * u), 0.0f}, 80.0f + 7.0f * std::sin(kTau * 2 * u)});
  for (const Orbit& o : kOrbits) {
    const float angle = kTau * (o.turns * u + o.phase);
    const float distance = o.distance + o.plunge * std::sin(kTau * (o.plungeTurns * u + o.phase * 2));
    Vec3 p{distance * std::cos(angle), 0.0f, distance * std::sin(angle)};
    p = RotateZ(RotateX(p, o.tiltX), o.tiltZ);
    balls.push_back({p, o.radius * (1.0f + 0.12f * std::sin(kTau * (o.plungeTurns * u + o.phase)))});
  }
  return balls;
}

float FieldValue(const std::vector<Metaball>& balls, Vec3 p) {
  float value = 0.0f;
  for (const Metaball& b : balls) {
    const Vec3 d = p - b.centre;
    const float q = b.radius * b.radius / std::fmax(kit::Dot(d, d), 1e-6f);
    value += q * q;
  }
  return value;
}

Vec3 FieldCentre(const std::vector<Metaball>& balls) {
  Vec3 sum{};
  float weight = 0.0f;
  for (const Metaball& b : balls) {
    const float w = b.radius * b.radius * b.radius;
    sum += b.centre * w;
    weight += w;
  }
  return sum * (1.0f / weight);
}

std::vector<Vec3> SurfaceAt(const std::vector<Vec3>& unitSphere, float frame) {
  const std::vector<Metaball> balls = BallsAt(frame);
  float reach = 0.0f;
  const Vec3 centre = FieldCentre(balls);
  for (const Metaball& b : balls) reach = std::fmax(reach, kit::Length(b.centre - centre) + 3.0f * b.radius);
  return kit::ProjectSphere(
      unitSphere, [&](Vec3 p) { return FieldValue(balls, p); }, kIso, centre, reach, 64);
}

}  // namespace blob
