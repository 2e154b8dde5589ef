#include "FaceSculpt.h"

#include <algorithm>
#include <cmath>

#include "VecMath.h"

namespace fratze {

namespace {

using Vec = c4e::Vec3;
constexpr float kPi = 3.14159265358979f;
constexpr float kWrap = 1.75f;     // the grid reaches this far round the head either side (radians)
constexpr float kCrown = 1.3f;    // fy at the top row
constexpr float kNeck = -1.6f;     // fy at the bottom row
constexpr float kUnitX = 84.0f, kUnitY = 100.0f;

float Smooth(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

float Bump(float dx, float sx, float dy, float sy) { return std::exp(-(dx / sx) * (dx / sx) - (dy / sy) * (dy / sy)); }

// Half width and half depth of the head at height fy: skull, narrowing jaw, then the neck.
void HeadRadii(float fy, float* rx, float* rz) {
  // A full, round skull: a superellipse rather than an egg.
  const float skull = std::pow(std::max(0.0004f, 1.0f - std::pow(std::fabs(fy - 0.05f) / 1.26f, 2.6f)), 1.0f / 2.6f);
  const float jaw = 1.0f - 0.4f * Smooth(-0.25f, -1.1f, fy);
  const float neck = Smooth(-0.95f, -1.3f, fy);
  *rx = (1.0f - neck) * 84.0f * skull * jaw + neck * 58.0f;
  *rz = (1.0f - neck) * 98.0f * skull * (1.0f - 0.22f * Smooth(-0.3f, -1.1f, fy)) + neck * 64.0f;
}

Vec Base(float alpha, float fy) {
  float rx, rz;
  HeadRadii(fy, &rx, &rz);
  return {rx * std::sin(alpha), kUnitY * fy, -rz * std::cos(alpha)};
}

// The fold from the nose's wing down past the mouth's corner.
float FoldDistance(float fx, float fy, float mouth) {
  const float ax = 0.15f, ay = -0.27f, bx = mouth + 0.05f, by = kMouthLine - 0.06f;
  const float px = std::fabs(fx) - ax, py = fy - ay, ex = bx - ax, ey = by - ay;
  const float t = std::clamp((px * ex + py * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
  return std::hypot(px - t * ex, py - t * ey);
}

// Relief out of the skin, in units.
float Relief(const Expression& e, float fx, float fy) {
  const float side = fx > 0.0f ? 1.0f : 0.0f;  // the sneering side
  const float ax = std::fabs(fx);
  const float squint = fx > 0.0f ? e.squintLeft : e.squintRight;
  const float mouth = MouthHalfWidth(e);
  const float inner = Smooth(0.4f, 0.05f, ax);
  float h = 0.0f;
  // Brow ridge, pulled down in a frown, its inner ends raised in fear.
  const float browY = 0.3f - 0.07f * e.browDown + 0.09f * e.browUp * inner;
  h += 9.0f * std::exp(-std::pow((fy - browY) / 0.08f, 2.0f)) * Smooth(0.62f, 0.38f, ax);
  h -= 3.5f * e.browDown * Bump(fx, 0.035f, fy - 0.24f, 0.09f);
  h += 1.5f * e.browUp * std::sin(fy * 55.0f) * Smooth(0.42f, 0.5f, fy) * Smooth(0.9f, 0.75f, fy) * Smooth(0.5f, 0.2f, ax);
  // Eye sockets, torn open or squeezed by the lower lids.
  h -= 17.0f * (1.0f + 0.25f * std::max(0.0f, -squint)) * Bump(ax - 0.33f, 0.16f, fy - 0.13f, 0.1f);
  h += 9.0f * std::max(0.0f, squint) * Bump(ax - 0.33f, 0.15f, fy - 0.05f - 0.06f * squint, 0.05f);
  // Nose: bridge to tip, the wings, the wrinkles of a sneer.
  const float ridge = 30.0f * Smooth(0.2f, -0.2f, fy) * Smooth(-0.31f, -0.22f, fy);
  const float width = 0.06f + 0.08f * Smooth(0.1f, -0.25f, fy);
  h += ridge * std::exp(-(fx / width) * (fx / width));
  h += (9.0f + 5.0f * e.nostrils) * Bump(ax - 0.11f - 0.03f * e.nostrils, 0.06f, fy + 0.25f - 0.05f * e.sneer * side, 0.05f);
  h += 1.5f * e.sneer * std::sin(fy * 70.0f) * Bump(fx - 0.06f, 0.08f, fy - 0.08f, 0.07f);
  // Cheekbones and the hollows under them.
  h += 10.0f * (1.0f + 0.5f * e.cheek) * Bump(ax - 0.45f, 0.15f, fy + 0.02f - 0.07f * e.cheek, 0.12f);
  h -= 6.0f * (1.0f + e.jaw) * Bump(ax - 0.42f, 0.12f, fy + 0.42f, 0.15f);
  h -= (2.0f + 6.0f * e.cheek + 6.0f * e.sneer * side) * std::exp(-std::pow(FoldDistance(fx, fy, mouth) / 0.025f, 2.0f));
  // Muzzle, lips (the same at the meeting line from both sides), chin.
  h += 8.0f * Bump(fx, 0.35f, fy - kMouthLine, 0.25f);
  const float lips = Smooth(mouth + 0.05f, mouth - 0.1f, ax);
  h += 7.0f * lips * std::exp(-std::pow((std::fabs(fy - kMouthLine) - 0.04f) / 0.05f, 2.0f));
  h += 12.0f * Bump(fx, 0.18f, fy + 0.88f, 0.12f);
  return h;
}

// Movement of the skin, in units; upper: the side above the lips.
Vec Motion(const Expression& e, float fx, float fy, bool upper) {
  const float ax = std::fabs(fx), sign = fx < 0.0f ? -1.0f : 1.0f;
  const float mouth = MouthHalfWidth(e);
  const float slit = Smooth(mouth + 0.04f, mouth - 0.04f, ax);
  Vec d;
  const float corner = Bump(ax - 0.28f, 0.16f, fy - kMouthLine, 0.16f);
  d.x += sign * 14.0f * e.wide * corner;
  d.y += 12.0f * e.cornerUp * corner;
  d.y += 7.0f * e.cheek * Bump(ax - 0.4f, 0.16f, fy + 0.2f, 0.16f);
  d.y += 7.0f * e.sneer * Bump(fx - 0.11f, 0.08f, fy + 0.24f, 0.08f);
  const float brows = std::exp(-std::pow((fy - 0.3f) / 0.14f, 2.0f)) * Smooth(0.7f, 0.4f, ax);
  d.y += (-7.0f * e.browDown + 9.0f * e.browUp * Smooth(0.4f, 0.05f, ax)) * brows;
  d.x -= sign * 3.0f * e.browDown * brows;
  const float nearLips = std::exp(-std::pow((fy - kMouthLine) / 0.1f, 2.0f)) * slit;
  const float hinge = Smooth(0.8f, 0.45f, ax);
  if (upper) {
    d.y += (12.0f * e.sneer * Bump(fx - 0.13f, 0.12f, 0.0f, 1.0f) + 0.4f * e.lipsApart) * nearLips;
    // Outside the mouth the skin above the line stretches down with the jaw.
    const float pulled = hinge * Smooth(kMouthLine + 0.15f, kMouthLine, fy) * (1.0f - slit);
    d.y -= 55.0f * e.jaw * pulled;
    d.z += 14.0f * e.jaw * pulled;
  } else {
    d.y -= 55.0f * e.jaw * hinge;
    d.z += 14.0f * e.jaw * hinge;
    d.y -= 0.6f * e.lipsApart * std::exp(-std::pow((fy - kMouthLine) / 0.12f, 2.0f)) * slit;
  }
  return d;
}

Vec Displaced(const Expression& e, float alpha, float fy, bool upper) {
  const Vec base = Base(alpha, fy);
  const float fx = base.x / kUnitX;
  const float front = Smooth(0.15f, 0.6f, std::cos(alpha));
  const Vec out{std::sin(alpha), 0.0f, -std::cos(alpha)};
  return base + out * (Relief(e, fx, fy) * front) + Motion(e, fx, fy, upper) * front;
}

float AlphaAt(float fx, float fy) {
  float rx, rz;
  HeadRadii(fy, &rx, &rz);
  return std::asin(std::clamp(fx * kUnitX / rx, -1.0f, 1.0f));
}

}  // namespace

Expression Blend(const Expression& a, const Expression& b, float t) {
  auto mix = [t](float x, float y) { return x + (y - x) * t; };
  Expression e;
  e.jaw = mix(a.jaw, b.jaw);
  e.lipsApart = mix(a.lipsApart, b.lipsApart);
  e.wide = mix(a.wide, b.wide);
  e.cornerUp = mix(a.cornerUp, b.cornerUp);
  e.sneer = mix(a.sneer, b.sneer);
  e.browDown = mix(a.browDown, b.browDown);
  e.browUp = mix(a.browUp, b.browUp);
  e.squintLeft = mix(a.squintLeft, b.squintLeft);
  e.squintRight = mix(a.squintRight, b.squintRight);
  e.cheek = mix(a.cheek, b.cheek);
  e.nostrils = mix(a.nostrils, b.nostrils);
  return e;
}

Expression Neutral() {
  Expression e;
  e.squintLeft = e.squintRight = 0.15f;  // heavy, half-lidded
  return e;
}

Expression Frown() {
  Expression e = Neutral();
  e.browDown = 0.7f;
  e.squintLeft = e.squintRight = 0.35f;
  e.cornerUp = -0.3f;
  return e;
}

Expression Sneer() {
  Expression e;
  e.sneer = 1.0f;
  e.browDown = 0.85f;
  e.squintLeft = 0.8f;
  e.squintRight = 0.2f;
  e.jaw = 0.1f;
  e.lipsApart = 6.0f;
  e.nostrils = 0.7f;
  e.cornerUp = -0.2f;
  return e;
}

Expression Grin() {
  Expression e;
  e.wide = 1.0f;
  e.cornerUp = 1.0f;
  e.cheek = 1.0f;
  e.jaw = 0.18f;
  e.lipsApart = 14.0f;
  e.squintLeft = e.squintRight = 0.6f;
  e.browDown = 0.35f;
  return e;
}

Expression Scream() {
  Expression e;
  e.jaw = 1.0f;
  e.lipsApart = 10.0f;
  e.wide = 0.7f;
  e.cornerUp = -0.7f;
  e.browUp = 1.0f;
  e.squintLeft = e.squintRight = -0.5f;
  e.nostrils = 1.0f;
  return e;
}

float MouthHalfWidth(const Expression& expression) { return 0.26f + 0.1f * expression.wide; }

c4e::Vec3 SkinPoint(const Expression& expression, float fx, float fy, bool upper) {
  return Displaced(expression, AlphaAt(fx, fy), fy, upper);
}

void PictureCoordinates(float fx, float fy, float* u, float* v) {
  *u = 0.5f + AlphaAt(fx, fy) / (2.0f * kWrap);
  *v = (kCrown - fy) / (kCrown - kMouthLine) * kBandTop;
}

c4e::Vec3 JawOffset(const Expression& expression) {
  return {0.0f, -(55.0f * expression.jaw + 0.6f * expression.lipsApart), 14.0f * expression.jaw};
}

std::function<c4e::Vec3(float u, float v)> FaceSurface(const Expression& expression) {
  return [expression](float u, float v) {
    const float alpha = (u - 0.5f) * 2.0f * kWrap;
    if (v <= kBandTop) return Displaced(expression, alpha, kCrown - (v / kBandTop) * (kCrown - kMouthLine), true);
    if (v >= kBandBottom)
      return Displaced(expression, alpha, kMouthLine - (v - kBandBottom) / (1.0f - kBandBottom) * (kMouthLine - kNeck), false);
    // Inside the mouth: from the upper lip's edge into the head and out again to the lower lip's.
    const float s = 1.0f - 2.0f * (v - kBandTop) / (kBandBottom - kBandTop);
    const Vec top = Displaced(expression, alpha, kMouthLine, true);
    const Vec bottom = Displaced(expression, alpha, kMouthLine, false);
    const float fx = top.x / kUnitX;
    const float mouth = MouthHalfWidth(expression);
    const float slit = Smooth(mouth + 0.04f, mouth - 0.04f, std::fabs(fx)) * Smooth(0.2f, 0.6f, std::cos(alpha));
    const float gap = std::fabs(top.y - bottom.y);
    const float depth = 0.8f + slit * (20.0f + 0.45f * gap);
    const Vec between = top + (bottom - top) * ((1.0f - s) * 0.5f);
    return between + Vec{0.0f, 0.0f, depth * (1.0f - s * s)};
  };
}

}  // namespace fratze
