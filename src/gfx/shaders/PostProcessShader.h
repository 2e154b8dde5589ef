#pragma once
// The program behind every screen quad: one effect number per draw, the show time, the audio
// level and an array of up to 4,096 four-float entries that the glitch fills.
#include <cstdint>
#include <memory>

#include "gfx/shaders/ShaderProgram.h"

// The eight values a quad hands over per draw (effectBuffer indices 0 to 7).
struct PostProcessParameters {
  int32_t effect = 0;
  int32_t hasTexture = 0;
  int32_t blend = 0;
  float alpha = 1.0f;
  int32_t overlay = 0;
  int32_t weightByVertexAlpha = 0;  // 1 only for additive layers (radial blur)
  int32_t screenWidth = 0;
  int32_t entryCount = 0;  // entries of effectArray copied into arrayBuffer
};
static_assert(sizeof(PostProcessParameters) == 32);

// The eight values in their order.
inline PostProcessParameters EffectParameters(int32_t effect, bool hasTexture, bool blend, float alpha, bool overlay,
                                              int32_t weightByVertexAlpha, int32_t screenWidth, int32_t entryCount) {
  return {effect, hasTexture ? 1 : 0, blend ? 1 : 0, alpha, overlay ? 1 : 0, weightByVertexAlpha, screenWidth, entryCount};
}

// effectBuffer: the eight parameters, the show time, the audio level and two zeros (48 bytes).
struct PostProcessEffectBufferType {
  PostProcessParameters parameters;
  int32_t time;
  float audioLevel;
  int32_t padding[2];
};
static_assert(sizeof(PostProcessEffectBufferType) == 48);

class PostProcessShader : public ShaderProgram {
 public:
  static constexpr UINT kArrayEntries = 4096;
  static constexpr UINT kArrayBytes = kArrayEntries * 16;

  ID3D11Buffer* effectBuffer = nullptr;
  ID3D11Buffer* arrayBuffer = nullptr;
  std::unique_ptr<float[]> effectArray;  // kArrayEntries × 4 floats, written by the glitch
  float audioLevel = 0.0f;

  bool Initialize();
  bool SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                           ID3D11ShaderResourceView* texture, const PostProcessParameters* parameters);
  void Render(UINT indexCount);
  void Shutdown();
};
