#include <cmath>

#include "math/d3dx_math.h"

D3DXMATRIX::D3DXMATRIX(const FLOAT* f) {
  for (int i = 0; i < 16; ++i) m[i / 4][i % 4] = f[i];
}

D3DXMATRIX::D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14,
                       FLOAT f21, FLOAT f22, FLOAT f23, FLOAT f24,
                       FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34,
                       FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44)
    : m{{f11, f12, f13, f14}, {f21, f22, f23, f24}, {f31, f32, f33, f34}, {f41, f42, f43, f44}} {}

D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& other) {
  D3DXMatrixMultiply(this, this, &other);
  return *this;
}

D3DXMATRIX& D3DXMATRIX::operator+=(const D3DXMATRIX& other) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] += other.m[r][c];
  return *this;
}

D3DXMATRIX& D3DXMATRIX::operator-=(const D3DXMATRIX& other) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] -= other.m[r][c];
  return *this;
}

D3DXMATRIX& D3DXMATRIX::operator*=(FLOAT f) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] *= f;
  return *this;
}

D3DXMATRIX& D3DXMATRIX::operator/=(FLOAT f) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] /= f;
  return *this;
}

D3DXMATRIX D3DXMATRIX::operator-() const { return *this * -1.0f; }

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& other) const {
  D3DXMATRIX out;
  D3DXMatrixMultiply(&out, this, &other);
  return out;
}

D3DXMATRIX D3DXMATRIX::operator+(const D3DXMATRIX& other) const {
  D3DXMATRIX out = *this;
  return out += other;
}

D3DXMATRIX D3DXMATRIX::operator-(const D3DXMATRIX& other) const {
  D3DXMATRIX out = *this;
  return out -= other;
}

D3DXMATRIX D3DXMATRIX::operator*(FLOAT f) const {
  D3DXMATRIX out = *this;
  return out *= f;
}

D3DXMATRIX D3DXMATRIX::operator/(FLOAT f) const {
  D3DXMATRIX out = *this;
  return out /= f;
}

bool D3DXMATRIX::operator==(const D3DXMATRIX& other) const {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (m[r][c] != other.m[r][c]) return false;
  return true;
}

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut) {
  *pOut = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
  return pOut;
}

bool D3DXMatrixIsIdentity(const D3DXMATRIX* pM) {
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  return *pM == identity;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
  // Into a temporary: pOut may alias either input.
  D3DXMATRIX product;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      product.m[r][c] = pM1->m[r][0] * pM2->m[0][c] + pM1->m[r][1] * pM2->m[1][c] +
                        pM1->m[r][2] * pM2->m[2][c] + pM1->m[r][3] * pM2->m[3][c];
  *pOut = product;
  return pOut;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM) {
  D3DXMATRIX transposed;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) transposed.m[r][c] = pM->m[c][r];
  *pOut = transposed;
  return pOut;
}

D3DXMATRIX* D3DXMatrixMultiplyTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
  D3DXMatrixMultiply(pOut, pM1, pM2);
  return D3DXMatrixTranspose(pOut, pOut);
}

namespace {

// The 2×2 minors of rows 0–1 and of rows 2–3 that the Laplace expansion of a 4×4 shares.
struct Minors {
  FLOAT s[6];
  FLOAT c[6];
};

Minors ComputeMinors(const D3DXMATRIX& a) {
  Minors n;
  n.s[0] = a.m[0][0] * a.m[1][1] - a.m[1][0] * a.m[0][1];
  n.s[1] = a.m[0][0] * a.m[1][2] - a.m[1][0] * a.m[0][2];
  n.s[2] = a.m[0][0] * a.m[1][3] - a.m[1][0] * a.m[0][3];
  n.s[3] = a.m[0][1] * a.m[1][2] - a.m[1][1] * a.m[0][2];
  n.s[4] = a.m[0][1] * a.m[1][3] - a.m[1][1] * a.m[0][3];
  n.s[5] = a.m[0][2] * a.m[1][3] - a.m[1][2] * a.m[0][3];
  n.c[5] = a.m[2][2] * a.m[3][3] - a.m[3][2] * a.m[2][3];
  n.c[4] = a.m[2][1] * a.m[3][3] - a.m[3][1] * a.m[2][3];
  n.c[3] = a.m[2][1] * a.m[3][2] - a.m[3][1] * a.m[2][2];
  n.c[2] = a.m[2][0] * a.m[3][3] - a.m[3][0] * a.m[2][3];
  n.c[1] = a.m[2][0] * a.m[3][2] - a.m[3][0] * a.m[2][2];
  n.c[0] = a.m[2][0] * a.m[3][1] - a.m[3][0] * a.m[2][1];
  return n;
}

FLOAT DeterminantFromMinors(const Minors& n) {
  return n.s[0] * n.c[5] - n.s[1] * n.c[4] + n.s[2] * n.c[3] + n.s[3] * n.c[2] - n.s[4] * n.c[1] +
         n.s[5] * n.c[0];
}

}  // namespace

