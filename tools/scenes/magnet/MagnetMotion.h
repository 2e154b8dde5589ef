#pragma once
// The magnet scene's moving parts, as functions of the scene frame: iron filings that lie
// scattered, stand up along the field and snap onto the poles; ferrofluid spikes that rise on
// the beat; and the timing they share. The decisive snap lies in frames 190–250, where the show
// replays the scene as a stutter.
#include <array>
#include <vector>

#include "VecMath.h"

namespace magnet {

constexpr int kLastFrame = 450;
constexpr int kSnapStart = 192;  // filings and balls leave the floor
constexpr int kSnapHit = 212;    // they strike the poles
constexpr float kBeatFrames = 17.25f;

// The pole faces the filings and balls jump to: the ends of the magnet's two legs.
extern const kit::Vec3 kPoleTips[2];

float Ease(float t);  // smoothstep on [0, 1], clamped
// 1 on a beat, falling off over a few frames until the next.
float BeatPulse(int frame);

class Filings {
 public:
  // count filings scattered on the floor (y = 0) between the radii around the magnet.
  Filings(int count, float innerRadius, float outerRadius);
  // Four vertices per filing (a thin three-sided spike), the same order every frame.
  std::vector<kit::Vec3> Positions(int frame) const;
  // The spikes' triangles, into the positions' vertex order.
  std::vector<std::array<int, 3>> Triangles() const;
  size_t Count() const { return m_filings.size(); }

 private:
  struct Filing {
    kit::Vec3 floor;      // where it lies
    float yaw;            // its direction lying flat
    float length;
    int pole;             // the nearer pole
    bool snaps;           // near enough to leap onto the pole
    kit::Vec3 clingAt;    // its place in the beard on the pole
    kit::Vec3 clingAlong; // its direction there, out of the pole face
    float delay;          // frames after the others it reacts
  };
  std::vector<Filing> m_filings;
};

// The ferrofluid's surface height above the dish floor at (x, z) relative to the dish centre:
// a calm pool whose spikes, on a hexagonal lattice, rise with the field and jump on each beat.
float FerrofluidHeight(float x, float z, int frame);
constexpr float kDishRadius = 100.0f;

}  // namespace magnet
