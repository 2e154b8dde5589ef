#pragma once
// The part of the Demo the image operations need, on a headless llvmpipe device: device, render
// states, texture cache, the seven programs, the render targets and the screen quads, with the
// show's HLSL and a noise texture in a data directory of its own.
#include <string>
#include <vector>

#include "app/Timer.h"
#include "demo/Demo.h"
#include "platform/window.h"
#include "support/TempDirectory.h"

namespace demo_test {

class DemoImageFixture {
 public:
  static constexpr int kWidth = 256;
  static constexpr int kHeight = 144;

  // False (with the reason in error) when a step failed.
  bool Create(std::string* error);
  ~DemoImageFixture();

  // Four floats a pixel, top row first.
  std::vector<float> Read(RenderTarget* target);
  void Write(RenderTarget* target, const std::vector<float>& texels);
  // A target's texture size.
  static void Size(RenderTarget* target, int* width, int* height);

  Demo demo;
  Timer timer;
  platform::Window* window = nullptr;

 private:
  TempDirectory m_directory{/*enter=*/true};
};

// The texel (x, y) of a picture read from a target of the given width.
inline const float* TexelAt(const std::vector<float>& texels, int width, int x, int y) {
  return &texels[(static_cast<size_t>(y) * width + x) * 4];
}

}  // namespace demo_test
