// Translated shaders kept between runs: the key covers source, entry, profile, macros and
// compiler; a changed source or macro misses, a damaged file is ignored and written anew.
#include <gtest/gtest.h>

#include <cstring>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/d3d11/shader_code.h"
#include "platform/d3dx/d3dcompiler.h"
#include "platform/d3dx/d3dx11async.h"
#include "platform/d3dx/shader_cache.h"
#include "support/TempDirectory.h"

namespace {

namespace fs = std::filesystem;
using platform::d3dx::MakeShaderCacheKey;
using platform::d3dx::ShaderCacheKey;
using platform::d3dx::ShaderDefine;

const char* kSource = R"(
float4 Main(float4 position : SV_POSITION) : SV_TARGET
{
#ifdef SHADE
    return float4(SHADE, 0.25f, 0.5f, 1.0f);
#else
    return float4(0.75f, 0.25f, 0.5f, 1.0f);
#endif
}
)";

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class ShaderCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cache = directory.path() / "cache";
    source = directory.path() / "shade_PS.hlsl";
    WriteSource(kSource);
    const char* previous = std::getenv("PULSAR_SHADER_CACHE");
    hadPrevious = previous != nullptr;
    if (hadPrevious) previousValue = previous;
    setenv("PULSAR_SHADER_CACHE", cache.c_str(), 1);
  }
  void TearDown() override {
    if (hadPrevious) {
      setenv("PULSAR_SHADER_CACHE", previousValue.c_str(), 1);
    } else {
      unsetenv("PULSAR_SHADER_CACHE");
    }
  }

  void WriteSource(const std::string& text) {
    std::ofstream file(source, std::ios::trunc);
    file << text;
  }

  // The translated GLSL, or "error: ..." with the compiler's text.
  std::string Compile(const D3D10_SHADER_MACRO* defines = nullptr) {
    ID3D10Blob* blob = nullptr;
    ID3D10Blob* errors = nullptr;
    const HRESULT hr = D3DX11CompileFromFileW(source.c_str(), defines, nullptr, "Main", "ps_5_0", 0, 0, nullptr, &blob,
                                              &errors, nullptr);
    std::string result;
    if (FAILED(hr)) {
      result = "error: " + (errors != nullptr ? std::string(static_cast<const char*>(errors->GetBufferPointer())) : "");
    } else {
      platform::d3d11::ShaderStageCode code;
      result = platform::d3d11::ParseShaderCode(blob->GetBufferPointer(), blob->GetBufferSize(), &code)
                   ? code.glsl
                   : "error: unreadable blob";
    }
    if (blob != nullptr) blob->Release();
    if (errors != nullptr) errors->Release();
    return result;
  }

  std::vector<fs::path> Entries() const {
    std::vector<fs::path> entries;
    if (!fs::exists(cache)) return entries;
    for (const auto& entry : fs::directory_iterator(cache)) entries.push_back(entry.path());
    return entries;
  }

  TempDirectory directory;
  fs::path cache;
  fs::path source;
  bool hadPrevious = false;
  std::string previousValue;
};

TEST(ShaderCacheKey, EveryFieldAndItsBoundaryCounts) {
  const std::vector<ShaderDefine> none;
  const ShaderCacheKey base = MakeShaderCacheKey("source", "Main", "ps_5_0", none, "compiler 1");
  EXPECT_EQ(base, MakeShaderCacheKey("source", "Main", "ps_5_0", none, "compiler 1"));
  EXPECT_NE(base, MakeShaderCacheKey("source ", "Main", "ps_5_0", none, "compiler 1"));
  EXPECT_NE(base, MakeShaderCacheKey("source", "Other", "ps_5_0", none, "compiler 1"));
  EXPECT_NE(base, MakeShaderCacheKey("source", "Main", "vs_5_0", none, "compiler 1"));
  EXPECT_NE(base, MakeShaderCacheKey("source", "Main", "ps_5_0", none, "compiler 2"));
  const ShaderCacheKey thirteen = MakeShaderCacheKey("source", "Main", "ps_5_0", {{"FIXED_EFFECT", "13"}}, "compiler 1");
  EXPECT_NE(base, thirteen);
  EXPECT_NE(thirteen, MakeShaderCacheKey("source", "Main", "ps_5_0", {{"FIXED_EFFECT", "1"}}, "compiler 1"));
  EXPECT_NE(thirteen, MakeShaderCacheKey("source", "Main", "ps_5_0", {{"FIXED_EFFEC", "T13"}}, "compiler 1"));
  // Fields meet without a separator a plain concatenation would lose.
  EXPECT_NE(MakeShaderCacheKey("ab", "c", "ps_5_0", none, "x"), MakeShaderCacheKey("a", "bc", "ps_5_0", none, "x"));
}

TEST_F(ShaderCacheTest, TheSecondCompileIsServedFromTheCache) {
  const std::string first = Compile();
  ASSERT_EQ(first.rfind("error", 0), std::string::npos) << first;
  ASSERT_EQ(Entries().size(), 1u);

  // An entry planted under the same key, with a marker in its text, is what the next compile
  // returns: the compilers are not run again.
  const fs::path entry = Entries().front();
  const std::string name = entry.filename().string();
  ShaderCacheKey key;
  key.high = std::stoull(name.substr(0, 16), nullptr, 16);
  key.low = std::stoull(name.substr(16, 16), nullptr, 16);
  std::vector<uint8_t> stored;
  ASSERT_TRUE(platform::d3dx::ReadShaderCache(cache.string(), key, &stored));
  platform::d3d11::ShaderStageCode code;
  ASSERT_TRUE(platform::d3d11::ParseShaderCode(stored.data(), stored.size(), &code));
  code.glsl += "\n// planted\n";
  ASSERT_TRUE(platform::d3dx::WriteShaderCache(cache.string(), key, platform::d3d11::SerializeShaderCode(code)));
  EXPECT_EQ(Compile(), code.glsl);
}

