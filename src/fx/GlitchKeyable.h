#pragma once
// The keyed glitch of the show's first part: inside fixed windows of show time it fills the
// entries with random bands whose amount falls over the window; outside every window each
// entry the picture reads is neutral (1, 1, 1, 0).
#include <cstdint>
#include <vector>

#include "fx/GlitchEntries.h"

struct GlitchKey {
  int64_t start = 0;  // show time, ms
  int64_t end = 0;    // inclusive
  int32_t step = 1;   // entries between the starts of two bands
  int32_t band = 1;   // entries per band
  float amplitude = 0.0f;
  bool red = false;
  bool green = false;
  bool blue = false;
};

class GlitchKeyable : public GlitchEntries {
 public:
  explicit GlitchKeyable(const RenderContext& renderContext) : GlitchEntries(renderContext) {}
  ~GlitchKeyable() { Shutdown(); }
  GlitchKeyable(const GlitchKeyable&) = delete;
  GlitchKeyable& operator=(const GlitchKeyable&) = delete;

  // Allocates the entries and fills the key list; false only when memory runs out.
  bool Create();
  // Recomputes the entries for the current show time; the Demo copies them into the program.
  void Update();
  void Shutdown();

  std::vector<GlitchKey> keys;

 private:
  void ApplyKey(const GlitchKey& key, int64_t now, int32_t width);
};
