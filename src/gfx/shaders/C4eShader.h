#pragma once
// The scene material program: transforms, eye, material and lights buffers, six textures.
// The scene renderer fills the buffer records from its model; this class uploads and draws.
#include <cstdint>

#include "gfx/shaders/PixelShaderVariants.h"
#include "gfx/shaders/ShaderProgram.h"

// Transforms (vertex slot 0): five matrices, transposed on upload.
struct C4eTransformsBufferType {
  D3DXMATRIX world;
  D3DXMATRIX view;
  D3DXMATRIX projection;
  D3DXMATRIX lightView;
  D3DXMATRIX lightProjection;
};
static_assert(sizeof(C4eTransformsBufferType) == 320);

// Eye (vertex slot 1): camera position and 0.
struct C4eEyeBufferType {
  float x, y, z, w;
};
static_assert(sizeof(C4eEyeBufferType) == 16);

// Material (pixel slot 0): flags are 0 or 1; fields of a switched-off block are 0.
struct C4eMaterialBufferType {
  float diffuseValue;
  uint32_t hasDiffuseMap;
  int32_t diffuseMapParamA;
  float diffuseMapParamB;
  float specularColor[4];
  uint32_t hasSpecular;
  float specularParamA;
  float specularPower;  // 100 − 100 × specularParamB
  uint32_t hasNormalMap;
  uint32_t transparent;
  float opacity;  // 1 − transparency
  uint32_t hasLuminanceMap;
  uint32_t hasEnvironmentMap;
  uint32_t hasReflectionMap;
  float padding[3];
};
static_assert(sizeof(C4eMaterialBufferType) == 80);

// Lights (pixel slot 1): a header and seven arrays of eight float4, entry i for light i.
struct C4eLightsBufferType {
  static constexpr int kMaxLights = 8;
  float ambient[4];      // r, g, b, 1
  float environment[4];  // environmentValue, 0, 0, 0
  int32_t lightCount;
  float countPadding[3];
  float listed[kMaxLights][4];      // listed, 0, 0, type
  float position[kMaxLights][4];    // x, y, z, 0
  float color[kMaxLights][4];       // r, g, b, 0
  float multiplier[kMaxLights][4];  // 0, 0, 0, multiplier
  float direction[kMaxLights][4];   // x, y, z, 0
  float terms[kMaxLights][4];       // 1, 0.001, 0, shaderParamA
  float paramB[kMaxLights][4];      // 0, 0, 0, shaderParamB × 10
  uint32_t flag;                    // the caller's flag, 0 or 1
  float flagPadding[3];
};
static_assert(sizeof(C4eLightsBufferType) == 960);
static_assert(offsetof(C4eLightsBufferType, listed) == 48);
static_assert(offsetof(C4eLightsBufferType, flag) == 944);

// What a specialised material program fixes when it is compiled: the material's switches
// (bits 0 to 6), the shadow flag (bit 7), the number of lights (bits 8 to 11) and each light's
// kind, omni, directional or spot (two bits per light from bit 12).
uint32_t C4eProgramKey(const C4eMaterialBufferType& material, const C4eLightsBufferType& lights);
// The macros that fix them in "c4e_PS.hlsl".
PixelShaderVariants::Defines C4eProgramDefines(uint32_t key);

class C4eShader : public ShaderProgram {
 public:
  static constexpr UINT kResourceSlots = 6;  // diffuse, normal, luminance, environment, extra, reflection

  ID3D11Buffer* eyeBuffer = nullptr;
  ID3D11Buffer* materialBuffer = nullptr;
  ID3D11Buffer* lightsBuffer = nullptr;

  // pixelShader is the general program; variants holds one program per key the draws have
  // asked for, made in the background. Off: every draw goes through the general program.
  PixelShaderVariants variants;
  bool useVariants = true;

  bool Initialize();
  // Writes and binds transforms (matrixBuffer, 320 bytes here), eye, material and lights in that
  // order, then the six textures (null for absent maps); false at the first failed map.
  bool SetShaderParameters(const C4eTransformsBufferType& transforms, const C4eEyeBufferType& eye,
                           const C4eMaterialBufferType& material, const C4eLightsBufferType& lights,
                           ID3D11ShaderResourceView* const resources[kResourceSlots]);
  // Draws with the program that SetShaderParameters picked.
  void Render(UINT indexCount);
  void Shutdown();

 private:
  ID3D11PixelShader* m_drawShader = nullptr;
};
