#pragma once
// What a compiled shader blob holds: the stage, its GLSL 4.50 source, the vertex inputs by
// semantic, and which Direct3D texture and sampler slots each GL texture unit combines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::d3d11 {

enum class ShaderStage : uint32_t { Vertex = 0, Geometry = 1, Pixel = 2 };

struct ShaderInput {
  std::string semantic;  // upper case, without the index
  uint32_t index = 0;
  uint32_t location = 0;
};

// What kind of texture a shader samples, so an empty slot can read as transparent black of
// the right kind.
enum class SampledDimension : uint8_t { Texture2D, TextureCube, Texture3D, Texture2DArray };

struct CombinedSampler {
  SampledDimension dimension = SampledDimension::Texture2D;
  uint32_t textureSlot = 0;
  int32_t samplerSlot = -1;  // -1: the texture is only loaded, never sampled
  uint32_t unit = 0;
};

struct ShaderStageCode {
  ShaderStage stage = ShaderStage::Vertex;
  std::string glsl;
  std::vector<ShaderInput> inputs;
  std::vector<CombinedSampler> samplers;
};

std::vector<uint8_t> SerializeShaderCode(const ShaderStageCode& code);
bool ParseShaderCode(const void* bytes, size_t size, ShaderStageCode* code);

// Stage interfaces meet by location; every stage derives the location from the semantic the same
// way. Returns -1 for a semantic outside the table; those get one of the derived locations.
int SemanticLocation(std::string_view upperCaseName, uint32_t index);
constexpr int kFirstDerivedLocation = 21;
constexpr int kDerivedLocations = 10;  // 21..30, below the 32 vectors GL 4.5 drivers offer

// Direct3D slots are per stage; GL binding points are shared, so each stage gets its own range.
constexpr uint32_t kBindingsPerStage = 16;
constexpr uint32_t ConstantBufferBinding(ShaderStage stage, uint32_t slot) {
  return static_cast<uint32_t>(stage) * kBindingsPerStage + slot;
}
constexpr uint32_t TextureUnitBase(ShaderStage stage) { return static_cast<uint32_t>(stage) * kBindingsPerStage; }

}  // namespace platform::d3d11
