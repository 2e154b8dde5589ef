#pragma once
// Where a preset's particles start: one shape per preset type, and the drift velocities of
// the type-18 system.
#include <cstdint>

#include "fx/Particle.h"
#include "fx/ParticlePreset.h"

// Places preset.count particles into a zeroed array. Most shapes restart the random sequence
// with srand(1337) first; type 18 continues it, so its placement depends on what was drawn
// before. velocities (3 floats per particle) is written for type 18 only and may be null for
// the other types.
void PlaceParticles(const ParticlePreset& preset, Particle* particles, float* velocities);

// Three components per particle, x, y, z, each in -0.0005…+0.0005 units per millisecond.
void DrawDriftVelocities(float* velocities, int32_t count);

// The degree-to-radian factor every shape and update uses.
constexpr double kRadiansPerDegree = 0.017453292519943295;
