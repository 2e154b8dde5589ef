#include "JellyShapes.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "Noise.h"
#include "Shapes.h"
#include "Spline.h"
#include "VecMath.h"

namespace qualle {

namespace {

constexpr float kPi = 3.14159265358979f;

float Smooth(float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);  // the Hermite blend with zero tangents
}

float Random(uint32_t seed, int index) { return kit::Random(index, 0, seed); }

// Outer profile at s in [0, 1] from apex to rim: distance from the axis and height.
void OuterProfile(const JellyBuild& jelly, float contraction, float s, float* rho, float* y) {
  const float radius = RimRadius(jelly, 0.0f) * (1.0f - 0.27f * contraction);
  const float height = jelly.height * (1.0f + 0.16f * contraction);
  const float sweep = 1.72f + 0.28f * contraction;  // beyond a right angle the margin curls under
  const float rimSin = std::sin(sweep), rimCos = std::cos(sweep);
  *rho = radius * std::sin(s * sweep) / rimSin;
  *y = height * (std::cos(s * sweep) - rimCos) / (1.0f - rimCos);
}

}  // namespace

float PulseCurve::Contraction(float frame) const {
  const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), frame);
  if (after == m_starts.begin()) return 0.0f;
  const float start = *(after - 1);
  const float next = after == m_starts.end() ? start + 1e6f : *after;
  const float t = frame - start;
  if (t < kContract) return Smooth(t / kContract);
  if (t < kContract + kRelax) return 1.0f + (kOvershoot - 1.0f) * Smooth((t - kContract) / kRelax);
  const float settle = std::max(next - start - kContract - kRelax, 1.0f);
  return kOvershoot * (1.0f - Smooth((t - kContract - kRelax) / settle));
}

std::vector<int> PulseCurve::TurningFrames(int lastFrame) const {
  std::set<int> frames{0, lastFrame};
  for (float start : m_starts) {
    for (float offset : {0.0f, kContract, kContract + kRelax}) {
      const int frame = static_cast<int>(std::lround(start + offset));
      if (frame >= 0 && frame <= lastFrame) frames.insert(frame);
    }
  }
  return {frames.begin(), frames.end()};
}

float RimRadius(const JellyBuild& jelly, float contraction) { return jelly.radius * (1.0f - 0.27f * contraction); }

float RimHeight(const JellyBuild&, float) { return 0.0f; }

SurfaceFunction BellSurface(const JellyBuild& jelly, float contraction, float frame) {
  return [jelly, contraction, frame](float u, float v) {
    // v: 0 apex, 0.5 rim, 1 the inner apex; the inner surface is the outer one pulled in and
    // down, thickest at the top.
    const bool outer = v <= 0.5f;
    const float s = outer ? 2.0f * v : 2.0f * (1.0f - v);
    float rho, y;
    OuterProfile(jelly, contraction, s, &rho, &y);
    if (!outer) {
      const float thick = 1.0f - s * s;
      rho *= 1.0f - 0.12f * thick;
      y -= 0.42f * jelly.height * thick;
    }
    const float theta = u * 2.0f * kPi;
    // Scalloped margin with a slow ripple travelling round it.
    const float margin = Smooth((s - 0.7f) / 0.3f);
    rho *= 1.0f + margin * (0.035f * std::cos(8.0f * theta) + 0.02f * std::sin(3.0f * theta + 0.11f * frame));
    y += margin * jelly.height * 0.05f * std::sin(5.0f * theta - 0.15f * frame);
    return c4e::Vec3{rho * std::cos(theta), y, rho * std::sin(theta)};
  };
}

std::vector<c4e::Vec3> TentacleLine(const JellyBuild& jelly, const PulseCurve& pulse, int index, float frame) {
  const float angle = 2.0f * kPi * (index + 0.3f * Random(jelly.seed, index)) / jelly.tentacles;
  const float length = jelly.tentacleLength * (0.75f + 0.25f * Random(jelly.seed + 1, index));
  const float phase = 2.0f * kPi * Random(jelly.seed + 2, index);
  const c4e::Vec3 out{std::cos(angle), 0.0f, std::sin(angle)}, round{-std::sin(angle), 0.0f, std::cos(angle)};
  std::vector<c4e::Vec3> line;
  for (int i = 0; i <= jelly.tentacleSegments; ++i) {
    const float along = static_cast<float>(i) / jelly.tentacleSegments;
    // The contraction reaches further down a moment later.
    const float squeeze = pulse.Contraction(frame - 14.0f * along);
    const float reach = std::pow(along, 1.5f);
    const float spread = RimRadius(jelly, squeeze) * (0.97f + 0.3f * along) +
                         0.06f * length * reach * std::sin(2.0f * kPi * frame / 80.0f - 4.5f * along + 1.7f * phase);
    const float sway = 0.1f * length * reach * std::sin(2.0f * kPi * frame / 95.0f - 6.0f * along + phase);
    const float drop = along * length * (1.0f - 0.1f * squeeze);
    c4e::Vec3 p = out * spread + round * sway;
    p.y = RimHeight(jelly, squeeze) - drop + 2.0f * along * squeeze * jelly.height * 0.1f;
    p.x += 0.08f * length * along * along;  // the slow current
    line.push_back(p);
  }
  return line;
}

std::vector<c4e::Vec3> ArmLine(const JellyBuild& jelly, const PulseCurve& pulse, int index, float frame) {
  const float angle = kPi / 4 + index * kPi / 2;
  const c4e::Vec3 out{std::cos(angle), 0.0f, std::sin(angle)}, round{-std::sin(angle), 0.0f, std::cos(angle)};
  std::vector<c4e::Vec3> line;
  for (int i = 0; i <= jelly.armSegments; ++i) {
    const float along = static_cast<float>(i) / jelly.armSegments;
    const float squeeze = pulse.Contraction(frame - 10.0f * along);
    const float wave = std::sin(2.0f * kPi * frame / 110.0f - 3.5f * along + index * 1.3f);
    c4e::Vec3 p = out * (jelly.radius * (0.1f + 0.16f * along) * (1.0f - 0.3f * squeeze)) +
                  round * (0.12f * jelly.armLength * along * wave);
    p.y = 0.45f * jelly.height - 0.42f * jelly.height - along * jelly.armLength * (1.0f - 0.08f * squeeze);
    p.x += 0.05f * jelly.armLength * along * along;
    line.push_back(p);
  }
  return line;
}

float ArmWidth(const JellyBuild& jelly, float along, float frame) {
  const float frills = 1.0f + 0.4f * std::sin(along * 15.0f * kPi + 0.12f * frame);
  return jelly.radius * 0.13f * (1.0f - 0.6f * along) * frills + 0.3f;
}

void AppendStrand(c4e::PolyObject& mesh, const std::vector<c4e::Vec3>& line, int sides,
                  const std::function<float(float along)>& radius, float flatness) {
  kit::SweepParams tube;
  tube.segments = static_cast<int>(line.size()) - 1;
  tube.sides = sides;
  kit::AppendSweep(mesh, kit::Spline(line, false), tube, [&](float along, float around) {
    const float angle = around * 2.0f * kit::kPi, r = radius(along);
    return kit::Vec2{r * std::cos(angle), r * flatness * std::sin(angle)};
  });
}

}  // namespace qualle
