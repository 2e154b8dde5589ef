#pragma once
// Jelly bodies by position-based dynamics: every surface vertex is a particle of equal mass; a
// shape-matching goal (the rest shape turned and moved to fit the particles best) pulls each body
// back into shape, softly enough that it wobbles; the floor (y = 0) and the other bodies push
// vertices out of themselves. Shape matching and the body-against-body pushes move mass in equal
// and opposite amounts, so a body in flight keeps its momentum and only gravity changes it.
#include <array>
#include <cstdint>
#include <vector>

#include "JellyShape.h"
#include "VecMath.h"

namespace soft {

struct Rotation {
  float w = 1.0f, x = 0.0f, y = 0.0f, z = 0.0f;  // unit quaternion
  kit::Vec3 Apply(kit::Vec3 v) const;
  kit::Vec3 ApplyInverse(kit::Vec3 v) const;
};

struct Body {
  JellyShape shape;
  std::vector<kit::Vec3> rest;  // vertex positions about the vertices' centre
  kit::Vec3 shapeOffset;        // the shape's centre seen from the vertices' centre, at rest
  std::vector<std::array<int32_t, 3>> triangles;
  float stiffness = 0.1f;  // share of the way to the goal per solver pass

  // Released at `releaseTime` (seconds) at `start` with `velocity` and `spin` (radians/s about
  // the axis); until then it takes no part.
  double releaseTime = 0.0;
  kit::Vec3 start, velocity, spin;
  kit::Vec3 startTurn;  // initial orientation: axis × angle

  float restVolume = 0.0f;
  bool live = false;
  bool onFloor = false;  // some vertex touched the floor in the last solver pass
  std::vector<kit::Vec3> x, v, predicted;
  Rotation frame;  // rotation of the best fit of the rest shape
  kit::Vec3 centre;
};

struct WorldSettings {
  float gravity = 1800.0f;   // units/s² downwards
  int substeps = 10;         // per frame of 1/25 s
  int iterations = 2;        // solver passes per substep
  float floorFriction = 0.6f;
  float damping = 3.2f;      // decay rate (1/s) of the velocities about the body's own mean
  float settleSpeed = 30.0f; // below this a body on the floor is braked …
  float settleKeep = 0.96f;  // … keeping this share of its speed per substep
};

class SoftWorld {
 public:
  explicit SoftWorld(WorldSettings settings = {}) : m_settings(settings) {}

  // The body's vertices must be wound outwards; rest positions are taken about their centre.
  void AddBody(Body body);
  // Advances one frame (1/25 s) in substeps.
  void StepFrame();

  double time() const { return m_time; }
  std::vector<Body>& bodies() { return m_bodies; }
  const std::vector<Body>& bodies() const { return m_bodies; }
  const WorldSettings& settings() const { return m_settings; }

 private:
  void Substep(float dt);
  void MatchShape(Body& body, float stiffness);
  void CollideBodies(Body& a, Body& b);
  void KeepVolume(Body& body);
  void CollideFloor(Body& body);

  WorldSettings m_settings;
  std::vector<Body> m_bodies;
  double m_time = 0.0;
  std::vector<kit::Vec3> m_gradient;  // scratch of KeepVolume
};

// The body placed at its start: rest shape turned by startTurn, moved to `start`.
std::vector<kit::Vec3> PlacedAtStart(const Body& body);

}  // namespace soft
