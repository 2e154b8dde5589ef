#include <cmath>

#include "math/d3dx_math.h"

FLOAT D3DXVec2Length(const D3DXVECTOR2* pV) { return std::sqrt(pV->x * pV->x + pV->y * pV->y); }

FLOAT D3DXVec2Dot(const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2) { return pV1->x * pV2->x + pV1->y * pV2->y; }

D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV) {
  const FLOAT length = D3DXVec2Length(pV);
  *pOut = length == 0.0f ? D3DXVECTOR2() : *pV / length;
  return pOut;
}

D3DXVECTOR2* D3DXVec2Lerp(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2, FLOAT s) {
  *pOut = D3DXVECTOR2(pV1->x + s * (pV2->x - pV1->x), pV1->y + s * (pV2->y - pV1->y));
  return pOut;
}

D3DXVECTOR3* D3DXVec3Add(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
  *pOut = *pV1 + *pV2;
  return pOut;
}

D3DXVECTOR3* D3DXVec3Subtract(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
  *pOut = *pV1 - *pV2;
  return pOut;
}

D3DXVECTOR3* D3DXVec3Scale(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, FLOAT s) {
  *pOut = *pV * s;
  return pOut;
}

D3DXVECTOR3* D3DXVec3Minimize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
  *pOut = D3DXVECTOR3(std::fmin(pV1->x, pV2->x), std::fmin(pV1->y, pV2->y), std::fmin(pV1->z, pV2->z));
  return pOut;
}

D3DXVECTOR3* D3DXVec3Maximize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
  *pOut = D3DXVECTOR3(std::fmax(pV1->x, pV2->x), std::fmax(pV1->y, pV2->y), std::fmax(pV1->z, pV2->z));
  return pOut;
}

D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2, FLOAT s) {
  *pOut = D3DXVECTOR3(pV1->x + s * (pV2->x - pV1->x),
                      pV1->y + s * (pV2->y - pV1->y),
                      pV1->z + s * (pV2->z - pV1->z));
  return pOut;
}

D3DXVECTOR3* D3DXVec3Hermite(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pT1,
                             const D3DXVECTOR3* pV2, const D3DXVECTOR3* pT2, FLOAT s) {
  const FLOAT s2 = s * s;
  const FLOAT s3 = s2 * s;
  const FLOAT h1 = 2.0f * s3 - 3.0f * s2 + 1.0f;
  const FLOAT h2 = s3 - 2.0f * s2 + s;
  const FLOAT h3 = -2.0f * s3 + 3.0f * s2;
  const FLOAT h4 = s3 - s2;
  *pOut = D3DXVECTOR3(h1 * pV1->x + h2 * pT1->x + h3 * pV2->x + h4 * pT2->x,
                      h1 * pV1->y + h2 * pT1->y + h3 * pV2->y + h4 * pT2->y,
                      h1 * pV1->z + h2 * pT1->z + h3 * pV2->z + h4 * pT2->z);
  return pOut;
}

D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
  const D3DXVECTOR4 point(*pV, 1.0f);
  return D3DXVec4Transform(pOut, &point, pM);
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
  D3DXVECTOR4 out;
  D3DXVec3Transform(&out, pV, pM);
  *pOut = D3DXVECTOR3(out.x / out.w, out.y / out.w, out.z / out.w);
  return pOut;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
  const D3DXVECTOR3 v = *pV;
  *pOut = D3DXVECTOR3(v.x * pM->_11 + v.y * pM->_21 + v.z * pM->_31,
                      v.x * pM->_12 + v.y * pM->_22 + v.z * pM->_32,
                      v.x * pM->_13 + v.y * pM->_23 + v.z * pM->_33);
  return pOut;
}

FLOAT D3DXVec4Dot(const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2) {
  return pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z + pV1->w * pV2->w;
}

FLOAT D3DXVec4Length(const D3DXVECTOR4* pV) { return std::sqrt(D3DXVec4Dot(pV, pV)); }

D3DXVECTOR4* D3DXVec4Normalize(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV) {
  const FLOAT length = D3DXVec4Length(pV);
  *pOut = length == 0.0f ? D3DXVECTOR4() : *pV / length;
  return pOut;
}

D3DXVECTOR4* D3DXVec4Lerp(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2, FLOAT s) {
  *pOut = D3DXVECTOR4(pV1->x + s * (pV2->x - pV1->x), pV1->y + s * (pV2->y - pV1->y),
                      pV1->z + s * (pV2->z - pV1->z), pV1->w + s * (pV2->w - pV1->w));
  return pOut;
}

D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM) {
  const D3DXVECTOR4 v = *pV;
  *pOut = D3DXVECTOR4(v.x * pM->_11 + v.y * pM->_21 + v.z * pM->_31 + v.w * pM->_41,
                      v.x * pM->_12 + v.y * pM->_22 + v.z * pM->_32 + v.w * pM->_42,
                      v.x * pM->_13 + v.y * pM->_23 + v.z * pM->_33 + v.w * pM->_43,
                      v.x * pM->_14 + v.y * pM->_24 + v.z * pM->_34 + v.w * pM->_44);
  return pOut;
}
