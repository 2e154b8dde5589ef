#include "gfx/shaders/PostProcessShader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "app/DataDirectory.h"
#include "app/Timer.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/shaders/ConstantBuffer.h"
#include "gfx/shaders/ScreenQuadDraw.h"

bool PostProcessShader::Initialize() {
  if (!CreateTwoStageProgram("postprocess_VS.hlsl", "PostProcess_VS", "postprocess_PS.hlsl", "PostProcess_PS",
                             kQuadVertexLayout, 3)) {
    return false;
  }
  if (!CreateConstantBuffer(device, sizeof(PostProcessEffectBufferType), &effectBuffer)) return false;
  if (!CreateConstantBuffer(device, kArrayBytes, &arrayBuffer)) return false;
  effectArray.reset(new (std::nothrow) float[kArrayEntries * 4]());
  m_uploadedArray.reset(new (std::nothrow) float[kArrayEntries * 4]());
  m_uploadedEntries = -1;
  if (effectArray == nullptr || m_uploadedArray == nullptr) return false;
  PixelShaderVariants::Recipe recipe;
  recipe.path = DataPath("postprocess_PS.hlsl");
  recipe.entryPoint = "PostProcess_PS";
  recipe.definesOf = [](uint32_t effect) {
    return PixelShaderVariants::Defines{{"FIXED_EFFECT", std::to_string(effect)}};
  };
  recipe.describe = [](uint32_t effect) { return "effect " + std::to_string(effect); };
  variants.Configure(device, std::move(recipe));
  for (int32_t effect : kSpecialisedEffects) variants.Request(static_cast<uint32_t>(effect));
  return true;
}

ID3D11PixelShader* PostProcessShader::PixelShaderFor(int32_t effect) {
  if (useVariants && std::find(kSpecialisedEffects.begin(), kSpecialisedEffects.end(), effect) !=
                         kSpecialisedEffects.end()) {
    if (ID3D11PixelShader* variant = variants.Find(static_cast<uint32_t>(effect))) return variant;
  }
  return pixelShader;
}

bool PostProcessShader::UploadEffectArray(int32_t entryCount) {
  const size_t entries = static_cast<size_t>(std::clamp<int32_t>(entryCount, 0, kArrayEntries));
  const size_t bytes = entries * 4 * sizeof(float);
  const float* source = effectArray.get();
  // Fewer entries than the buffer holds are fine too: the shader reads only the first ones.
  if (m_uploadedEntries >= static_cast<int32_t>(entries) && std::memcmp(m_uploadedArray.get(), source, bytes) == 0) {
    return true;
  }
  if (!WriteConstantBuffer(context, arrayBuffer, [&](void* data) { std::memcpy(data, source, bytes); })) {
    m_uploadedEntries = -1;
    return false;
  }
  std::memcpy(m_uploadedArray.get(), source, bytes);
  m_uploadedEntries = static_cast<int32_t>(entries);
  return true;
}

bool PostProcessShader::SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view,
                                            const D3DXMATRIX& projection, ID3D11ShaderResourceView* texture,
                                            const PostProcessParameters* parameters) {
  if (!WriteMatrixBuffer(world, view, projection)) return false;
  context->VSSetConstantBuffers(0, 1, &matrixBuffer);

  PostProcessEffectBufferType effect{};
  effect.parameters = *parameters;
  effect.time = static_cast<int32_t>(static_cast<uint32_t>(timer != nullptr ? timer->elapsed : 0));
  effect.audioLevel = audioLevel;
  if (!UpdateConstantBuffer(context, effectBuffer, effect)) return false;
  context->PSSetConstantBuffers(0, 1, &effectBuffer);

  // Only the entries asked for are copied; a count beyond the array would read past it.
  if (!UploadEffectArray(parameters->entryCount)) return false;
  context->PSSetConstantBuffers(1, 1, &arrayBuffer);
  m_drawShader = PixelShaderFor(parameters->effect);
  context->PSSetShaderResources(0, 1, &texture);
  return true;
}

void PostProcessShader::Render(UINT indexCount) {
  context->PSSetSamplers(0, 1, &wrapSampler);
  context->PSSetSamplers(1, 1, &clampSampler);
  DrawScreenQuad(*this, indexCount, m_drawShader);
}

void PostProcessShader::Shutdown() {
  variants.Release();
  m_drawShader = nullptr;
  m_uploadedArray.reset();
  m_uploadedEntries = -1;
  effectArray.reset();
  ReleaseAndForget(arrayBuffer);
  ReleaseAndForget(effectBuffer);
  ReleaseProgram();
}
