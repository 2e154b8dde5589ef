#pragma once
// The blob's choreography: a pulsing core and satellites that orbit, plunge into it and pull
// out again, as a metaball field. The motion is periodic over the scene's length, so the loop to
// the second camera continues the same shape.
#include <vector>

#include "VecMath.h"

namespace blob {

struct Metaball {
  kit::Vec3 centre;
  float radius = 0.0f;  // alone, the ball's iso-surface is a sphere of this radius
};

// The scene's length in frames, the spacing of its morph keys and the sphere's subdivision.
constexpr int kLastFrame = 460;
constexpr int kKeyStep = 5;
constexpr int kSphereFrequency = 24;
// Field value on the surface.
constexpr float kIso = 1.0f;

// The balls at a scene frame (fractions allowed).
std::vector<Metaball> BallsAt(float frame);

// Σ (radius / distance)⁴: 1 on a lone ball's sphere, growing inwards; the steep falloff keeps
// the satellites distinct lumps instead of one swollen ball.
float FieldValue(const std::vector<Metaball>& balls, kit::Vec3 p);

// The point the sphere's rays start from: the volume-weighted centre of the balls.
kit::Vec3 FieldCentre(const std::vector<Metaball>& balls);

// The blob's vertex positions at a frame: the unit sphere's directions projected onto the field.
std::vector<kit::Vec3> SurfaceAt(const std::vector<kit::Vec3>& unitSphere, float frame);

}  // namespace blob
