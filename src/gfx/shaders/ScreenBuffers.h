#pragma once
// The 16-byte screenBuffer records of the blur, occlusion and mixing passes.
#include <cstdint>

// screenBuffer of BlurShader and TexMixShader: a mode as an integer, then width, height, 0.
struct ScreenModeBufferType {
  int32_t mode;
  float width;
  float height;
  float padding;
};
static_assert(sizeof(ScreenModeBufferType) == 16);

// screenBuffer of SSAOShader: width, height, then two zero words.
struct ScreenSizeBufferType {
  float width;
  float height;
  uint32_t padding[2];
};
static_assert(sizeof(ScreenSizeBufferType) == 16);
