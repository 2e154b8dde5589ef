#pragma once
// The random shapes particles are placed with. Every function draws from the program's one
// 15-bit rand sequence, in a fixed order, so a seed reproduces a placement exactly.
#include "math/d3dx_math.h"

// rand / 32767: a fresh value in [0, 1] per call.
float RandomFraction();
// Uniform in the box of the given extents centred on the origin: x, y, z in turn.
D3DXVECTOR3 RandomPointInBox(float extentX, float extentY, float extentZ);
// Uniform on one face of that box: the face's axis first, then its sign, then the other two
// axes in x, y, z order.
D3DXVECTOR3 RandomPointOnBox(float extentX, float extentY, float extentZ);
// A direction uniform on the unit sphere, drawn by rejection from the unit disc.
D3DXVECTOR3 RandomUnitVector();
// The cubic Bézier curve through p0…p3 at t in [0, 1].
D3DXVECTOR3 BezierPoint(const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& p2,
                        const D3DXVECTOR3& p3, float t);
