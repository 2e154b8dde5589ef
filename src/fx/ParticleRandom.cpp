#include "fx/ParticleRandom.h"

#include <cmath>

#include "platform/crt_rand.h"

namespace {

float RandomAxis(float extent) {
  return static_cast<float>(platform::rand()) / (static_cast<float>(platform::kRandMax) / extent) - extent / 2.0f;
}

}  // namespace

float RandomFraction() {
  return static_cast<float>(platform::rand()) / static_cast<float>(platform::kRandMax);
}

D3DXVECTOR3 RandomPointInBox(float extentX, float extentY, float extentZ) {
  D3DXVECTOR3 point;
  point.x = RandomAxis(extentX);
  point.y = RandomAxis(extentY);
  point.z = RandomAxis(extentZ);
  return point;
}

D3DXVECTOR3 RandomPointOnBox(float extentX, float extentY, float extentZ) {
  const float extents[3] = {extentX, extentY, extentZ};
  const int fixed = platform::rand() % 3;
  float axes[3];
  axes[fixed] = extents[fixed] / 2.0f;
  if (platform::rand() % 2 == 0) axes[fixed] = -axes[fixed];
  for (int axis = 0; axis < 3; ++axis)
    if (axis != fixed) axes[axis] = RandomAxis(extents[axis]);
  return D3DXVECTOR3(axes[0], axes[1], axes[2]);
}

D3DXVECTOR3 RandomUnitVector() {
  float u, v, s;
  do {
    u = 2.0f * RandomFraction() - 1.0f;
    v = 2.0f * RandomFraction() - 1.0f;
    s = u * u + v * v;
  } while (s > 1.0f);
  const float root = std::sqrt(1.0f - s);
  D3DXVECTOR3 direction(2.0f * u * root, 2.0f * v * root, std::fabs(1.0f - 2.0f * s));
  if (platform::rand() % 2 == 0) direction.z = -direction.z;
  return direction;
}

D3DXVECTOR3 BezierPoint(const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& p2,
                        const D3DXVECTOR3& p3, float t) {
  const float u = 1.0f - t;
  const float w0 = u * u * u, w1 = 3.0f * t * u * u, w2 = 3.0f * t * t * u, w3 = t * t * t;
  return D3DXVECTOR3(w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x, w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y,
                     w0 * p0.z + w1 * p1.z + w2 * p2.z + w3 * p3.z);
}
