#include <cmath>

#include "math/d3dx_math.h"

D3DXQUATERNION D3DXQUATERNION::operator*(const D3DXQUATERNION& q) const {
  D3DXQUATERNION out;
  D3DXQuaternionMultiply(&out, this, &q);
  return out;
}

D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* pOut) {
  *pOut = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f);
  return pOut;
}

FLOAT D3DXQuaternionDot(const D3DXQUATERNION* pQ1, const D3DXQUATERNION* pQ2) {
  return pQ1->x * pQ2->x + pQ1->y * pQ2->y + pQ1->z * pQ2->z + pQ1->w * pQ2->w;
}

FLOAT D3DXQuaternionLength(const D3DXQUATERNION* pQ) { return std::sqrt(D3DXQuaternionDot(pQ, pQ)); }

D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
  const FLOAT length = D3DXQuaternionLength(pQ);
  if (length == 0.0f) {
    *pOut = D3DXQUATERNION();
  } else {
    *pOut = D3DXQUATERNION(pQ->x / length, pQ->y / length, pQ->z / length, pQ->w / length);
  }
  return pOut;
}

D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                       const D3DXQUATERNION* pQ2) {
  // Hamilton product q2 · q1, so that q1 is applied first.
  const D3DXQUATERNION a = *pQ2;
  const D3DXQUATERNION b = *pQ1;
  *pOut = D3DXQUATERNION(a.w * b.x + b.w * a.x + a.y * b.z - a.z * b.y,
                         a.w * b.y + b.w * a.y + a.z * b.x - a.x * b.z,
                         a.w * b.z + b.w * a.z + a.x * b.y - a.y * b.x,
                         a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z);
  return pOut;
}

D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* pOut, const D3DXVECTOR3* pV, FLOAT angle) {
  D3DXVECTOR3 axis;
  D3DXVec3Normalize(&axis, pV);
  const FLOAT s = std::sin(angle * 0.5f);
  *pOut = D3DXQUATERNION(axis.x * s, axis.y * s, axis.z * s, std::cos(angle * 0.5f));
  return pOut;
}

D3DXQUATERNION* D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, FLOAT yaw, FLOAT pitch, FLOAT roll) {
  const FLOAT sy = std::sin(yaw * 0.5f), cy = std::cos(yaw * 0.5f);
  const FLOAT sp = std::sin(pitch * 0.5f), cp = std::cos(pitch * 0.5f);
  const FLOAT sr = std::sin(roll * 0.5f), cr = std::cos(roll * 0.5f);
  // Expanded product of roll (z), then pitch (x), then yaw (y).
  *pOut = D3DXQUATERNION(cy * sp * cr + sy * cp * sr,
                         sy * cp * cr - cy * sp * sr,
                         cy * cp * sr - sy * sp * cr,
                         cy * cp * cr + sy * sp * sr);
  return pOut;
}

D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                    const D3DXQUATERNION* pQ2, FLOAT t) {
  FLOAT dot = D3DXQuaternionDot(pQ1, pQ2);
  FLOAT sign = 1.0f;
  if (dot < 0.0f) {  // the shorter way round
    sign = -1.0f;
    dot = -dot;
  }
  FLOAT w1 = 1.0f - t;
  FLOAT w2 = t;
  if (1.0f - dot > 0.001f) {  // nearly parallel: linear weights are exact enough and stable
    const FLOAT theta = std::acos(dot);
    const FLOAT sinTheta = std::sin(theta);
    w1 = std::sin(theta * w1) / sinTheta;
    w2 = std::sin(theta * w2) / sinTheta;
  }
  w2 *= sign;
  *pOut = D3DXQUATERNION(w1 * pQ1->x + w2 * pQ2->x, w1 * pQ1->y + w2 * pQ2->y,
                         w1 * pQ1->z + w2 * pQ2->z, w1 * pQ1->w + w2 * pQ2->w);
  return pOut;
}
