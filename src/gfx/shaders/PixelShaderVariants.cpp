#include "gfx/shaders/PixelShaderVariants.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "gfx/ReleaseAndForget.h"
#include "platform/d3dx/d3dx11async.h"

void PixelShaderVariants::Configure(ID3D11Device* device, Recipe recipe) {
  m_device = device;
  m_recipe = std::move(recipe);
}

namespace {

// Keys translated per batch: small enough that the first programs asked for arrive soon.
constexpr size_t kBatchSize = 4;

}  // namespace

void PixelShaderVariants::Request(uint32_t key) {
  if (m_made.count(key) != 0) return;
  for (const std::vector<uint32_t>* asked : {&m_waiting, &m_inBatch}) {
    if (std::find(asked->begin(), asked->end(), key) != asked->end()) return;
  }
  for (const Translated& variant : m_translated) {
    if (variant.key == key) return;
  }
  m_waiting.push_back(key);
  if (!m_batch.valid()) StartBatch();
}

ID3D11PixelShader* PixelShaderVariants::Find(uint32_t key) {
  const auto made = m_made.find(key);
  if (made != m_made.end()) return made->second;
  Request(key);
  FetchBatch(false);
  CreateTranslated(key);
  while (waitToFind && m_made.count(key) == 0 && m_batch.valid()) {
    FetchBatch(true);
    CreateTranslated(key);
  }
  const auto now = m_made.find(key);
  return now != m_made.end() ? now->second : nullptr;
}

void PixelShaderVariants::MakeNext() {
  FetchBatch(false);
  if (!m_translated.empty()) CreateTranslated(m_translated.front().key);
}

bool PixelShaderVariants::WaitForAll() {
  while (m_batch.valid()) FetchBatch(true);
  while (!m_translated.empty()) CreateTranslated(m_translated.front().key);
  return m_allMade;
}

size_t PixelShaderVariants::MadeCount() const {
  size_t count = 0;
  for (const auto& [key, shader] : m_made) count += shader != nullptr ? 1 : 0;
  return count;
}

void PixelShaderVariants::StartBatch() {
  if (m_waiting.empty() || m_recipe.definesOf == nullptr) return;
  const size_t taken = std::min(kBatchSize, m_waiting.size());
  m_inBatch.assign(m_waiting.begin(), m_waiting.begin() + static_cast<std::ptrdiff_t>(taken));
  m_waiting.erase(m_waiting.begin(), m_waiting.begin() + static_cast<std::ptrdiff_t>(taken));
  std::vector<std::pair<uint32_t, Defines>> work;
  for (uint32_t key : m_inBatch) work.emplace_back(key, m_recipe.definesOf(key));
  // The translation touches no GL object; only creating the programs needs the drawing thread.
  m_batch = std::async(std::launch::async, [path = m_recipe.path, entry = m_recipe.entryPoint, work = std::move(work)] {
    std::vector<Translated> translated;
    for (const auto& [key, defines] : work) {
      std::vector<D3D10_SHADER_MACRO> macros;
      for (const auto& [name, value] : defines) macros.push_back({name.c_str(), value.c_str()});
      macros.push_back({nullptr, nullptr});
      Translated result;
      result.key = key;
      ID3D10Blob* blob = nullptr;
      ID3D10Blob* errors = nullptr;
      if (SUCCEEDED(D3DX11CompileFromFileW(path.c_str(), macros.data(), nullptr, entry.c_str(), "ps_5_0",
                                           D3D10_SHADER_ENABLE_STRICTNESS, 0, nullptr, &blob, &errors, nullptr))) {
        const auto* bytes = static_cast<const uint8_t*>(blob->GetBufferPointer());
        result.code.assign(bytes, bytes + blob->GetBufferSize());
      } else {
        result.error = errors != nullptr ? static_cast<const char*>(errors->GetBufferPointer()) : path;
      }
      ReleaseAndForget(blob);
      ReleaseAndForget(errors);
      translated.push_back(std::move(result));
    }
    return translated;
  });
}

void PixelShaderVariants::FetchBatch(bool wait) {
  if (!m_batch.valid()) return;
  if (!wait && m_batch.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
  for (Translated& variant : m_batch.get()) m_translated.push_back(std::move(variant));
  m_inBatch.clear();
  StartBatch();
}

bool PixelShaderVariants::CreateTranslated(uint32_t key) {
  const auto found = std::find_if(m_translated.begin(), m_translated.end(),
                                  [key](const Translated& variant) { return variant.key == key; });
  if (found == m_translated.end()) return false;
  Create(*found);
  m_translated.erase(found);
  return true;
}

void PixelShaderVariants::Create(const Translated& variant) {
  ID3D11PixelShader* shader = nullptr;
  if (variant.code.empty() || m_device == nullptr ||
      FAILED(m_device->CreatePixelShader(variant.code.data(), variant.code.size(), nullptr, &shader))) {
    // The general program draws this key with the same result; only its speed is lost.
    const std::string name = m_recipe.describe != nullptr ? m_recipe.describe(variant.key) : std::to_string(variant.key);
    std::fprintf(stderr, "%s: no program of its own for %s: %s\n", m_recipe.path.c_str(), name.c_str(),
                 variant.error.c_str());
    m_allMade = false;
    shader = nullptr;
  }
  m_made[variant.key] = shader;
}

void PixelShaderVariants::Release() {
  if (m_batch.valid()) m_batch.wait();
  m_batch = {};
  m_waiting.clear();
  m_inBatch.clear();
  m_translated.clear();
  for (auto& [key, shader] : m_made) ReleaseAndForget(shader);
  m_made.clear();
  m_allMade = true;
}

void PixelShaderVariants::Swap(PixelShaderVariants& other) noexcept {
  std::swap(m_device, other.m_device);
  std::swap(m_recipe, other.m_recipe);
  m_made.swap(other.m_made);
  m_waiting.swap(other.m_waiting);
  m_inBatch.swap(other.m_inBatch);
  m_translated.swap(other.m_translated);
  std::swap(m_batch, other.m_batch);
  std::swap(m_allMade, other.m_allMade);
}
