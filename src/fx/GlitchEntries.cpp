#include "fx/GlitchEntries.h"

#include <cstring>
#include <new>

#include "gfx/ShaderManager.h"

bool GlitchEntries::CreateEntries() {
  shader = m_renderContext.shaders ? m_renderContext.shaders->postProcessShader : nullptr;
  entries.reset(new (std::nothrow) float[static_cast<size_t>(kEntryCount) * 4]());
  return entries != nullptr;
}

void GlitchEntries::SetEntry(int32_t i, float x, float y, float z, float w) {
  float* e = Entry(i);
  e[0] = x;
  e[1] = y;
  e[2] = z;
  e[3] = w;
}

void GlitchEntries::CopyIntoShader() const {
  if (!shader || !shader->effectArray || !entries) return;
  static_assert(PostProcessShader::kArrayEntries == kEntryCount);
  std::memcpy(shader->effectArray.get(), entries.get(), PostProcessShader::kArrayBytes);
}

void GlitchEntries::Shutdown() { entries.reset(); }
