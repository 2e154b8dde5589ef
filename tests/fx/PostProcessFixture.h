#pragma once
// The effects' GPU tests: a headless llvmpipe device with the show's render states and its
// post-processing program compiled from the content's HLSL, a RenderContext for the effect
// objects, and textures of one colour to draw with.
#include <string>
#include <vector>

#include "app/Timer.h"
#include "gfx/RenderContext.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "support/GpuTestDevice.h"
#include "support/TempDirectory.h"

namespace fx_test {

class PostProcessFixture {
 public:
  static constexpr int kWidth = 160;
  static constexpr int kHeight = 96;

  // False (with the reason in error) when a step failed.
  bool Create(std::string* error);
  ~PostProcessFixture();

  // A 4 × 4 texture of one colour (RGBA8), owned by the fixture.
  ID3D11ShaderResourceView* SolidTexture(uint8_t r, uint8_t g, uint8_t b);
  // Back buffer bound and cleared to opaque black.
  void ClearBackBuffer();
  testing_support::Rgba Pixel(const std::vector<uint8_t>& pixels, int x, int y) const;

  testing_support::GpuTestDevice gpu;
  RenderStateManager states;
  ShaderManager shaders;
  Timer timer;
  RenderContext context;

 private:
  TempDirectory m_directory{/*enter=*/true};
  std::vector<ID3D11Texture2D*> m_textures;
  std::vector<ID3D11ShaderResourceView*> m_views;
};

}  // namespace fx_test
