#include "MagnetMotion.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "Noise.h"

namespace magnet {

using kit::kPi;
using kit::Vec3;

const Vec3 kPoleTips[2] = {{-95.0f, 92.0f, 0.0f}, {95.0f, 92.0f, 0.0f}};

float Ease(float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

float BeatPulse(int frame) {
  const float since = std::fmod(static_cast<float>(frame), kBeatFrames);
  return std::exp(-since / 3.5f);
}

Filings::Filings(int count, float innerRadius, float outerRadius) {
  for (int i = 0; i < count; ++i) {
    Filing f;
    // Even cover of the ring: the square root spreads them by area.
    const float r = std::sqrt(innerRadius * innerRadius +
                              (outerRadius * outerRadius - innerRadius * innerRadius) * kit::Random(i, 1, 301));
    const float a = kit::Random(i, 2, 301) * 2 * kPi;
    f.floor = {r * std::cos(a), 0.0f, r * std::sin(a) * 0.8f};
    f.yaw = kit::Random(i, 3, 301) * 2 * kPi;
    f.length = 9.0f + 8.0f * kit::Random(i, 4, 301);
    f.pole = f.floor.x < 0 ? 0 : 1;
    const Vec3 toPole = kPoleTips[f.pole] - f.floor;
    f.snaps = std::hypot(toPole.x, toPole.z) < 210.0f && kit::Random(i, 5, 301) < 0.75f;
    // The beard: a cap of directions below and around the pole face.
    const float capA = kit::Random(i, 6, 301) * 2 * kPi, capB = 0.25f + 1.0f * kit::Random(i, 7, 301);
    f.clingAlong = kit::Normalize(Vec3{std::sin(capB) * std::cos(capA), -std::cos(capB), std::sin(capB) * std::sin(capA)});
    f.clingAt = kPoleTips[f.pole] + f.clingAlong * (22.0f + 8.0f * kit::Random(i, 8, 301));
    f.delay = std::hypot(toPole.x, toPole.z) / 40.0f + 4.0f * kit::Random(i, 9, 301);
    m_filings.push_back(f);
  }
}

std::vector<Vec3> Filings::Positions(int frame) const {
  std::vector<Vec3> out;
  out.reserve(m_filings.size() * 4);
  size_t index = 0;
  for (const Filing& f : m_filings) {
    ++index;
    const Vec3 flat{std::cos(f.yaw), 0.0f, std::sin(f.yaw)};
    // Standing: along the field towards the nearer pole, leaning up.
    const Vec3 toPole = kit::Normalize(kPoleTips[f.pole] - f.floor);
    const Vec3 standing = kit::Normalize(Vec3{toPole.x, 0.0f, toPole.z} + Vec3{0.0f, 1.2f, 0.0f});
    const float rise = Ease((frame - 150.0f - f.delay) / 40.0f);
    const float tremble = 0.04f * (frame < 150 ? frame / 150.0f : 1.0f) *
                          kit::GradientNoise(static_cast<float>(index), frame * 0.35f, 0.5f, 302);
    Vec3 base = f.floor, along = kit::Normalize(flat * (1 - rise) + standing * rise + Vec3{0, tremble, 0});
    if (f.snaps) {
      // Leap: from the standing place to the beard, accelerating as the field grows.
      const float t = std::clamp((frame - kSnapStart - f.delay * 0.3f) / (kSnapHit - kSnapStart + 0.0f), 0.0f, 1.0f);
      const float leap = t * t * t;
      base = kit::Lerp(f.floor, f.clingAt, leap) + Vec3{0.0f, 60.0f * std::sin(leap * kPi) * (1 - leap), 0.0f};
      along = kit::Normalize(kit::Lerp(along, f.clingAlong, leap));
    }
    // After the snap every filing bristles a little on the beat.
    if (frame > kSnapHit) along = kit::Normalize(along + Vec3{0.0f, 0.08f * BeatPulse(frame), 0.0f});
    Vec3 side = kit::Normalize(kit::Cross(along, Vec3{0.3f, 0.9f, 0.2f}));
    const Vec3 other = kit::Cross(along, side);
    const float width = 1.2f;
    for (int k = 0; k < 3; ++k) {
      const float a = k * 2 * kPi / 3;
      out.push_back(base + (side * std::cos(a) + other * std::sin(a)) * width);
    }
    out.push_back(base + along * f.length);
  }
  return out;
}

std::vector<std::array<int, 3>> Filings::Triangles() const {
  std::vector<std::array<int, 3>> triangles;
  for (size_t i = 0; i < m_filings.size(); ++i) {
    const int b = static_cast<int>(i * 4);
    triangles.push_back({b + 0, b + 1, b + 3});
    triangles.push_back({b + 1, b + 2, b + 3});
    triangles.push_back({b + 2, b + 0, b + 3});
    triangles.push_back({b + 0, b + 2, b + 1});
  }
  return triangles;
}

float FerrofluidHeight(float x, float z, int frame) {
  const float r = std::hypot(x, z);
  if (r > kDishRadius) return -6.0f;  // tucked under the dish's rim
  const float field = 0.25f + 0.5f * Ease((frame - 150.0f) / 60.0f) + 0.25f * Ease((frame - kSnapStart) / 20.0f);
  const float amplitude = 30.0f * field * (0.55f + 0.45f * BeatPulse(frame));
  // Nearest point of a hexagonal lattice of spacing 20.
  const float spacing = 20.0f, rowHeight = spacing * 0.8660254f;
  float best = 1e9f;
  const int row = static_cast<int>(std::floor(z / rowHeight));
  for (int dr = -1; dr <= 2; ++dr) {
    const int j = row + dr;
    const float offset = (j & 1) ? spacing * 0.5f : 0.0f;
    const int column = static_cast<int>(std::floor((x - offset) / spacing));
    for (int dc = -1; dc <= 2; ++dc) {
      const float cx = (column + dc) * spacing + offset, cz = j * rowHeight;
      best = std::min(best, std::hypot(x - cx, z - cz));
    }
  }
  const float spike = std::pow(std::max(0.0f, 1.0f - best / 10.5f), 2.2f);
  const float edge = 1.0f - std::pow(r / kDishRadius, 4.0f);
  return 4.0f * edge + amplitude * spike * edge;
}

}  // namespace magnet
