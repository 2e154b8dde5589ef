#pragma once
// Translated shaders kept on disk between runs: HLSL → SPIR-V → GLSL costs tens of
// milliseconds a stage, and the show compiles one post-processing variant per effect.
// An entry is found by a key over everything the translation depends on (source text, entry
// point, profile, macros, compiler versions); a file that is short, damaged or written for
// another key is ignored and replaced, so a bad cache only costs a compile.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::d3dx {

struct ShaderCacheKey {
  uint64_t low = 0;
  uint64_t high = 0;
  bool operator==(const ShaderCacheKey&) const = default;
};

// One macro as the compiler sees it.
struct ShaderDefine {
  std::string name;
  std::string value;
};

// Both halves are FNV-1a over the same fields (with different seeds), each field length-prefixed
// so that ("ab", "c") and ("a", "bc") differ.
ShaderCacheKey MakeShaderCacheKey(std::string_view source, std::string_view entryPoint, std::string_view profile,
                                  const std::vector<ShaderDefine>& defines, std::string_view compilerVersion);

// $PULSAR_SHADER_CACHE when set (empty turns the cache off), else $XDG_CACHE_HOME/pulsar/shaders,
// else $HOME/.cache/pulsar/shaders; empty when none of them is known.
std::string ShaderCacheDirectory();

// Reads the entry for key from directory; false when it is missing or not a sound entry.
bool ReadShaderCache(const std::string& directory, const ShaderCacheKey& key, std::vector<uint8_t>* bytes);

// Writes the entry through a temporary file and a rename, so a reader never sees half of one;
// false when the directory cannot be made or written (the show then simply compiles again).
bool WriteShaderCache(const std::string& directory, const ShaderCacheKey& key, const std::vector<uint8_t>& bytes);

// The file that holds key's entry.
std::string ShaderCachePath(const std::string& directory, const ShaderCacheKey& key);

}  // namespace platform::d3dx
