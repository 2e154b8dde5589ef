#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include <shaderc/shaderc.hpp>
#include <spirv_cross/spirv_glsl.hpp>

#include "platform/d3d11/shader_code.h"
#include "platform/d3dx/d3dcompiler.h"
#include "platform/d3dx/d3dx11async.h"
#include "platform/d3dx/shader_cache.h"

namespace {

using platform::d3d11::CombinedSampler;
using platform::d3d11::ShaderInput;
using platform::d3d11::ShaderStage;
using platform::d3d11::ShaderStageCode;

bool ReadWholeFile(const char* path, std::string* text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream contents;
  contents << file.rdbuf();
  if (file.bad()) return false;
  *text = contents.str();
  return true;
}

bool StageOfProfile(std::string_view profile, ShaderStage* stage, shaderc_shader_kind* kind) {
  if (profile == "vs_5_0") {
    *stage = ShaderStage::Vertex;
    *kind = shaderc_vertex_shader;
  } else if (profile == "gs_5_0") {
    *stage = ShaderStage::Geometry;
    *kind = shaderc_geometry_shader;
  } else if (profile == "ps_5_0") {
    *stage = ShaderStage::Pixel;
    *kind = shaderc_fragment_shader;
  } else {
    return false;
  }
  return true;
}

// "TEXCOORD3" → ("TEXCOORD", 3); names are compared in upper case like Direct3D does.
void SplitSemantic(const std::string& semantic, std::string* name, uint32_t* index) {
  size_t digits = semantic.size();
  while (digits > 0 && semantic[digits - 1] >= '0' && semantic[digits - 1] <= '9') --digits;
  name->clear();
  for (size_t i = 0; i < digits; ++i) {
    const char c = semantic[i];
    name->push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
  }
  *index = digits < semantic.size() ? static_cast<uint32_t>(std::stoul(semantic.substr(digits))) : 0;
}

// Vertex inputs meet the input layout by semantic (CreateInputLayout reads the recorded pairs),
// so their locations are simply this shader's own, counted from 0.
bool AssignVertexInputLocations(spirv_cross::CompilerGLSL& glsl,
                                const spirv_cross::SmallVector<spirv_cross::Resource>& variables,
                                ShaderStageCode* code, std::string* error) {
  uint32_t next = 0;
  for (const spirv_cross::Resource& variable : variables) {
    const std::string& semantic = glsl.get_decoration_string(variable.id, spv::DecorationUserSemantic);
    std::string name;
    uint32_t index = 0;
    SplitSemantic(semantic, &name, &index);
    if (name.empty()) {
      *error = "vertex input '" + variable.name + "' has no semantic";
      return false;
    }
    glsl.set_decoration(variable.id, spv::DecorationLocation, next);
    code->inputs.push_back({name, index, next});
    ++next;
  }
  return true;
}

// Stages meet by semantic: a semantic names the same location in every stage. Semantics outside
// the fixed table get one derived from their name; two variables of one interface that land on
// the same location are a compile error rather than a silent mix-up.
bool AssignInterfaceLocations(spirv_cross::CompilerGLSL& glsl,
                              const spirv_cross::SmallVector<spirv_cross::Resource>& variables, std::string* error) {
  std::vector<std::pair<uint32_t, std::string>> used;
  for (const spirv_cross::Resource& variable : variables) {
    const std::string& semantic = glsl.get_decoration_string(variable.id, spv::DecorationUserSemantic);
    std::string name;
    uint32_t index = 0;
    SplitSemantic(semantic, &name, &index);
    if (name.empty() || name.rfind("SV_", 0) == 0) continue;
    int location = platform::d3d11::SemanticLocation(name, index);
    if (location < 0) {
      uint32_t hash = 2166136261u;
      for (char c : name) hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
      location = platform::d3d11::kFirstDerivedLocation +
                 static_cast<int>((hash + index) % platform::d3d11::kDerivedLocations);
    }
    for (const auto& [taken, other] : used) {
      if (taken == static_cast<uint32_t>(location)) {
        *error = "semantics '" + other + "' and '" + semantic + "' share interface location " +
                 std::to_string(location) + "; rename one";
        return false;
      }
    }
    used.emplace_back(static_cast<uint32_t>(location), semantic);
    glsl.set_decoration(variable.id, spv::DecorationLocation, static_cast<uint32_t>(location));
  }
  return true;
}

// Direct3D's constant-buffer packing: members fill 16-byte registers in order, a vector never
// straddles two registers, arrays, matrices and structures start a register and every array
// element takes one (or more) whole registers.
struct HlslPlacement {
  uint32_t size = 0;
  bool startsRegister = false;
};

uint32_t RoundUpToRegister(uint32_t bytes) { return (bytes + 15u) & ~15u; }

bool CheckHlslPacking(const spirv_cross::CompilerGLSL& glsl, const spirv_cross::SPIRType& block,
                      const std::string& blockName, uint32_t* end, std::string* error);

HlslPlacement PlaceMember(const spirv_cross::CompilerGLSL& glsl, const spirv_cross::SPIRType& structType,
                          uint32_t index, const spirv_cross::SPIRType& type, const std::string& blockName,
                          std::string* error) {
  HlslPlacement placement;
  if (!type.array.empty()) {
    uint32_t count = 1;
    for (uint32_t dimension : type.array) count *= dimension;
    spirv_cross::SPIRType element = type;
    element.array.clear();
    element.array_size_literal.clear();
    const HlslPlacement one = PlaceMember(glsl, structType, index, element, blockName, error);
    placement.size = RoundUpToRegister(one.size) * (count - 1) + one.size;
    placement.startsRegister = true;
    return placement;
  }
  if (type.basetype == spirv_cross::SPIRType::Struct) {
    uint32_t size = 0;
    CheckHlslPacking(glsl, type, blockName, &size, error);
    placement.size = RoundUpToRegister(size);
    placement.startsRegister = true;
    return placement;
  }
  const uint32_t component = type.width / 8;
  if (type.columns > 1) {
    const bool rowMajor = glsl.has_member_decoration(structType.self, index, spv::DecorationRowMajor);
    const uint32_t registers = rowMajor ? type.vecsize : type.columns;
    const uint32_t perRegister = rowMajor ? type.columns : type.vecsize;
    placement.size = 16 * (registers - 1) + perRegister * component;
    placement.startsRegister = true;
    return placement;
  }
  placement.size = type.vecsize * component;
  return placement;
}

bool CheckHlslPacking(const spirv_cross::CompilerGLSL& glsl, const spirv_cross::SPIRType& block,
                      const std::string& blockName, uint32_t* end, std::string* error) {
  uint32_t offset = 0;
  for (uint32_t i = 0; i < block.member_types.size(); ++i) {
    const spirv_cross::SPIRType& member = glsl.get_type(block.member_types[i]);
    const HlslPlacement placement = PlaceMember(glsl, block, i, member, blockName, error);
    if (placement.startsRegister || (offset % 16) + placement.size > 16) offset = RoundUpToRegister(offset);
    const uint32_t actual = glsl.type_struct_member_offset(block, i);
    if (actual != offset && error->empty()) {
      *error = "constant buffer '" + blockName + "' member '" + glsl.get_member_name(block.self, i) +
               "' would be read at byte " + std::to_string(actual) + " instead of Direct3D's byte " +
               std::to_string(offset) + "; group such members into float4 registers";
    }
    offset += placement.size;
  }
  *end = offset;
  return error->empty();
}

bool CrossCompile(std::vector<uint32_t> spirv, ShaderStage stage, ShaderStageCode* code, std::string* error) {
  spirv_cross::CompilerGLSL glsl(std::move(spirv));
  const spirv_cross::ShaderResources resources = glsl.get_shader_resources();

  for (const spirv_cross::Resource& buffer : resources.uniform_buffers) {
    const uint32_t slot = glsl.get_decoration(buffer.id, spv::DecorationBinding);
    if (slot >= platform::d3d11::kBindingsPerStage) {
      *error = "constant buffer '" + buffer.name + "' uses a register beyond b15";
      return false;
    }
    glsl.set_decoration(buffer.id, spv::DecorationBinding, platform::d3d11::ConstantBufferBinding(stage, slot));
    glsl.unset_decoration(buffer.id, spv::DecorationDescriptorSet);
    // The C++ side writes Direct3D's offsets; a member GL would read elsewhere is a compile error.
    uint32_t end = 0;
    const std::string blockName = glsl.get_name(buffer.base_type_id).empty() ? buffer.name : glsl.get_name(buffer.base_type_id);
    if (!CheckHlslPacking(glsl, glsl.get_type(buffer.base_type_id), blockName, &end, error)) return false;
  }

  // GLSL samples through combined samplers: one GL texture unit per (texture, sampler) pair.
  const spirv_cross::VariableID dummySampler = glsl.build_dummy_sampler_for_combined_images();
  glsl.build_combined_image_samplers();
  uint32_t unit = platform::d3d11::TextureUnitBase(stage);
  for (const spirv_cross::CombinedImageSampler& pair : glsl.get_combined_image_samplers()) {
    CombinedSampler combined;
    const spirv_cross::SPIRType::ImageType& image = glsl.get_type_from_variable(pair.image_id).image;
    combined.dimension = image.dim == spv::DimCube ? platform::d3d11::SampledDimension::TextureCube
                         : image.dim == spv::Dim3D ? platform::d3d11::SampledDimension::Texture3D
                         : image.arrayed        ? platform::d3d11::SampledDimension::Texture2DArray
                                                : platform::d3d11::SampledDimension::Texture2D;
    combined.textureSlot = glsl.get_decoration(pair.image_id, spv::DecorationBinding);
    combined.samplerSlot = pair.sampler_id == dummySampler
                               ? -1
                               : static_cast<int32_t>(glsl.get_decoration(pair.sampler_id, spv::DecorationBinding));
    combined.unit = unit++;
    if (combined.unit >= platform::d3d11::TextureUnitBase(stage) + platform::d3d11::kBindingsPerStage) {
      *error = "more than 16 texture and sampler pairs in one stage";
      return false;
    }
    glsl.set_decoration(pair.combined_id, spv::DecorationBinding, combined.unit);
    glsl.unset_decoration(pair.combined_id, spv::DecorationDescriptorSet);
    code->samplers.push_back(combined);
  }

  if (stage == ShaderStage::Vertex) {
    if (!AssignVertexInputLocations(glsl, resources.stage_inputs, code, error)) return false;
  } else if (!AssignInterfaceLocations(glsl, resources.stage_inputs, error)) {
    return false;
  }
  if (stage != ShaderStage::Pixel && !AssignInterfaceLocations(glsl, resources.stage_outputs, error)) return false;

  // Window row 0 is the top row of every target (GL_UPPER_LEFT clip control), which is where
  // GL's default lower-left fragment origin already puts SV_Position's y = 0.
  glsl.unset_execution_mode(spv::ExecutionModeOriginUpperLeft);

  spirv_cross::CompilerGLSL::Options options;
  options.version = 450;
  options.es = false;
  options.vulkan_semantics = false;
  options.separate_shader_objects = true;
  options.enable_420pack_extension = true;
  glsl.set_common_options(options);
  code->glsl = glsl.compile();
  code->stage = stage;
  return true;
}

// Everything besides the source that decides what a translation gives: the SPIR-V version of the
// HLSL compiler, and the revision of this translation (raise it when CrossCompile changes).
std::string CompilerVersion() {
  constexpr int kTranslationRevision = 1;
  unsigned int version = 0;
  unsigned int revision = 0;
  shaderc_get_spv_version(&version, &revision);
  return "shaderc-spv " + std::to_string(version) + "." + std::to_string(revision) + " translation " +
         std::to_string(kTranslationRevision);
}

// Macros up to the entry whose name is null, as D3D lists them.
bool ReadDefines(const D3D10_SHADER_MACRO* defines, std::vector<platform::d3dx::ShaderDefine>* out) {
  for (; defines != nullptr && defines->Name != nullptr; ++defines) {
    if (defines->Name[0] == '\0') return false;
    out->push_back({defines->Name, defines->Definition != nullptr ? defines->Definition : "1"});
  }
  return true;
}

HRESULT FailWithText(const std::string& text, ID3D10Blob** ppErrorMsgs) {
  if (ppErrorMsgs != nullptr) *ppErrorMsgs = ID3D10Blob::Create(text.c_str(), text.size() + 1);
  return E_FAIL;
}

// The compiler behind both entry points: source text in, this layer's shader code out.
HRESULT CompileSource(const std::string& source, const char* sourceName, const D3D10_SHADER_MACRO* pDefines,
                      LPCSTR pFunctionName, LPCSTR pProfile, ID3D10Blob** ppShader, ID3D10Blob** ppErrorMsgs) {
  std::vector<platform::d3dx::ShaderDefine> defines;
  if (!ReadDefines(pDefines, &defines)) return E_INVALIDARG;

  ShaderStage stage;
  shaderc_shader_kind kind;
  if (!StageOfProfile(pProfile, &stage, &kind)) {
    return FailWithText(std::string(sourceName) + ": error: unsupported profile '" + pProfile + "'\n", ppErrorMsgs);
  }

  // A translation already on disk skips the compilers; errors are never cached, so a broken
  // shader reports itself on every run.
  static const std::string compilerVersion = CompilerVersion();
  const std::string cacheDirectory = platform::d3dx::ShaderCacheDirectory();
  const platform::d3dx::ShaderCacheKey key =
      platform::d3dx::MakeShaderCacheKey(source, pFunctionName, pProfile, defines, compilerVersion);
  std::vector<uint8_t> cached;
  platform::d3d11::ShaderStageCode check;
  if (platform::d3dx::ReadShaderCache(cacheDirectory, key, &cached) &&
      platform::d3d11::ParseShaderCode(cached.data(), cached.size(), &check) && check.stage == stage) {
    *ppShader = ID3D10Blob::Create(cached.data(), cached.size());
    return S_OK;
  }

  static const shaderc::Compiler compiler;
  shaderc::CompileOptions options;
  options.SetSourceLanguage(shaderc_source_language_hlsl);
  options.SetTargetEnvironment(shaderc_target_env_vulkan, shaderc_env_version_vulkan_1_0);
  options.SetHlslFunctionality1(true);  // keeps the semantics, which pair stages and layouts
  options.SetHlslOffsets(true);         // keeps Direct3D's constant-buffer packing
  options.SetHlslIoMapping(true);       // register(bN/tN/sN) becomes binding N
  options.SetAutoBindUniforms(true);
  options.SetAutoMapLocations(true);
  options.SetOptimizationLevel(shaderc_optimization_level_zero);
  for (const platform::d3dx::ShaderDefine& define : defines) options.AddMacroDefinition(define.name, define.value);

  const shaderc::SpvCompilationResult spirv =
      compiler.CompileGlslToSpv(source, kind, sourceName, pFunctionName, options);
  if (spirv.GetCompilationStatus() != shaderc_compilation_status_success) {
    return FailWithText(spirv.GetErrorMessage(), ppErrorMsgs);
  }

  ShaderStageCode code;
  std::string error;
  try {
    if (!CrossCompile(std::vector<uint32_t>(spirv.cbegin(), spirv.cend()), stage, &code, &error)) {
      return FailWithText(std::string(sourceName) + ": error: " + error + "\n", ppErrorMsgs);
    }
  } catch (const spirv_cross::CompilerError& crossError) {
    return FailWithText(std::string(sourceName) + ": error: " + crossError.what() + "\n", ppErrorMsgs);
  }

  if (std::getenv("PULSAR_DUMP_GLSL") != nullptr) std::cerr << "// " << sourceName << " " << pFunctionName << "\n" << code.glsl;
  const std::vector<uint8_t> bytes = platform::d3d11::SerializeShaderCode(code);
  platform::d3dx::WriteShaderCache(cacheDirectory, key, bytes);
  *ppShader = ID3D10Blob::Create(bytes.data(), bytes.size());
  return S_OK;
}

}  // namespace

