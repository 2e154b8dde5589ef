#pragma once
// The c4e material program's constant-buffer records filled from the scene model: what the
// material and lights buffers carry for one mesh, and the view every scene pass looks through.
#include <memory>
#include <vector>

#include "gfx/shaders/C4eShader.h"
#include "math/d3dx_math.h"

class Camera;
class Environment;
class Light;
class Material;
class PolyObject;

// Flags as 0 or 1; the fields of a switched-off block are 0; specularParamB goes out as
// 100 − 100 × specularParamB and transparency as 1 − transparency.
C4eMaterialBufferType MakeMaterialBuffer(const Material& material);

// Ambient header, the light count and one entry per light. The arrays hold eight lights: a
// longer list sends its first eight and the count 8. Entries past the count stay zero.
C4eLightsBufferType MakeLightsBuffer(const Environment& environment,
                                     const std::vector<std::unique_ptr<Light>>& lights, bool shaderFlag);

// Camera position x, y, z and 0.
C4eEyeBufferType MakeEyeBuffer(const Camera& camera);

// The camera's view, then the roll about z, then the shake offset.
D3DXMATRIX RolledAndShakenView(const D3DXMATRIX& cameraView, float rollAngle, const D3DXVECTOR3& shakeOffset);

// The first light's shadow matrices: looking from its position at its direction taken as a
// point, up (0, 1, 0); a square π/4 perspective between near and far.
void ComputeLightMatrices(Light* light, float shadowNear, float shadowFar);
