#include "platform/d3d11/shader_code.h"

#include <cstring>

namespace platform::d3d11 {
namespace {

constexpr char kMagic[4] = {'P', 'L', 'S', 'B'};
constexpr uint32_t kVersion = 1;

class Writer {
 public:
  void U32(uint32_t value) { Bytes(&value, sizeof value); }
  void String(const std::string& text) {
    U32(static_cast<uint32_t>(text.size()));
    Bytes(text.data(), text.size());
  }
  void Bytes(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    m_out.insert(m_out.end(), p, p + size);
  }
  std::vector<uint8_t> Take() { return std::move(m_out); }

 private:
  std::vector<uint8_t> m_out;
};

class Reader {
 public:
  Reader(const void* bytes, size_t size) : m_p(static_cast<const uint8_t*>(bytes)), m_left(size) {}
  bool U32(uint32_t* value) { return Bytes(value, sizeof *value); }
  bool String(std::string* text) {
    uint32_t size = 0;
    if (!U32(&size) || size > m_left) return false;
    text->assign(reinterpret_cast<const char*>(m_p), size);
    m_p += size;
    m_left -= size;
    return true;
  }
  bool Bytes(void* out, size_t size) {
    if (size > m_left) return false;
    std::memcpy(out, m_p, size);
    m_p += size;
    m_left -= size;
    return true;
  }
  bool AtEnd() const { return m_left == 0; }

 private:
  const uint8_t* m_p;
  size_t m_left;
};

}  // namespace

std::vector<uint8_t> SerializeShaderCode(const ShaderStageCode& code) {
  Writer out;
  out.Bytes(kMagic, sizeof kMagic);
  out.U32(kVersion);
  out.U32(static_cast<uint32_t>(code.stage));
  out.U32(static_cast<uint32_t>(code.inputs.size()));
  for (const ShaderInput& input : code.inputs) {
    out.String(input.semantic);
    out.U32(input.index);
    out.U32(input.location);
  }
  out.U32(static_cast<uint32_t>(code.samplers.size()));
  for (const CombinedSampler& sampler : code.samplers) {
    out.U32(sampler.textureSlot);
    out.U32(static_cast<uint32_t>(sampler.samplerSlot));
    out.U32(sampler.unit);
  }
  out.String(code.glsl);
  return out.Take();
}

bool ParseShaderCode(const void* bytes, size_t size, ShaderStageCode* code) {
  if (bytes == nullptr) return false;
  Reader in(bytes, size);
  char magic[4];
  uint32_t version = 0, stage = 0, count = 0;
  if (!in.Bytes(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0) return false;
  if (!in.U32(&version) || version != kVersion) return false;
  if (!in.U32(&stage) || stage > static_cast<uint32_t>(ShaderStage::Pixel)) return false;
  code->stage = static_cast<ShaderStage>(stage);
  if (!in.U32(&count) || count > 64) return false;
  code->inputs.resize(count);
  for (ShaderInput& input : code->inputs) {
    if (!in.String(&input.semantic) || !in.U32(&input.index) || !in.U32(&input.location)) return false;
  }
  if (!in.U32(&count) || count > 64) return false;
  code->samplers.resize(count);
  for (CombinedSampler& sampler : code->samplers) {
    uint32_t samplerSlot = 0;
    if (!in.U32(&sampler.textureSlot) || !in.U32(&samplerSlot) || !in.U32(&sampler.unit)) return false;
    sampler.samplerSlot = static_cast<int32_t>(samplerSlot);
  }
  return in.String(&code->glsl) && in.AtEnd();
}

int SemanticLocation(std::string_view name, uint32_t index) {
  struct Range {
    std::string_view name;
    int first;
    int count;
  };
  // Fixed so that a vertex shader's outputs and a pixel shader's inputs always agree.
  static constexpr Range kRanges[] = {
      {"POSITION", 0, 2}, {"NORMAL", 2, 1},   {"COLOR", 3, 2},       {"TEXCOORD", 5, 8},
      {"TANGENT", 13, 1}, {"BINORMAL", 14, 1}, {"SIZE", 15, 1},      {"PSIZE", 16, 1},
      {"BLENDWEIGHT", 17, 1}, {"BLENDINDICES", 18, 1}, {"FOG", 19, 1}, {"DEPTH", 20, 1},
  };
  for (const Range& range : kRanges) {
    if (range.name == name) {
      return index < static_cast<uint32_t>(range.count) ? range.first + static_cast<int>(index) : -1;
    }
  }
  return -1;
}

}  // namespace platform::d3d11
