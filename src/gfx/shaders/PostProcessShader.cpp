#include "gfx/shaders/PostProcessShader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "app/DataDirectory.h"
#include "app/Timer.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/shaders/ConstantBuffer.h"
#include "gfx/shaders/ScreenQuadDraw.h"
#include "platform/d3dx/d3dx11async.h"

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
  // The translation touches no GL object; creating the shaders waits for the drawing thread.
  m_variantJob = std::async(std::launch::async, [path = DataPath("postprocess_PS.hlsl")] {
    std::vector<VariantCode> translated(kSpecialisedEffects.size());
    for (size_t i = 0; i < kSpecialisedEffects.size(); ++i) {
      const std::string number = std::to_string(kSpecialisedEffects[i]);
      const D3D10_SHADER_MACRO defines[] = {{"FIXED_EFFECT", number.c_str()}, {nullptr, nullptr}};
      ID3D10Blob* blob = nullptr;
      ID3D10Blob* errors = nullptr;
      if (SUCCEEDED(D3DX11CompileFromFileW(path.c_str(), defines, nullptr, "PostProcess_PS", "ps_5_0", 0, 0, nullptr,
                                           &blob, &errors, nullptr))) {
        const auto* bytes = static_cast<const uint8_t*>(blob->GetBufferPointer());
        translated[i].code.assign(bytes, bytes + blob->GetBufferSize());
      } else {
        translated[i].error = errors != nullptr ? static_cast<const char*>(errors->GetBufferPointer()) : path;
      }
      ReleaseAndForget(blob);
      ReleaseAndForget(errors);
    }
    return translated;
  });
  return true;
}

bool PostProcessShader::CreateVariants(const std::vector<VariantCode>& translated) {
  bool all = true;
  for (size_t i = 0; i < translated.size() && i < variants.size(); ++i) {
    const VariantCode& variant = translated[i];
    if (variant.code.empty() ||
        FAILED(device->CreatePixelShader(variant.code.data(), variant.code.size(), nullptr, &variants[i]))) {
      // The general program draws this effect with the same result; only its speed is lost.
      std::fprintf(stderr, "postprocess_PS.hlsl: no program of its own for effect %d: %s\n",
                   static_cast<int>(kSpecialisedEffects[i]), variant.error.c_str());
      all = false;
    }
  }
  return all;
}

bool PostProcessShader::WaitForVariants() {
  if (!m_variantJob.valid()) return std::find(variants.begin(), variants.end(), nullptr) == variants.end();
  return CreateVariants(m_variantJob.get());
}

ID3D11PixelShader* PostProcessShader::PixelShaderFor(int32_t effect) {
  if (m_variantJob.valid() && m_variantJob.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
    CreateVariants(m_variantJob.get());
  }
  if (useVariants) {
    for (size_t i = 0; i < kSpecialisedEffects.size(); ++i) {
      if (kSpecialisedEffects[i] == effect && variants[i] != nullptr) return variants[i];
    }
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
  // A translation under way cannot be stopped; it reads a path it holds a copy of.
  if (m_variantJob.valid()) m_variantJob.wait();
  m_variantJob = {};
  m_drawShader = nullptr;
  for (ID3D11PixelShader*& variant : variants) ReleaseAndForget(variant);
  m_uploadedArray.reset();
  m_uploadedEntries = -1;
  effectArray.reset();
  ReleaseAndForget(arrayBuffer);
  ReleaseAndForget(effectBuffer);
  ReleaseProgram();
}
