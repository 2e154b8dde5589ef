#pragma once
// The three lines of the debug overlay, written the way a default wide string stream writes
// numbers (integers in decimal, floats with six significant digits).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

struct OverlayValues {
  const char* adapterDescription = "";  // narrow; at most 127 bytes are used
  int32_t videoMemoryMiB = 0;
  int32_t fps = 0;
  float audioCpu = 0.0f;
  int64_t elapsed = 0;
  float fov = 0.0f;
  float shadowA = 0.0f;
  float shadowB = 0.0f;
  std::string_view sceneStatistics;  // the current scene's statistics line; empty without a scene
  int32_t finalEffect = 0;
  std::string_view effectName;  // the final effect's display name
  int32_t fractal = 0;
  int64_t delta = 0;
  float oscSinFast = 0.0f;
  float oscSinSlow = 0.0f;
};

// Line 1: adapter, memory, frame rate, audio load, show time, field of view and shadow range;
// line 2: the scene's statistics; line 3: the final effect, delta and oscillators.
std::array<std::wstring, 3> OverlayLines(const OverlayValues& values);

// The pixel rows the lines are drawn at.
constexpr float kOverlayLineY[3] = {0.0f, 12.0f, 24.0f};
constexpr float kOverlayTextSize = 12.0f;

// Narrow UTF-8 text widened character by character; a byte that does not decode stays as it is.
std::wstring WidenUtf8(std::string_view text);

// Wide text as UTF-8, for printing the lines.
std::string NarrowUtf8(std::wstring_view text);