FLOAT D3DXMatrixDeterminant(const D3DXMATRIX* pM) { return DeterminantFromMinors(ComputeMinors(*pM)); }

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, const D3DXMATRIX* pM) {
  const D3DXMATRIX& a = *pM;
  const Minors n = ComputeMinors(a);
  const FLOAT det = DeterminantFromMinors(n);
  if (pDeterminant) *pDeterminant = det;
  if (det == 0.0f || !std::isfinite(det)) return nullptr;
  const FLOAT k = 1.0f / det;
  const FLOAT* s = n.s;
  const FLOAT* c = n.c;
  D3DXMATRIX inv;
  inv.m[0][0] = (a.m[1][1] * c[5] - a.m[1][2] * c[4] + a.m[1][3] * c[3]) * k;
  inv.m[0][1] = (-a.m[0][1] * c[5] + a.m[0][2] * c[4] - a.m[0][3] * c[3]) * k;
  inv.m[0][2] = (a.m[3][1] * s[5] - a.m[3][2] * s[4] + a.m[3][3] * s[3]) * k;
  inv.m[0][3] = (-a.m[2][1] * s[5] + a.m[2][2] * s[4] - a.m[2][3] * s[3]) * k;
  inv.m[1][0] = (-a.m[1][0] * c[5] + a.m[1][2] * c[2] - a.m[1][3] * c[1]) * k;
  inv.m[1][1] = (a.m[0][0] * c[5] - a.m[0][2] * c[2] + a.m[0][3] * c[1]) * k;
  inv.m[1][2] = (-a.m[3][0] * s[5] + a.m[3][2] * s[2] - a.m[3][3] * s[1]) * k;
  inv.m[1][3] = (a.m[2][0] * s[5] - a.m[2][2] * s[2] + a.m[2][3] * s[1]) * k;
  inv.m[2][0] = (a.m[1][0] * c[4] - a.m[1][1] * c[2] + a.m[1][3] * c[0]) * k;
  inv.m[2][1] = (-a.m[0][0] * c[4] + a.m[0][1] * c[2] - a.m[0][3] * c[0]) * k;
  inv.m[2][2] = (a.m[3][0] * s[4] - a.m[3][1] * s[2] + a.m[3][3] * s[0]) * k;
  inv.m[2][3] = (-a.m[2][0] * s[4] + a.m[2][1] * s[2] - a.m[2][3] * s[0]) * k;
  inv.m[3][0] = (-a.m[1][0] * c[3] + a.m[1][1] * c[1] - a.m[1][2] * c[0]) * k;
  inv.m[3][1] = (a.m[0][0] * c[3] - a.m[0][1] * c[1] + a.m[0][2] * c[0]) * k;
  inv.m[3][2] = (-a.m[3][0] * s[3] + a.m[3][1] * s[1] - a.m[3][2] * s[0]) * k;
  inv.m[3][3] = (a.m[2][0] * s[3] - a.m[2][1] * s[1] + a.m[2][2] * s[0]) * k;
  *pOut = inv;
  return pOut;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z) {
  D3DXMatrixIdentity(pOut);
  pOut->_41 = x;
  pOut->_42 = y;
  pOut->_43 = z;
  return pOut;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz) {
  D3DXMatrixIdentity(pOut);
  pOut->_11 = sx;
  pOut->_22 = sy;
  pOut->_33 = sz;
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT angle) {
  const FLOAT s = std::sin(angle), c = std::cos(angle);
  D3DXMatrixIdentity(pOut);
  pOut->_22 = c;
  pOut->_23 = s;
  pOut->_32 = -s;
  pOut->_33 = c;
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT angle) {
  const FLOAT s = std::sin(angle), c = std::cos(angle);
  D3DXMatrixIdentity(pOut);
  pOut->_11 = c;
  pOut->_13 = -s;
  pOut->_31 = s;
  pOut->_33 = c;
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT angle) {
  const FLOAT s = std::sin(angle), c = std::cos(angle);
  D3DXMatrixIdentity(pOut);
  pOut->_11 = c;
  pOut->_12 = s;
  pOut->_21 = -s;
  pOut->_22 = c;
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, FLOAT angle) {
  D3DXVECTOR3 v;
  D3DXVec3Normalize(&v, pV);
  const FLOAT s = std::sin(angle), c = std::cos(angle), t = 1.0f - c;
  D3DXMatrixIdentity(pOut);
  pOut->_11 = t * v.x * v.x + c;
  pOut->_12 = t * v.x * v.y + s * v.z;
  pOut->_13 = t * v.x * v.z - s * v.y;
  pOut->_21 = t * v.x * v.y - s * v.z;
  pOut->_22 = t * v.y * v.y + c;
  pOut->_23 = t * v.y * v.z + s * v.x;
  pOut->_31 = t * v.x * v.z + s * v.y;
  pOut->_32 = t * v.y * v.z - s * v.x;
  pOut->_33 = t * v.z * v.z + c;
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ) {
  const FLOAT x = pQ->x, y = pQ->y, z = pQ->z, w = pQ->w;
  D3DXMatrixIdentity(pOut);
  pOut->_11 = 1.0f - 2.0f * (y * y + z * z);
  pOut->_12 = 2.0f * (x * y + z * w);
  pOut->_13 = 2.0f * (x * z - y * w);
  pOut->_21 = 2.0f * (x * y - z * w);
  pOut->_22 = 1.0f - 2.0f * (x * x + z * z);
  pOut->_23 = 2.0f * (y * z + x * w);
  pOut->_31 = 2.0f * (x * z + y * w);
  pOut->_32 = 2.0f * (y * z - x * w);
  pOut->_33 = 1.0f - 2.0f * (x * x + y * y);
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT yaw, FLOAT pitch, FLOAT roll) {
  D3DXMATRIX rollMatrix, pitchMatrix, yawMatrix;
  D3DXMatrixRotationZ(&rollMatrix, roll);
  D3DXMatrixRotationX(&pitchMatrix, pitch);
  D3DXMatrixRotationY(&yawMatrix, yaw);
  *pOut = rollMatrix * pitchMatrix * yawMatrix;
  return pOut;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                               const D3DXVECTOR3* pUp) {
  D3DXVECTOR3 zAxis = *pAt - *pEye;
  D3DXVec3Normalize(&zAxis, &zAxis);
  D3DXVECTOR3 xAxis;
  D3DXVec3Cross(&xAxis, pUp, &zAxis);
  D3DXVec3Normalize(&xAxis, &xAxis);
  D3DXVECTOR3 yAxis;
  D3DXVec3Cross(&yAxis, &zAxis, &xAxis);
  *pOut = D3DXMATRIX(xAxis.x, yAxis.x, zAxis.x, 0.0f,
                     xAxis.y, yAxis.y, zAxis.y, 0.0f,
                     xAxis.z, yAxis.z, zAxis.z, 0.0f,
                     -D3DXVec3Dot(&xAxis, pEye), -D3DXVec3Dot(&yAxis, pEye), -D3DXVec3Dot(&zAxis, pEye), 1.0f);
  return pOut;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT aspect, FLOAT zn, FLOAT zf) {
  const FLOAT yScale = 1.0f / std::tan(fovy * 0.5f);
  const FLOAT xScale = yScale / aspect;
  *pOut = D3DXMATRIX(xScale, 0.0f, 0.0f, 0.0f,
                     0.0f, yScale, 0.0f, 0.0f,
                     0.0f, 0.0f, zf / (zf - zn), 1.0f,
                     0.0f, 0.0f, -zn * zf / (zf - zn), 0.0f);
  return pOut;
}

