#pragma once
// Vector arithmetic on the scene writer's Vec3, for building geometry and camera paths.
#include <cmath>

#include "C4eWriter.h"

// The operators live with the type, so argument-dependent lookup finds them everywhere.
namespace c4e {

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(float s, Vec3 a) { return a * s; }
inline Vec3 operator/(Vec3 a, float s) { return {a.x / s, a.y / s, a.z / s}; }
inline Vec3& operator+=(Vec3& a, Vec3 b) { return a = a + b; }
inline Vec3& operator-=(Vec3& a, Vec3 b) { return a = a - b; }

}  // namespace c4e

namespace kit {

using c4e::Vec3;

struct Vec2 {
  float x = 0.0f, y = 0.0f;
};

inline float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
// The unit vector along a; the zero vector stays zero.
inline Vec3 Normalize(Vec3 a) {
  const float length = Length(a);
  return length > 0.0f ? a / length : Vec3{};
}
inline Vec3 Lerp(Vec3 a, Vec3 b, float t) { return a + (b - a) * t; }
// a turned about the unit axis by angle radians (right-hand rule).
inline Vec3 RotateAbout(Vec3 a, Vec3 axis, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  return a * c + Cross(axis, a) * s + axis * (Dot(axis, a) * (1.0f - c));
}

constexpr float kPi = 3.14159265358979f;

}  // namespace kit
