#pragma once
// The program behind every screen quad: one effect number per draw, the show time, the audio
// level and an array of up to 4,096 four-float entries that the glitch fills.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/shaders/PixelShaderVariants.h"
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

// The effect numbers the show draws with, each compiled as a program of its own: 0 (every
// copy, fade, caption and composition), 13 (the bloom's bright pass) and the ten scene looks.
inline constexpr std::array<int32_t, 12> kSpecialisedEffects = {0, 13, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109};

class PostProcessShader : public ShaderProgram {
 public:
  static constexpr UINT kArrayEntries = 4096;
  static constexpr UINT kArrayBytes = kArrayEntries * 16;

  ID3D11Buffer* effectBuffer = nullptr;
  ID3D11Buffer* arrayBuffer = nullptr;
  std::unique_ptr<float[]> effectArray;  // kArrayEntries × 4 floats, written by the glitch
  float audioLevel = 0.0f;

  // pixelShader is the general program; variants holds kSpecialisedEffects, each alone, keyed
  // by its number. Off: every draw goes through the general program.
  PixelShaderVariants variants;
  bool useVariants = true;

  // The general program at once; the variants are translated on a thread of their own (or read
  // from the shader cache), so start-up does not wait for them. Until they are there, draws
  // use the general program, which gives the same pixels.
  bool Initialize();
  // Waits for the variants' translation and creates them; false when one could not be made
  // (that effect then stays with the general program).
  bool WaitForVariants() { return variants.WaitForAll(); }
  // The pixel shader a draw with this effect number runs; picks up finished variants.
  ID3D11PixelShader* PixelShaderFor(int32_t effect);
  bool SetShaderParameters(const D3DXMATRIX& world, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                           ID3D11ShaderResourceView* texture, const PostProcessParameters* parameters);
  void Render(UINT indexCount);
  void Shutdown();

 private:
  // Writes the array only when the entries asked for differ from what the buffer holds: the
  // glitch changes it once a frame, while a frame draws the program dozens of times.
  bool UploadEffectArray(int32_t entryCount);

  ID3D11PixelShader* m_drawShader = nullptr;
  std::unique_ptr<float[]> m_uploadedArray;  // what arrayBuffer holds, its first m_uploadedEntries
  int32_t m_uploadedEntries = -1;            // -1: nothing written yet
};
