#pragma once
// The geometry of a dividing cell. A body that splits is two Gaussian blobs moving apart along
// its division axis: their iso-surface is a sphere while they coincide, a peanut as they part,
// and two round daughters joined by a thin neck when they are one radius apart. Beyond that the
// neck stays a thin thread that stretches (the bridge between separating nuclei).
//
// The scene's clock: frames 0–138 play the first division (one cell into two), frames 150–288
// the second (each daughter into two, across the first axis), and frames 139–149 are never shown
// (the show jumps from the first part to the second), so the meshes of the two parts swap there.
#include <array>
#include <functional>

#include "C4eWriter.h"
#include "VecMath.h"

namespace zelle {

using Vec = c4e::Vec3;

// One body that divides along axis: radius is the round body's, separation the distance of each
// daughter's centre from the body's centre (0 … radius joins them by a neck, more stretches a thread).
struct Dumbbell {
  Vec centre;
  Vec axis{1.0f, 0.0f, 0.0f};
  float radius = 100.0f;
  float separation = 0.0f;
  // Slow lumps of the living surface: amplitude as a share of the radius, phase in radians.
  float wobble = 0.0f;
  float phase = 0.0f;
};

// Radius of each daughter once the blobs have parted.
float DaughterRadius(float radius);
// Distance from the axis at position z along it (0 beyond the tips; never below the thread).
float ProfileRadius(const Dumbbell& body, float z);
// Half length along the axis, tip to tip.
float HalfLength(const Dumbbell& body);
// The surface as (u, v) in [0, 1]²: u round the axis, v from the tip on the axis side to the
// other tip, spaced so that the rows follow the outline evenly (denser where the body is fat).
std::function<c4e::Vec3(float u, float v)> DumbbellSurface(const Dumbbell& body);

// Easing from 0 at frame `from` to 1 at frame `to` (smootherstep), clamped outside.
float Ease(float frame, float from, float to);

// Frames of the clock table the scene is built for.
constexpr int kFirstPartEnd = 138;   // the furthest frame of the first division
constexpr int kSwapFrame = 144;      // the first part's meshes hide, the second's appear
constexpr int kSecondPartStart = 150;
constexpr int kSecondPartEnd = 288;  // the furthest frame of the second division
constexpr int kLastFrame = 300;      // beyond every frame the show reaches: the scene never loops

constexpr float kCellRadius = 100.0f;
constexpr float kNucleusRadius = 36.0f;
constexpr float kDaughterCellRadius = 82.0f;  // DaughterRadius(kCellRadius), rounded
constexpr float kDaughterNucleusRadius = 29.0f;

// The cell at a frame of the first division: the whole cell and its nucleus along x.
Dumbbell FirstMembrane(float frame);
Dumbbell FirstNucleus(float frame);
// The two daughters (0 at −x dividing along y, 1 at +x dividing along z) in the second division.
Vec DaughterCentre(int daughter);
Vec DaughterAxis(int daughter);
Dumbbell SecondMembrane(int daughter, float frame);
Dumbbell SecondNucleus(int daughter, float frame);

// Where the organelles of each of the four final cells sit: quarter q belongs to daughter q / 2,
// on its side (q % 2 ? +1 : −1) of that daughter's axis. Centre and scale of the group at a frame.
struct GroupPose {
  Vec centre;
  float scale = 1.0f;
};
GroupPose QuarterGroup(int quarter, float frame);

}  // namespace zelle