D3DXMATRIX* D3DXMatrixPerspectiveLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
  *pOut = D3DXMATRIX(2.0f * zn / w, 0.0f, 0.0f, 0.0f,
                     0.0f, 2.0f * zn / h, 0.0f, 0.0f,
                     0.0f, 0.0f, zf / (zf - zn), 1.0f,
                     0.0f, 0.0f, zn * zf / (zn - zf), 0.0f);
  return pOut;
}

D3DXMATRIX* D3DXMatrixOrthoLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
  *pOut = D3DXMATRIX(2.0f / w, 0.0f, 0.0f, 0.0f,
                     0.0f, 2.0f / h, 0.0f, 0.0f,
                     0.0f, 0.0f, 1.0f / (zf - zn), 0.0f,
                     0.0f, 0.0f, zn / (zn - zf), 1.0f);
  return pOut;
}

D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn,
                                       FLOAT zf) {
  *pOut = D3DXMATRIX(2.0f / (r - l), 0.0f, 0.0f, 0.0f,
                     0.0f, 2.0f / (t - b), 0.0f, 0.0f,
                     0.0f, 0.0f, 1.0f / (zf - zn), 0.0f,
                     (l + r) / (l - r), (t + b) / (b - t), zn / (zn - zf), 1.0f);
  return pOut;
}
