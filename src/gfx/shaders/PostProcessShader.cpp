#include "gfx/shaders/PostProcessShader.h"

#include <algorithm>
#include <cstring>
#include <new>

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
  return effectArray != nullptr;
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
  const size_t entries = static_cast<size_t>(std::clamp<int32_t>(parameters->entryCount, 0, kArrayEntries));
  const float* source = effectArray.get();
  if (!WriteConstantBuffer(context, arrayBuffer,
                           [&](void* data) { std::memcpy(data, source, entries * 4 * sizeof(float)); })) {
    return false;
  }
  context->PSSetConstantBuffers(1, 1, &arrayBuffer);
  context->PSSetShaderResources(0, 1, &texture);
  return true;
}

void PostProcessShader::Render(UINT indexCount) {
  context->PSSetSamplers(0, 1, &wrapSampler);
  context->PSSetSamplers(1, 1, &clampSampler);
  DrawScreenQuad(*this, indexCount);
}

void PostProcessShader::Shutdown() {
  effectArray.reset();
  ReleaseAndForget(arrayBuffer);
  ReleaseAndForget(effectBuffer);
  ReleaseProgram();
}
