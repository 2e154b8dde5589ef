#pragma once
// A jellyfish in its own frame: the bell's apex points up +y and its rim lies round y = 0.
// The bell is one closed shell (the outer dome down to the rim, the inner surface back up into the
// thick top); contraction narrows the rim, raises the dome and curls the margin under. Tentacles
// hang from the rim and carry each contraction down their length a little later; four frilled
// oral arms hang from the middle.
#include <cstdint>
#include <functional>
#include <vector>

#include "C4eWriter.h"

namespace qualle {

// When the bell contracts: a quick contraction, a relaxation that overshoots a little wide, and a
// slow settling until the next pulse. Contraction(frame) is 0 at rest, 1 fully contracted.
class PulseCurve {
 public:
  explicit PulseCurve(std::vector<float> starts) : m_starts(std::move(starts)) {}
  float Contraction(float frame) const;
  const std::vector<float>& starts() const { return m_starts; }
  // The frames at which the curve turns (rest, contracted, widest): morph keys with Hermite
  // blending (zero tangents) between them reproduce it exactly.
  std::vector<int> TurningFrames(int lastFrame) const;

  static constexpr float kContract = 7.0f;   // frames from rest to fully contracted
  static constexpr float kRelax = 10.0f;     // frames from contracted to the widest overshoot
  static constexpr float kOvershoot = -0.14f;

 private:
  std::vector<float> m_starts;
};

struct JellyBuild {
  float radius = 60.0f;   // of the relaxed rim
  float height = 48.0f;   // apex above the rim
  int bellColumns = 48;
  int bellRows = 40;
  int tentacles = 16;
  float tentacleLength = 200.0f;
  float tentacleRadius = 0.9f;
  int tentacleSegments = 28;
  float armLength = 90.0f;
  int armSegments = 24;
  uint32_t seed = 1;
};

using SurfaceFunction = std::function<c4e::Vec3(float u, float v)>;

// The bell at a contraction, with the margin's slow ripple at frame.
SurfaceFunction BellSurface(const JellyBuild& jelly, float contraction, float frame);
// The rim's radius and height at a contraction.
float RimRadius(const JellyBuild& jelly, float contraction);
float RimHeight(const JellyBuild& jelly, float contraction);
// Centre line of tentacle `index` at frame, from its root on the rim to its tip (segments + 1 points).
std::vector<c4e::Vec3> TentacleLine(const JellyBuild& jelly, const PulseCurve& pulse, int index, float frame);
// Centre line of oral arm `index` (0..3) at frame.
std::vector<c4e::Vec3> ArmLine(const JellyBuild& jelly, const PulseCurve& pulse, int index, float frame);
// Width of an oral arm's frills at a point along it (0 root, 1 tip) and frame.
float ArmWidth(const JellyBuild& jelly, float along, float frame);

// Appends a tube round a centre line; radius(along) and flatness (1 round, less: a flat ribbon).
void AppendStrand(c4e::PolyObject& mesh, const std::vector<c4e::Vec3>& line, int sides,
                  const std::function<float(float along)>& radius, float flatness);

}  // namespace qualle