HRESULT D3DX11CompileFromFileW(const char* pSrcFile, const D3D10_SHADER_MACRO* pDefines, ID3DInclude* pInclude,
                               LPCSTR pFunctionName, LPCSTR pProfile, UINT /*Flags1*/, UINT /*Flags2*/,
                               ID3DX11ThreadPump* pPump, ID3D10Blob** ppShader, ID3D10Blob** ppErrorMsgs,
                               HRESULT* pHResult) {
  if (ppShader != nullptr) *ppShader = nullptr;
  if (ppErrorMsgs != nullptr) *ppErrorMsgs = nullptr;
  auto finish = [&](HRESULT hr) {
    if (pHResult != nullptr) *pHResult = hr;
    return hr;
  };
  if (pSrcFile == nullptr || pFunctionName == nullptr || pProfile == nullptr || ppShader == nullptr) {
    return finish(E_INVALIDARG);
  }
  if (pInclude != nullptr || pPump != nullptr) {
    std::cerr << "D3DX11CompileFromFileW: include handlers and thread pumps are not supported\n";
    return finish(E_NOTIMPL);
  }
  std::string source;
  if (!ReadWholeFile(pSrcFile, &source)) return finish(D3DX11_ERR_FILE_NOT_FOUND);
  return finish(CompileSource(source, pSrcFile, pDefines, pFunctionName, pProfile, ppShader, ppErrorMsgs));
}

HRESULT D3DCompile(const void* pSrcData, SIZE_T SrcDataSize, LPCSTR pSourceName, const D3D_SHADER_MACRO* pDefines,
                   ID3DInclude* pInclude, LPCSTR pEntrypoint, LPCSTR pTarget, UINT /*Flags1*/, UINT /*Flags2*/,
                   ID3DBlob** ppCode, ID3DBlob** ppErrorMsgs) {
  if (ppCode != nullptr) *ppCode = nullptr;
  if (ppErrorMsgs != nullptr) *ppErrorMsgs = nullptr;
  if (pSrcData == nullptr || pEntrypoint == nullptr || pTarget == nullptr || ppCode == nullptr) return E_INVALIDARG;
  if (pInclude != nullptr) {
    std::cerr << "D3DCompile: include handlers are not supported\n";
    return E_NOTIMPL;
  }
  const std::string source(static_cast<const char*>(pSrcData), SrcDataSize);
  return CompileSource(source, pSourceName != nullptr ? pSourceName : "memory", pDefines, pEntrypoint, pTarget, ppCode,
                       ppErrorMsgs);
}
