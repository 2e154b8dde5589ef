#include "gfx/shaders/C4eShader.h"

#include <algorithm>
#include <string>

#include "app/DataDirectory.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/shaders/ConstantBuffer.h"
#include "gfx/shaders/ScreenQuadDraw.h"

namespace {

// 72-byte mesh vertex.
const D3D11_INPUT_ELEMENT_DESC kMeshLayout[6] = {
    {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"NORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"COLOR", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"TANGENT", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"BINORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
};

constexpr uint32_t kMaterialBits = 7;
constexpr uint32_t kShadowBit = 1u << 7;
constexpr uint32_t kCountShift = 8;
constexpr uint32_t kKindShift = 12;

}  // namespace

uint32_t C4eProgramKey(const C4eMaterialBufferType& material, const C4eLightsBufferType& lights) {
  const uint32_t switches[kMaterialBits] = {material.hasDiffuseMap,   material.hasSpecular,       material.hasNormalMap,
                                            material.transparent,     material.hasLuminanceMap,   material.hasEnvironmentMap,
                                            material.hasReflectionMap};
  uint32_t key = 0;
  for (uint32_t bit = 0; bit < kMaterialBits; ++bit) key |= switches[bit] != 0 ? 1u << bit : 0u;
  if (lights.flag != 0) key |= kShadowBit;
  const int32_t count = std::clamp(lights.lightCount, 0, C4eLightsBufferType::kMaxLights);
  key |= static_cast<uint32_t>(count) << kCountShift;
  for (int32_t i = 0; i < count; ++i) {
    // The kind as the general program rounds it (compared as a float: a damaged file's number
    // may not fit an int); any other number lights as omni.
    const float rounded = lights.listed[i][3] + 0.5f;
    const uint32_t kind = rounded >= 1.0f && rounded < 2.0f ? 1u : rounded >= 2.0f && rounded < 3.0f ? 2u : 0u;
    key |= kind << (kKindShift + 2 * i);
  }
  return key;
}

PixelShaderVariants::Defines C4eProgramDefines(uint32_t key) {
  return {{"C4E_MATERIAL", std::to_string(key & ((1u << kMaterialBits) - 1))},
          {"C4E_SHADOWS", (key & kShadowBit) != 0 ? "1" : "0"},
          {"C4E_LIGHTS", std::to_string((key >> kCountShift) & 15)},
          {"C4E_LIGHT_KINDS", std::to_string(key >> kKindShift)}};
}

bool C4eShader::Initialize() {
  if (!CreateTwoStageProgram("c4e_VS.hlsl", "c4e_VS", "c4e_PS.hlsl", "c4e_PS", kMeshLayout, 6)) return false;
  PixelShaderVariants::Recipe recipe;
  recipe.path = DataPath("c4e_PS.hlsl");
  recipe.entryPoint = "c4e_PS";
  recipe.definesOf = C4eProgramDefines;
  recipe.describe = [](uint32_t key) {
    std::string text;
    for (const auto& [name, value] : C4eProgramDefines(key)) text += (text.empty() ? "" : " ") + name + "=" + value;
    return text;
  };
  variants.Configure(device, std::move(recipe));
  // The transforms buffer is larger than the common matrixBuffer: five matrices.
  ReleaseAndForget(matrixBuffer);
  return CreateConstantBuffer(device, sizeof(C4eTransformsBufferType), &matrixBuffer) &&
         CreateConstantBuffer(device, sizeof(C4eEyeBufferType), &eyeBuffer) &&
         CreateConstantBuffer(device, sizeof(C4eMaterialBufferType), &materialBuffer) &&
         CreateConstantBuffer(device, sizeof(C4eLightsBufferType), &lightsBuffer);
}

bool C4eShader::SetShaderParameters(const C4eTransformsBufferType& transforms, const C4eEyeBufferType& eye,
                                    const C4eMaterialBufferType& material, const C4eLightsBufferType& lights,
                                    ID3D11ShaderResourceView* const resources[kResourceSlots]) {
  C4eTransformsBufferType transposed;
  D3DXMatrixTranspose(&transposed.world, &transforms.world);
  D3DXMatrixTranspose(&transposed.view, &transforms.view);
  D3DXMatrixTranspose(&transposed.projection, &transforms.projection);
  D3DXMatrixTranspose(&transposed.lightView, &transforms.lightView);
  D3DXMatrixTranspose(&transposed.lightProjection, &transforms.lightProjection);
  if (!UpdateConstantBuffer(context, matrixBuffer, transposed)) return false;
  context->VSSetConstantBuffers(0, 1, &matrixBuffer);
  if (!UpdateConstantBuffer(context, eyeBuffer, eye)) return false;
  context->VSSetConstantBuffers(1, 1, &eyeBuffer);
  if (!UpdateConstantBuffer(context, materialBuffer, material)) return false;
  context->PSSetConstantBuffers(0, 1, &materialBuffer);
  if (!UpdateConstantBuffer(context, lightsBuffer, lights)) return false;
  context->PSSetConstantBuffers(1, 1, &lightsBuffer);
  context->PSSetShaderResources(0, kResourceSlots, resources);
  ID3D11PixelShader* variant = useVariants ? variants.Find(C4eProgramKey(material, lights)) : nullptr;
  m_drawShader = variant != nullptr ? variant : pixelShader;
  return true;
}

void C4eShader::Render(UINT indexCount) {
  context->IASetInputLayout(inputLayout);
  context->VSSetShader(vertexShader, nullptr, 0);
  context->PSSetShader(m_drawShader != nullptr ? m_drawShader : pixelShader, nullptr, 0);
  context->PSSetSamplers(0, 1, &wrapSampler);
  context->PSSetSamplers(1, 1, &clampSampler);
  context->DrawIndexed(indexCount, 0, 0);
}

void C4eShader::Shutdown() {
  variants.Release();
  m_drawShader = nullptr;
  ReleaseAndForget(lightsBuffer);
  ReleaseAndForget(materialBuffer);
  ReleaseAndForget(eyeBuffer);
  ReleaseProgram();
}
