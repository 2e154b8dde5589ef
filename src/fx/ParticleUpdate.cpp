// The per-draw rules of the animated preset types, driven by the show clock, the frame time,
// the slow oscillator and the music's level.
#include <algorithm>
#include <cmath>

#include "app/Timer.h"
#include "fx/ParticlePlacement.h"
#include "fx/ParticleRandom.h"
#include "fx/ParticleSystem.h"
#include "platform/crt_rand.h"
#include "sound/Sound.h"

namespace {

// Type 7 refreshes its brightness ten times a second; types 10 and 11 resize about fifteen
// times a second; type 18 changes direction once a second.
constexpr int64_t kPulseInterval = 100;
constexpr int64_t kShimmerInterval = 66;
constexpr int64_t kDriftTurnInterval = 1000;

}  // namespace

void ParticleSystem::Update() {
  if (particles == nullptr || m_renderContext.timer == nullptr) return;
  const int64_t delta = m_renderContext.timer->delta;
  switch (preset.type) {
    case 1: UpdateWave(); break;
    case 2: UpdateLoop(); break;
    case 7: UpdatePulse(); break;
    case 10:
    case 11: UpdateShimmer(); break;
    case 13:
    case 15: UpdateGrowingKnot(delta); break;
    case 14: UpdateGrowingKnot(static_cast<int64_t>(static_cast<double>(delta) * 1.5)); break;
    case 18: UpdateDrift(); break;
    default: break;
  }
}

// Type 1: the outer ring ripples out of its plane with the slow oscillator, four waves round.
void ParticleSystem::UpdateWave() {
  const int32_t perRing = count / 3;
  const float swing = m_renderContext.timer->oscSinSlow;
  for (int32_t i = 0; i < perRing; ++i) {
    const float s = static_cast<float>(std::sin(i * 4.0 * 360.0 / perRing * kRadiansPerDegree));
    particles[i].z = swing * s;
    particles[i].width = particles[i].height = swing * 3.0f * s;
  }
}

// Type 2: the ring is laid onto a twisted double loop (the same in every frame).
void ParticleSystem::UpdateLoop() {
  for (int32_t i = 0; i < count; ++i) {
    const double t = i * 360.0 / count * kRadiansPerDegree;
    particles[i].x = static_cast<float>(2.0 * std::sin(2.0 * t) + 2.0 * std::sin(t));
    particles[i].y = static_cast<float>(2.0 * std::cos(t) + 2.0 * std::cos(2.0 * t));
    particles[i].z = static_cast<float>(2.0 * std::sin(t) + 2.0 * std::cos(2.0 * t));
  }
}

// Type 7: brightness follows the music's level, full from a third of the peak upwards.
void ParticleSystem::UpdatePulse() {
  const int64_t now = m_renderContext.timer->elapsed;
  if (now - lastUpdate < kPulseInterval) return;
  lastUpdate = now;
  const float peak = m_renderContext.sound != nullptr ? m_renderContext.sound->peak : 0.0f;
  const float level = std::min(3.0f * peak, 1.0f);
  for (int32_t i = 0; i < count; ++i) {
    Particle& p = particles[i];
    p.r = level * preset.r;
    p.g = level * preset.g;
    p.b = level * preset.b;
    p.a = level * preset.a;
  }
}

// Types 10 and 11: every sprite takes a new random size.
void ParticleSystem::UpdateShimmer() {
  const int64_t now = m_renderContext.timer->elapsed;
  if (now - lastUpdate <= kShimmerInterval) return;
  lastUpdate = now;
  for (int32_t i = 0; i < count; ++i) {
    const float factor = RandomFraction();
    particles[i].width = preset.width * factor;
    particles[i].height = preset.height * factor;
  }
}

// Types 13 to 15: the drawn part of the knot grows by `growth` particles per draw and starts
// empty again before it would be complete; sprites swell and change colour along it.
void ParticleSystem::UpdateGrowingKnot(int64_t growth) {
  const int64_t grown = static_cast<int64_t>(drawCount) + growth;
  drawCount = grown >= count || grown < 0 ? 0 : static_cast<int32_t>(grown);
  const float seconds = static_cast<float>(m_renderContext.timer->elapsed) / 1000.0f;
  for (int32_t i = 0; i < drawCount; ++i) {
    Particle& p = particles[i];
    const float e = static_cast<float>(i) / static_cast<float>(drawCount);
    const float swell = 0.1f + e * (5.0f - 0.1f);
    if (preset.type == 14) {
      p.width = swell + 2.0f * std::sin(static_cast<float>(i) * seconds * 0.001f) + 0.6f;
      p.height = swell + 2.0f * std::cos(static_cast<float>(i) * seconds * 0.0012f) + 0.4f;
      p.r = e * 0.025f;
      p.g = e * 0.02107843f + 0.003921569f;
      p.b = 0.0f;
    } else if (preset.type == 15) {
      p.width = p.height = swell;
      p.r = 0.2058824f - e * 0.1558824f;
      p.g = p.b = 0.2058824f - e * 0.2058824f;
    } else {
      p.width = p.height = swell;
      p.r = 0.04901961f - e * 0.007843137f;
      p.g = 0.04901961f - e * 0.02843137f;
      p.b = 0.2196079f - e * 0.2137255f;
    }
    p.a = 0.0f;
  }
}

// Type 18: every speck moves on by its velocity times the frame time; once a second all of
// them turn. One number is drawn and dropped every draw, which keeps the shared sequence moving.
void ParticleSystem::UpdateDrift() {
  const int64_t now = m_renderContext.timer->elapsed;
  if (now - lastUpdate >= kDriftTurnInterval) {
    lastUpdate = now;
    if (velocities != nullptr) DrawDriftVelocities(velocities, count);
  }
  platform::rand();
  if (velocities == nullptr) return;
  const float delta = static_cast<float>(m_renderContext.timer->delta);
  const float* v = velocities;
  for (int32_t i = 0; i < count; ++i, v += 3) {
    particles[i].x += v[0] * delta;
    particles[i].y += v[1] * delta;
    particles[i].z += v[2] * delta;
  }
}