TEST_F(ShaderCacheTest, AChangedSourceOrMacroMissesTheCache) {
  const std::string plain = Compile();
  const D3D10_SHADER_MACRO bright[] = {{"SHADE", "1.0f"}, {nullptr, nullptr}};
  const D3D10_SHADER_MACRO dim[] = {{"SHADE", "0.125f"}, {nullptr, nullptr}};
  const std::string withBright = Compile(bright);
  const std::string withDim = Compile(dim);
  EXPECT_EQ(Entries().size(), 3u);
  EXPECT_NE(plain, withBright);
  EXPECT_NE(withBright, withDim);
  EXPECT_NE(withDim.find("0.125"), std::string::npos) << withDim;

  WriteSource(std::string(kSource) + "\n// edited\n");
  Compile();
  EXPECT_EQ(Entries().size(), 4u);
  // Macros without a value read as 1, as the HLSL compiler takes them.
  const D3D10_SHADER_MACRO bare[] = {{"SHADE", nullptr}, {nullptr, nullptr}};
  EXPECT_EQ(Compile(bare).rfind("error", 0), std::string::npos);
  const D3D10_SHADER_MACRO nameless[] = {{"", "1"}, {nullptr, nullptr}};
  ID3D10Blob* blob = nullptr;
  EXPECT_EQ(D3DX11CompileFromFileW(source.c_str(), nameless, nullptr, "Main", "ps_5_0", 0, 0, nullptr, &blob, nullptr,
                                   nullptr),
            E_INVALIDARG);
  EXPECT_EQ(blob, nullptr);
}

TEST_F(ShaderCacheTest, DamagedEntriesAreIgnoredAndWrittenAnew) {
  const std::string good = Compile();
  ASSERT_EQ(Entries().size(), 1u);
  const fs::path entry = Entries().front();
  const std::vector<uint8_t> sound = ReadAll(entry);
  ASSERT_GT(sound.size(), 40u);

  std::vector<std::vector<uint8_t>> damaged;
  damaged.push_back({});                                                    // empty
  damaged.emplace_back(sound.begin(), sound.begin() + 20);                  // cut inside the header
  damaged.emplace_back(sound.begin(), sound.end() - 7);                     // cut inside the text
  damaged.push_back(sound);                                                 // one byte of the text flipped
  damaged.back()[sound.size() - 3] ^= 0x20;
  damaged.push_back(sound);                                                 // another format
  damaged.back()[0] = 'X';
  damaged.push_back(sound);                                                 // a size far beyond the file
  damaged.back()[8 + 16 + 5] = 0x7f;
  damaged.push_back(std::vector<uint8_t>(4096, 0xff));                      // noise
  for (size_t i = 0; i < damaged.size(); ++i) {
    WriteAll(entry, damaged[i]);
    EXPECT_EQ(Compile(), good) << "damage " << i;
    EXPECT_EQ(ReadAll(entry), sound) << "damage " << i << " was not rewritten";
  }

  // An entry made unreadable (a directory in its place) and an unwritable cache still compile.
  fs::remove(entry);
  fs::create_directory(entry);
  EXPECT_EQ(Compile(), good);
  fs::remove_all(cache);
  WriteAll(cache, {'x'});  // the cache directory's path is a file
  EXPECT_EQ(Compile(), good);
  setenv("PULSAR_SHADER_CACHE", "", 1);  // the cache turned off
  EXPECT_EQ(Compile(), good);
}

TEST_F(ShaderCacheTest, CompileErrorsAreReportedEveryTimeAndNeverStored) {
  WriteSource("float4 Main() : SV_TARGET { return undefined_name; }\n");
  EXPECT_EQ(Compile().rfind("error", 0), 0u);
  EXPECT_EQ(Compile().rfind("error", 0), 0u);
  EXPECT_TRUE(Entries().empty());
}

// Source text in memory takes the same road as a file: one translation, cached under the same
// key, and the name given reported in errors.
TEST_F(ShaderCacheTest, SourceInMemoryIsTheSameCompileAsFromAFile) {
  const std::string fromFile = Compile();
  ASSERT_EQ(fromFile.rfind("error", 0), std::string::npos) << fromFile;
  ID3DBlob* code = nullptr;
  ID3DBlob* errors = nullptr;
  ASSERT_EQ(D3DCompile(kSource, std::strlen(kSource), "inline", nullptr, nullptr, "Main", "ps_5_0", 0, 0, &code, &errors),
            S_OK);
  platform::d3d11::ShaderStageCode parsed;
  ASSERT_TRUE(platform::d3d11::ParseShaderCode(code->GetBufferPointer(), code->GetBufferSize(), &parsed));
  EXPECT_EQ(parsed.glsl, fromFile);
  EXPECT_EQ(Entries().size(), 1u);
  code->Release();

  const char broken[] = "float4 Main() : SV_TARGET { return undefined_name; }";
  EXPECT_TRUE(FAILED(D3DCompile(broken, sizeof broken - 1, "inline", nullptr, nullptr, "Main", "ps_5_0", 0, 0, &code,
                                &errors)));
  EXPECT_EQ(code, nullptr);
  ASSERT_NE(errors, nullptr);
  EXPECT_NE(std::string(static_cast<const char*>(errors->GetBufferPointer())).find("inline"), std::string::npos);
  errors->Release();
  EXPECT_EQ(D3DCompile(nullptr, 0, "inline", nullptr, nullptr, "Main", "ps_5_0", 0, 0, &code, nullptr), E_INVALIDARG);
}

}  // namespace
