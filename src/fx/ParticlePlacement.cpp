#include "fx/ParticlePlacement.h"

#include <cmath>

#include "fx/ParticleRandom.h"
#include "platform/crt_rand.h"

namespace {

constexpr uint32_t kPlacementSeed = 1337;

void SetPosition(Particle& p, const D3DXVECTOR3& position) {
  p.x = position.x;
  p.y = position.y;
  p.z = position.z;
}

void SetSize(Particle& p, float width, float height) {
  p.width = width;
  p.height = height;
}

void SetColour(Particle& p, float r, float g, float b, float a) {
  p.r = r;
  p.g = g;
  p.b = b;
  p.a = a;
}

void SetPresetLook(Particle& p, const ParticlePreset& preset) {
  SetSize(p, preset.width, preset.height);
  SetColour(p, preset.r, preset.g, preset.b, preset.a);
}

void ScaleColour(Particle& p, const ParticlePreset& preset, float factor) {
  SetColour(p, preset.r * factor, preset.g * factor, preset.b * factor, preset.a * factor);
}

// Angle of particle i of n spread evenly round a full turn, in radians.
double TurnAngle(int32_t i, int32_t n) { return static_cast<double>(i) * 360.0 / n * kRadiansPerDegree; }

// Types 0 and 2: a ring of radius 3 in the plane z = 0.
void PlaceRing(const ParticlePreset& preset, Particle* particles) {
  for (int32_t i = 0; i < preset.count; ++i) {
    const double t = TurnAngle(i, preset.count);
    SetPosition(particles[i], D3DXVECTOR3(static_cast<float>(3.0 * std::sin(t)), static_cast<float>(3.0 * std::cos(t)), 0.0f));
    SetPresetLook(particles[i], preset);
  }
}

// Type 1: three concentric rings in red, green and blue; a remainder of N / 3 stays zero.
void PlaceThreeRings(const ParticlePreset& preset, Particle* particles) {
  const int32_t perRing = preset.count / 3;
  static const float kRadius[3] = {3.0f, 2.0f, 1.0f};
  static const float kColour[3][3] = {
      {0.5019608f, 0.0627451f, 0.0627451f}, {0.0627451f, 0.5019608f, 0.0627451f}, {0.0627451f, 0.0627451f, 0.5019608f}};
  for (int ring = 0; ring < 3; ++ring)
    for (int32_t j = ring * perRing; j < (ring + 1) * perRing; ++j) {
      const double t = TurnAngle(j, perRing);
      Particle& p = particles[j];
      SetPosition(p, D3DXVECTOR3(static_cast<float>(kRadius[ring] * std::sin(t)),
                                 static_cast<float>(kRadius[ring] * std::cos(t)), 0.0f));
      SetSize(p, preset.width, preset.height);
      SetColour(p, kColour[ring][0], kColour[ring][1], kColour[ring][2], 1.0f);
    }
}

// Type 3: a Bézier arc from (-5, 0, 0) to (5, 0, 0); twelve numbers per particle are drawn and
// thrown away, which moves the shared sequence on.
void PlaceArc(const ParticlePreset& preset, Particle* particles) {
  const D3DXVECTOR3 p0(-5.0f, 0.0f, 0.0f), p1(-2.5f, 5.0f, -3.0f), p2(2.5f, 3.0f, 3.0f), p3(5.0f, 0.0f, 0.0f);
  for (int32_t i = 0; i < preset.count; ++i) {
    for (int k = 0; k < 12; ++k) platform::rand();
    SetPosition(particles[i], BezierPoint(p0, p1, p2, p3, static_cast<float>(i) / static_cast<float>(preset.count)));
    SetPresetLook(particles[i], preset);
  }
}

D3DXVECTOR3 Centre(const ParticlePreset& preset) { return D3DXVECTOR3(preset.centreX, preset.centreY, preset.centreZ); }

// Types 4 and 5: a filled cube, or its surface.
void PlaceCube(const ParticlePreset& preset, Particle* particles, bool surface) {
  platform::srand(kPlacementSeed);
  for (int32_t i = 0; i < preset.count; ++i) {
    SetPosition(particles[i], Centre(preset) + (surface ? RandomPointOnBox(5.0f, 5.0f, 5.0f)
                                                         : RandomPointInBox(5.0f, 5.0f, 5.0f)));
    SetPresetLook(particles[i], preset);
  }
}

// A direction scaled by its own length and by radius × a fresh fraction.
D3DXVECTOR3 RandomInBall(float radius) {
  const D3DXVECTOR3 d = RandomUnitVector();
  const float length = D3DXVec3Length(&d);
  return d * (radius * length * RandomFraction());
}

// Types 6 and 7: a ball of radius 4, denser towards the middle.
void PlaceBall(const ParticlePreset& preset, Particle* particles) {
  platform::srand(kPlacementSeed);
  for (int32_t i = 0; i < preset.count; ++i) {
    SetPosition(particles[i], RandomInBall(4.0f));
    SetPresetLook(particles[i], preset);
  }
}

// Type 8: a ball of radius 5 of dust, each grain of its own brightness.
void PlaceDust(const ParticlePreset& preset, Particle* particles) {
  platform::srand(kPlacementSeed);
  for (int32_t i = 0; i < preset.count; ++i) {
    Particle& p = particles[i];
    SetPosition(p, RandomInBall(5.0f));
    SetSize(p, preset.width, preset.height);
    ScaleColour(p, preset, RandomFraction());
  }
}

// Types 9 to 11: a spherical shell (radius 9…10, or 5…10 for type 11) of sprites of random
// size and brightness.
void PlaceShell(const ParticlePreset& preset, Particle* particles) {
  platform::srand(kPlacementSeed);
  for (int32_t i = 0; i < preset.count; ++i) {
    Particle& p = particles[i];
    const float radius = preset.type == 11 ? 10.0f - static_cast<float>(platform::rand()) / 6553.4f
                                           : 10.0f - RandomFraction();
    SetPosition(p, RandomUnitVector() * radius);
    const float size = RandomFraction();
    SetSize(p, preset.width * size, preset.height * size);
    ScaleColour(p, preset, RandomFraction());
  }
}

// Type 12: a sky-blue ellipsoidal cloud of 20,000 and four curling strands of 10,000 that
// thin and redden towards their ends; the rest of the half million stays zero.
void PlaceCloudAndStrands(const ParticlePreset& preset, Particle* particles) {
  platform::srand(kPlacementSeed);
  const int32_t cloud = preset.count < 20000 ? preset.count : 20000;
  for (int32_t i = 0; i < cloud; ++i) {
    Particle& p = particles[i];
    const D3DXVECTOR3 d = RandomUnitVector();
    const float s = D3DXVec3Length(&d) * RandomFraction();
    SetPosition(p, D3DXVECTOR3(1.5f * s * d.x, 1.2f * s * d.y, 1.5f * s * d.z));
    SetSize(p, 0.1f, 0.1f);
    const float k = RandomFraction();
    SetColour(p, 0.5294118f * k, 0.8078432f * k, 0.9803922f * k, k);
  }
  static const D3DXVECTOR3 kControl[4][3] = {
      {{3, 0, 2}, {4, 0, 4}, {0, 0, 6}},
      {{-3, 0, -2}, {-4, 0, -4}, {0, 0, -6}},
      {{2, 0, -3}, {4, 0, -4}, {6, 0, 0}},
      {{-2, 0, 3}, {-4, 0, 4}, {-6, 0, 0}},
  };
  const D3DXVECTOR3 origin(0.0f, 0.0f, 0.0f);
  int32_t i = 20000;
  for (int strand = 0; strand < 4; ++strand)
    for (int32_t j = 0; j < 10000 && i < preset.count; ++j, ++i) {
      Particle& p = particles[i];
      const float b = static_cast<float>(j) * 0.0001f;
      const float c = 1.8f - 1.8f * b;
      const D3DXVECTOR3& p1 = kControl[strand][0];
      const D3DXVECTOR3& p2 = kControl[strand][1];
      const D3DXVECTOR3& p3 = kControl[strand][2];
      SetPosition(p, BezierPoint(origin, p1, p2, p3, b) + RandomPointInBox(c, c, c));
      const float size = 0.6f - 0.59f * b;
      SetSize(p, size, size);
      const float k = RandomFraction();
      SetColour(p, (0.5294118f + 0.1686274f * b) * k, (0.8078432f - 0.6745099f * b) * k,
                (0.9803922f - 0.8470589f * b) * k, k);
    }
}

// Types 13 to 15: a closed knot whose loops wobble at ten times the base frequency, fading
// along its length. No random numbers are drawn, but the sequence is restarted all the same.
void PlaceKnot(const ParticlePreset& preset, Particle* particles) {
  platform::srand(kPlacementSeed);
  const bool doubled = preset.type == 14;
  for (int32_t i = 0; i < preset.count; ++i) {
    Particle& p = particles[i];
    const double t = TurnAngle(i, preset.count);
    const double m = doubled ? 2.0 : 1.0;
    p.x = static_cast<float>(2.5 * std::sin(t) + std::sin(m * t) * std::sin(10.0 * m * t));
    p.y = static_cast<float>(2.5 * std::sin(2.0 * t) + std::sin(2.0 * m * t) * std::sin(20.0 * m * t));
    p.z = static_cast<float>(2.5 * std::sin(3.0 * t) + std::sin(3.0 * m * t) * std::sin(30.0 * m * t));
    SetSize(p, preset.width, preset.height);
    const float f = static_cast<float>(i) / static_cast<float>(preset.count);
    if (preset.type == 15) {
      const float grey = 0.1f - f * 0.07490196f;
      SetColour(p, grey, grey, grey, 0.0f);
    } else {
      const float gb = 0.03607843f - f * 0.01098039f;
      SetColour(p, 0.08039217f - f * 0.05529413f, gb, gb, 0.0f);
    }
  }
}

// Type 18: specks scattered through a 10-unit cube, each of its own size and brightness, then
// their drift. The sequence is not restarted.
void PlaceDrift(const ParticlePreset& preset, Particle* particles, float* velocities) {
  for (int32_t i = 0; i < preset.count; ++i) {
    Particle& p = particles[i];
    SetPosition(p, Centre(preset) + RandomPointInBox(10.0f, 10.0f, 10.0f));
    const float size = RandomFraction();
    SetSize(p, preset.width * size, preset.height * size);
    ScaleColour(p, preset, RandomFraction());
  }
  if (velocities != nullptr) DrawDriftVelocities(velocities, preset.count);
}

}  // namespace

void PlaceParticles(const ParticlePreset& preset, Particle* particles, float* velocities) {
  if (particles == nullptr || preset.count <= 0) return;
  switch (preset.type) {
    case 0:
    case 2: PlaceRing(preset, particles); break;
    case 1: PlaceThreeRings(preset, particles); break;
    case 3: PlaceArc(preset, particles); break;
    case 4: PlaceCube(preset, particles, false); break;
    case 5: PlaceCube(preset, particles, true); break;
    case 6:
    case 7: PlaceBall(preset, particles); break;
    case 8: PlaceDust(preset, particles); break;
    case 9:
    case 10:
    case 11: PlaceShell(preset, particles); break;
    case 12: PlaceCloudAndStrands(preset, particles); break;
    case 13:
    case 14:
    case 15: PlaceKnot(preset, particles); break;
    case 18: PlaceDrift(preset, particles, velocities); break;
    default: break;  // 16 and 17 start empty
  }
}

void DrawDriftVelocities(float* velocities, int32_t count) {
  for (int32_t i = 0; i < count * 3; ++i)
    velocities[i] = static_cast<float>(platform::rand()) / 32766998.0f - 0.0005f;
}
