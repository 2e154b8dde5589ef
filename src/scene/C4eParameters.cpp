#include "scene/C4eParameters.h"

#include <algorithm>

#include "scene/Camera.h"
#include "scene/Environment.h"
#include "scene/Light.h"
#include "scene/Material.h"

namespace {

uint32_t AsFlag(bool value) { return value ? 1u : 0u; }

}  // namespace

C4eMaterialBufferType MakeMaterialBuffer(const Material& material) {
  C4eMaterialBufferType buffer = {};
  buffer.diffuseValue = material.hasDiffuse ? material.diffuseValue : 0.0f;
  buffer.hasDiffuseMap = AsFlag(material.hasDiffuseMap);
  if (material.hasDiffuseMap) {
    buffer.diffuseMapParamA = material.diffuseMapParamA;
    buffer.diffuseMapParamB = material.diffuseMapParamB;
  }
  buffer.hasSpecular = AsFlag(material.hasSpecular);
  if (material.hasSpecular) {
    buffer.specularColor[0] = material.specularColor.r;
    buffer.specularColor[1] = material.specularColor.g;
    buffer.specularColor[2] = material.specularColor.b;
    buffer.specularParamA = material.specularParamA;
    buffer.specularPower = 100.0f - 100.0f * material.specularParamB;
  }
  buffer.hasNormalMap = AsFlag(material.hasNormalMap);
  buffer.transparent = AsFlag(material.transparent);
  if (material.transparent) buffer.opacity = 1.0f - material.transparency;
  buffer.hasLuminanceMap = AsFlag(material.hasLuminanceMap);
  buffer.hasEnvironmentMap = AsFlag(material.hasEnvironmentMap);
  buffer.hasReflectionMap = AsFlag(material.hasReflectionMap);
  return buffer;
}

C4eLightsBufferType MakeLightsBuffer(const Environment& environment,
                                     const std::vector<std::unique_ptr<Light>>& lights, bool shaderFlag) {
  C4eLightsBufferType buffer = {};
  buffer.ambient[0] = environment.ambientColor.r;
  buffer.ambient[1] = environment.ambientColor.g;
  buffer.ambient[2] = environment.ambientColor.b;
  buffer.ambient[3] = 1.0f;
  buffer.environment[0] = environment.environmentValue;
  const size_t count = std::min<size_t>(lights.size(), C4eLightsBufferType::kMaxLights);
  buffer.lightCount = static_cast<int32_t>(count);
  for (size_t i = 0; i < count; ++i) {
    const Light& light = *lights[i];
    buffer.listed[i][0] = light.listed ? 1.0f : 0.0f;
    buffer.listed[i][3] = static_cast<float>(light.type);
    buffer.position[i][0] = light.position.x;
    buffer.position[i][1] = light.position.y;
    buffer.position[i][2] = light.position.z;
    buffer.color[i][0] = light.color.r;
    buffer.color[i][1] = light.color.g;
    buffer.color[i][2] = light.color.b;
    buffer.multiplier[i][3] = light.multiplier;
    buffer.direction[i][0] = light.direction.x;
    buffer.direction[i][1] = light.direction.y;
    buffer.direction[i][2] = light.direction.z;
    buffer.terms[i][0] = light.lightTerms[0];
    buffer.terms[i][1] = light.lightTerms[1];
    buffer.terms[i][2] = light.lightTerms[2];
    buffer.terms[i][3] = light.shaderParamA;
    buffer.paramB[i][3] = light.shaderParamB * 10.0f;
  }
  buffer.flag = AsFlag(shaderFlag);
  return buffer;
}

C4eEyeBufferType MakeEyeBuffer(const Camera& camera) {
  return C4eEyeBufferType{camera.position.x, camera.position.y, camera.position.z, 0.0f};
}

D3DXMATRIX RolledAndShakenView(const D3DXMATRIX& cameraView, float rollAngle, const D3DXVECTOR3& shakeOffset) {
  D3DXMATRIX roll, shake, view;
  D3DXMatrixRotationZ(&roll, rollAngle);
  D3DXMatrixTranslation(&shake, shakeOffset.x, shakeOffset.y, shakeOffset.z);
  D3DXMatrixMultiply(&view, &cameraView, &roll);
  D3DXMatrixMultiply(&view, &view, &shake);
  return view;
}

void ComputeLightMatrices(Light* light, float shadowNear, float shadowFar) {
  const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
  D3DXMatrixLookAtLH(&light->lightView, &light->position, &light->direction, &up);
  D3DXMatrixPerspectiveFovLH(&light->lightProjection, 0.785398185f, 1.0f, shadowNear, shadowFar);
}
