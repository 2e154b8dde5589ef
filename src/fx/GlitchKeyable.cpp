#include "fx/GlitchKeyable.h"

#include <algorithm>
#include <cmath>

#include "app/Timer.h"
#include "demo/CueSheet.h"
#include "platform/crt_rand.h"

bool GlitchKeyable::Create() {
  if (!CreateEntries()) return false;
  // Windows with step 0 in the cue sheet band by the screen width: 30 entries at 1920 pixels,
  // with a green ramp across each band. A screen under 64 pixels gets step 1 and empty bands.
  const int32_t wide = m_renderContext.width / 64;
  keys.clear();
  for (const cue::GlitchWindow& window : cue::kGlitchWindows) {
    GlitchKey key;
    key.start = window.start;
    key.end = window.end;
    key.amplitude = window.amplitude;
    if (window.stepAndBand == 0) {
      key.step = std::max<int32_t>(wide, 1);
      key.band = wide;
      key.green = true;
    } else {
      key.step = window.stepAndBand;
      key.band = window.stepAndBand;
    }
    keys.push_back(key);
  }
  return true;
}

void GlitchKeyable::ApplyKey(const GlitchKey& key, int64_t now, int32_t width) {
  const float p =
      key.end > key.start ? static_cast<float>(now - key.start) / static_cast<float>(key.end - key.start) : 1.0f;
  // Falls from half the amplitude at the window's start to about 0.04 of it at its end.
  const float amount = key.amplitude * std::cos(p) - key.amplitude * 0.5f;
  const float divisor = static_cast<float>(platform::kRandMax) / amount;
  const int32_t step = std::max<int32_t>(key.step, 1);
  for (int64_t j = 0; j < width; j += step) {
    // Drawn for every band, also past the table's end, so the shared sequence advances the
    // same on every screen width.
    const float u = static_cast<float>(platform::rand()) / divisor;
    for (int32_t k = 0; k < key.band; ++k) {
      const int64_t at = j + k;
      if (at >= kEntryCount) break;
      const float ramp = u * static_cast<float>(k) / static_cast<float>(key.band);
      SetEntry(static_cast<int32_t>(at), key.red ? ramp : 1.0f, key.green ? ramp * 0.5f : 1.0f,
               key.blue ? ramp : 1.0f, u);
    }
  }
}

void GlitchKeyable::Update() {
  if (!entries) return;
  const int64_t now = m_renderContext.timer ? m_renderContext.timer->elapsed : 0;
  const int32_t width = m_renderContext.width;
  bool active = false;
  for (const GlitchKey& key : keys) {
    if (key.start > now || now > key.end) continue;
    active = true;
    ApplyKey(key, now, width);
  }
  if (active) return;
  const int32_t neutral = std::clamp<int32_t>(width, 0, kEntryCount);
  for (int32_t i = 0; i < neutral; ++i) SetEntry(i, 1.0f, 1.0f, 1.0f, 0.0f);
}

void GlitchKeyable::Shutdown() {
  keys.clear();
  GlitchEntries::Shutdown();
}
