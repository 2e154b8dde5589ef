#include "platform/d3dx/shader_cache.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace platform::d3dx {

namespace {

constexpr char kMagic[8] = {'P', 'L', 'S', 'R', 'S', 'H', 'C', '1'};
// magic, key (16 bytes), payload size, payload checksum.
constexpr size_t kHeaderSize = sizeof(kMagic) + 16 + 8 + 8;

uint64_t Fnv1a(uint64_t hash, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3ull;
  return hash;
}

uint64_t HashField(uint64_t hash, std::string_view field) {
  const uint64_t length = field.size();
  hash = Fnv1a(hash, &length, sizeof(length));
  return Fnv1a(hash, field.data(), field.size());
}

void PutWord(std::vector<uint8_t>* out, uint64_t value) {
  for (int i = 0; i < 8; ++i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint64_t GetWord(const uint8_t* at) {
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | at[i];
  return value;
}

}  // namespace

ShaderCacheKey MakeShaderCacheKey(std::string_view source, std::string_view entryPoint, std::string_view profile,
                                  const std::vector<ShaderDefine>& defines, std::string_view compilerVersion) {
  ShaderCacheKey key{0xcbf29ce484222325ull, 0x84222325cbf29ce4ull};
  for (uint64_t* half : {&key.low, &key.high}) {
    uint64_t hash = *half;
    hash = HashField(hash, compilerVersion);
    hash = HashField(hash, profile);
    hash = HashField(hash, entryPoint);
    const uint64_t count = defines.size();
    hash = Fnv1a(hash, &count, sizeof(count));
    for (const ShaderDefine& define : defines) {
      hash = HashField(hash, define.name);
      hash = HashField(hash, define.value);
    }
    *half = HashField(hash, source);
  }
  return key;
}

std::string ShaderCacheDirectory() {
  if (const char* chosen = std::getenv("PULSAR_SHADER_CACHE")) return chosen;
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && xdg[0] == '/') {
    return std::string(xdg) + "/pulsar/shaders";
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    return std::string(home) + "/.cache/pulsar/shaders";
  }
  return {};
}

std::string ShaderCachePath(const std::string& directory, const ShaderCacheKey& key) {
  char name[40];
  std::snprintf(name, sizeof(name), "%016llx%016llx.glsl", static_cast<unsigned long long>(key.high),
                static_cast<unsigned long long>(key.low));
  return directory + "/" + name;
}

bool ReadShaderCache(const std::string& directory, const ShaderCacheKey& key, std::vector<uint8_t>* bytes) {
  if (directory.empty()) return false;
  // Anything but a regular file (a directory left in its place) is no entry; reading one
  // through a stream would throw.
  const std::string path = ShaderCachePath(directory, key);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::vector<uint8_t> contents;
  uint8_t chunk[16384];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0) contents.insert(contents.end(), chunk, chunk + got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed || contents.size() < kHeaderSize) return false;
  const uint8_t* at = contents.data();
  if (std::memcmp(at, kMagic, sizeof(kMagic)) != 0) return false;
  at += sizeof(kMagic);
  if (GetWord(at) != key.low || GetWord(at + 8) != key.high) return false;
  const uint64_t size = GetWord(at + 16);
  const uint64_t checksum = GetWord(at + 24);
  if (size != contents.size() - kHeaderSize) return false;
  const uint8_t* payload = contents.data() + kHeaderSize;
  if (Fnv1a(0xcbf29ce484222325ull, payload, size) != checksum) return false;
  bytes->assign(payload, payload + size);
  return true;
}

bool WriteShaderCache(const std::string& directory, const ShaderCacheKey& key, const std::vector<uint8_t>& bytes) {
  if (directory.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) return false;
  std::vector<uint8_t> contents(kMagic, kMagic + sizeof(kMagic));
  PutWord(&contents, key.low);
  PutWord(&contents, key.high);
  PutWord(&contents, bytes.size());
  PutWord(&contents, Fnv1a(0xcbf29ce484222325ull, bytes.data(), bytes.size()));
  contents.insert(contents.end(), bytes.begin(), bytes.end());

  const std::string path = ShaderCachePath(directory, key);
  // A name of this process's own: two shows starting at once must not write one file together.
  const std::string temporary = path + ".tmp" + std::to_string(static_cast<long>(getpid()));
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(contents.data()), static_cast<std::streamsize>(contents.size()));
    file.flush();
    if (!file) {
      file.close();
      std::filesystem::remove(temporary, error);
      return false;
    }
  }
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

}  // namespace platform::d3dx
