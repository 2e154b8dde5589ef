#pragma once
// What both glitch objects share: a table of 4,096 four-float entries for the post-processing
// program's effect array (channel factors x, y, z and an amount w per entry), and the program
// it is copied into.
#include <cstdint>
#include <memory>

#include "gfx/RenderContext.h"

class PostProcessShader;

class GlitchEntries : public ContextHolder {
 public:
  static constexpr int32_t kEntryCount = 4096;

  explicit GlitchEntries(const RenderContext& renderContext) : ContextHolder(renderContext) {}

  // Copies all 4,096 entries (65,536 bytes) into the program's effect array.
  void CopyIntoShader() const;
  void Shutdown();

  PostProcessShader* shader = nullptr;
  std::unique_ptr<float[]> entries;  // kEntryCount × (x, y, z, w)

 protected:
  // Takes the program from the ShaderManager and allocates the entries, zeroed.
  bool CreateEntries();
  // Entry i as four floats; i must be below kEntryCount.
  float* Entry(int32_t i) { return entries.get() + static_cast<size_t>(i) * 4; }
  void SetEntry(int32_t i, float x, float y, float z, float w);
};
