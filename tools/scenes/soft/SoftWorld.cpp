#include "SoftWorld.h"

#include <algorithm>
#include <cmath>

#include "Geodesic.h"

namespace soft {

using kit::Cross;
using kit::Dot;
using kit::Vec3;

namespace {

constexpr double kFrameSeconds = 1.0 / 25.0;

Rotation Multiply(const Rotation& a, const Rotation& b) {
  return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
          a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}

Rotation AxisAngle(Vec3 rotationVector) {
  const float angle = kit::Length(rotationVector);
  if (angle < 1e-9f) return {};
  const Vec3 axis = rotationVector * (1.0f / angle);
  const float s = std::sin(angle / 2);
  return {std::cos(angle / 2), axis.x * s, axis.y * s, axis.z * s};
}

Rotation Normalized(Rotation q) {
  const float l = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
  return {q.w / l, q.x / l, q.y / l, q.z / l};
}

}  // namespace

Vec3 Rotation::Apply(Vec3 v) const {
  const Vec3 u{x, y, z};
  const Vec3 t = Cross(u, v) * 2.0f;
  return v + t * w + Cross(u, t);
}

Vec3 Rotation::ApplyInverse(Vec3 v) const { return Rotation{w, -x, -y, -z}.Apply(v); }

std::vector<Vec3> PlacedAtStart(const Body& body) {
  const Rotation turn = AxisAngle(body.startTurn);
  std::vector<Vec3> out;
  for (const Vec3& q : body.rest) out.push_back(body.start + turn.Apply(q));
  return out;
}

void SoftWorld::AddBody(Body body) {
  Vec3 mean{};
  for (const Vec3& p : body.rest) mean += p;
  mean = mean * (1.0f / static_cast<float>(body.rest.size()));
  for (Vec3& p : body.rest) p -= mean;
  body.shapeOffset = -mean;
  body.frame = AxisAngle(body.startTurn);
  body.x = PlacedAtStart(body);
  body.v.assign(body.x.size(), Vec3{});
  body.predicted = body.x;
  body.centre = body.start;
  body.restVolume = kit::EnclosedVolume(body.rest, body.triangles);
  body.live = false;
  m_bodies.push_back(std::move(body));
}

void SoftWorld::StepFrame() {
  const int n = m_settings.substeps;
  const float dt = static_cast<float>(kFrameSeconds / n);
  for (int s = 0; s < n; ++s) {
    for (Body& body : m_bodies)
      if (!body.live && m_time >= body.releaseTime) {
        body.live = true;
        const Rotation turn = AxisAngle(body.startTurn);
        for (size_t i = 0; i < body.x.size(); ++i) body.v[i] = body.velocity + Cross(body.spin, turn.Apply(body.rest[i]));
      }
    Substep(dt);
    m_time += dt;
  }
}

void SoftWorld::Substep(float dt) {
  const float keep = std::exp(-m_settings.damping * dt);
  for (Body& body : m_bodies) {
    if (!body.live) continue;
    for (size_t i = 0; i < body.x.size(); ++i) {
      body.v[i].y -= m_settings.gravity * dt;
      body.predicted[i] = body.x[i] + body.v[i] * dt;
    }
  }
  // The stiffness is given per pass at 10 substeps and 2 passes; other settings keep its feel.
  for (int it = 0; it < m_settings.iterations; ++it) {
    for (Body& body : m_bodies)
      if (body.live) {
        MatchShape(body, body.stiffness);
        KeepVolume(body);
      }
    for (size_t a = 0; a < m_bodies.size(); ++a)
      for (size_t b = a + 1; b < m_bodies.size(); ++b)
        if (m_bodies[a].live && m_bodies[b].live) {
          CollideBodies(m_bodies[a], m_bodies[b]);
          CollideBodies(m_bodies[b], m_bodies[a]);
        }
    for (Body& body : m_bodies)
      if (body.live) CollideFloor(body);
  }
  for (Body& body : m_bodies) {
    if (!body.live) continue;
    Vec3 mean{};
    for (size_t i = 0; i < body.x.size(); ++i) {
      body.v[i] = (body.predicted[i] - body.x[i]) * (1.0f / dt);
      body.x[i] = body.predicted[i];
      mean += body.v[i];
    }
    // Only the motion relative to the body's centre of mass is damped: the wobble dies away,
    // the body's momentum is untouched.
    mean = mean * (1.0f / static_cast<float>(body.x.size()));
    // A body resting on the floor that only creeps is braked by it (rolling friction), so the
    // pile settles instead of drifting for ever.
    Vec3 drift = mean;
    if (body.onFloor && kit::Length(mean) < m_settings.settleSpeed) drift = mean * m_settings.settleKeep;
    for (Vec3& v : body.v) v = drift + (v - mean) * keep;
  }
}

void SoftWorld::MatchShape(Body& body, float stiffness) {
  Vec3 c{};
  for (const Vec3& p : body.predicted) c += p;
  c = c * (1.0f / static_cast<float>(body.predicted.size()));
  // A = Σ (p − c) qᵀ as three columns; its rotation part by the quaternion iteration, warm
  // started from the last frame (Müller et al., rotation extraction).
  Vec3 col[3] = {};
  for (size_t i = 0; i < body.rest.size(); ++i) {
    const Vec3 d = body.predicted[i] - c;
    const Vec3 q = body.rest[i];
    col[0] += d * q.x;
    col[1] += d * q.y;
    col[2] += d * q.z;
  }
  Rotation r = body.frame;
  for (int k = 0; k < 20; ++k) {
    const Vec3 axes[3] = {r.Apply({1, 0, 0}), r.Apply({0, 1, 0}), r.Apply({0, 0, 1})};
    Vec3 omega = Cross(axes[0], col[0]) + Cross(axes[1], col[1]) + Cross(axes[2], col[2]);
    const float denominator = std::fabs(Dot(axes[0], col[0]) + Dot(axes[1], col[1]) + Dot(axes[2], col[2])) + 1e-9f;
    omega = omega * (1.0f / denominator);
    const float w = kit::Length(omega);
    if (w < 1e-7f) break;
    r = Normalized(Multiply(AxisAngle(omega), r));
  }
  body.frame = r;
  body.centre = c;
  for (size_t i = 0; i < body.rest.size(); ++i) {
    const Vec3 goal = c + r.Apply(body.rest[i]);
    body.predicted[i] += (goal - body.predicted[i]) * stiffness;
  }
}

void SoftWorld::KeepVolume(Body& body) {
  // One volume constraint over the whole surface: C = V − V₀ with ∇ᵢV the sum over the vertex's
  // triangles of (the opposite edge's cross product) / 6. The gradients sum to zero on a closed
  // mesh, so the correction moves no momentum.
  const float volume = kit::EnclosedVolume(body.predicted, body.triangles);
  std::vector<Vec3>& gradient = m_gradient;
  gradient.assign(body.predicted.size(), Vec3{});
  for (const auto& t : body.triangles) {
    const Vec3 a = body.predicted[t[0]], b = body.predicted[t[1]], c = body.predicted[t[2]];
    gradient[t[0]] += Cross(b, c) * (1.0f / 6.0f);
    gradient[t[1]] += Cross(c, a) * (1.0f / 6.0f);
    gradient[t[2]] += Cross(a, b) * (1.0f / 6.0f);
  }
  float norm = 0.0f;
  for (const Vec3& g : gradient) norm += Dot(g, g);
  if (norm <= 0.0f) return;
  const float scale = -(volume - body.restVolume) / norm;
  for (size_t i = 0; i < body.predicted.size(); ++i) body.predicted[i] += gradient[i] * scale;
}

void SoftWorld::CollideBodies(Body& a, Body& b) {
  // b's current best fit; a's vertices inside b's shape are pushed out, b recoils as a whole.
  Vec3 cb{};
  for (const Vec3& p : b.predicted) cb += p;
  cb = cb * (1.0f / static_cast<float>(b.predicted.size()));
  Vec3 ca{};
  for (const Vec3& p : a.predicted) ca += p;
  ca = ca * (1.0f / static_cast<float>(a.predicted.size()));
  const float reachA = a.shape.Reach() * 1.3f, reachB = b.shape.Reach() * 1.3f;
  if (kit::Length(ca - cb) > reachA + reachB) return;
  const float nb = static_cast<float>(b.predicted.size());
  Vec3 recoil{};
  for (Vec3& p : a.predicted) {
    const Vec3 local = b.frame.ApplyInverse(p - cb) + b.shapeOffset;
    const float d = b.shape.Distance(local);
    if (d >= 0.0f) continue;
    const Vec3 push = b.frame.Apply(b.shape.Normal(local)) * (-d);
    // Equal and opposite: the vertex takes nb/(nb+1) of the correction, body b the rest.
    p += push * (nb / (nb + 1.0f));
    recoil -= push * (1.0f / (nb + 1.0f));
  }
  for (Vec3& p : b.predicted) p += recoil;
}

void SoftWorld::CollideFloor(Body& body) {
  body.onFloor = false;
  for (size_t i = 0; i < body.predicted.size(); ++i) {
    Vec3& p = body.predicted[i];
    if (p.y >= 0.0f) continue;
    p.y = 0.0f;
    body.onFloor = true;
    // Friction: the step along the floor shrinks.
    const float keep = 1.0f - m_settings.floorFriction;
    p.x = body.x[i].x + (p.x - body.x[i].x) * keep;
    p.z = body.x[i].z + (p.z - body.x[i].z) * keep;
  }
}

}  // namespace soft
