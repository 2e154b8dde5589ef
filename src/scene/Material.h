#pragma once
// A scene material: the blocks of its file record and the textures they name.
#include <cstdint>
#include <string>

#include "math/d3dx_math.h"

class ID3D11ShaderResourceView;

class Material {
 public:
  // Grey and opaque: what a mesh whose material name does not resolve is drawn with.
  static Material MakeDefault();

  int32_t number = 0;
  std::string name;

  bool hasDiffuse = false;
  D3DXCOLOR diffuseColor;  // alpha 0
  float diffuseValue = 0.0f;
  bool hasDiffuseMap = false;
  std::string diffuseMap;
  int32_t diffuseMapParamA = 0;
  float diffuseMapParamB = 0.0f;

  bool hasSpecular = false;
  D3DXCOLOR specularColor;  // alpha 0
  float specularParamA = 0.0f;
  float specularParamB = 0.0f;

  bool hasNormalMap = false;
  std::string normalMap;

  bool transparent = false;
  float transparency = 0.0f;

  bool hasLuminanceMap = false;
  std::string luminanceMap;

  bool hasEnvironmentMap = false;
  std::string environmentMap;

  bool hasReflectionMap = false;
  std::string reflectionMap;  // already rewritten to its .dds name

  // Borrowed from the TextureCache; null when the block's flag is false.
  ID3D11ShaderResourceView* diffuseTexture = nullptr;
  ID3D11ShaderResourceView* normalTexture = nullptr;
  ID3D11ShaderResourceView* luminanceTexture = nullptr;
  ID3D11ShaderResourceView* environmentTexture = nullptr;
  ID3D11ShaderResourceView* reflectionTexture = nullptr;
};

// The cube texture a reflection map is loaded from: up to three characters after the last
// "." become "dds" (sky.png → sky.dds, a.jpeg → a.ddsg); a name without "." is unchanged.
std::string ReflectionTextureName(const std::string& fileName);
