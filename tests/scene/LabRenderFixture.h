#pragma once
// The lab scene on a headless llvmpipe device with the show's shader programs and render states,
// for the rendering tests: a data directory with the HLSL and the lab's content, variants of the
// scene written beside it, a shadow map target, and read-back helpers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "C4eWriter.h"
#include "gfx/RenderContext.h"
#include "gfx/RenderStateManager.h"
#include "gfx/RenderTarget.h"
#include "gfx/ShaderManager.h"
#include "gfx/TextureCache.h"
#include "scene/SceneLoader.h"
#include "support/GpuTestDevice.h"
#include "support/TempDirectory.h"

namespace scene_test {

class LabRenderFixture {
 public:
  static constexpr int kWidth = 320;
  static constexpr int kHeight = 180;

  // Device, states, programs and content; false (with a reason in error) when any step failed.
  bool Create(std::string* error);
  ~LabRenderFixture();

  // Writes the description as engine_data/<fileName> and loads it; null on failure.
  Scene* Load(const c4e::Scene& description, const std::string& fileName);

  // Poses at scene time t through camera (no events), shadow planes of the lab.
  void Pose(Scene* scene, int64_t sceneTime, int32_t camera);
  // A straight-down camera over the stage, replacing the current camera's view.
  void LookFromAbove(Scene* scene);
  D3DXMATRIX Projection() const;

  // The shadow pass into the shadow map target.
  void ShadowPass(Scene* scene);
  // Back buffer bound and cleared to (0, 0, 0, 0), depth 1.
  void ClearBackBuffer();
  std::vector<uint8_t> Pixels() { return gpu.ReadPixels(); }
  // Where a world point lands on the back buffer under the scene's current view.
  void Project(Scene* scene, const D3DXVECTOR3& world, int* x, int* y) const;

  // The bytes of a constant buffer currently bound (read through a staging copy).
  std::vector<uint8_t> BoundConstantBuffer(bool pixelStage, UINT slot);

  testing_support::GpuTestDevice gpu;
  RenderStateManager states;
  std::unique_ptr<TextureCache> textures;
  ShaderManager shaders;
  RenderContext context;
  std::unique_ptr<RenderTarget> shadowMap;
  std::unique_ptr<SceneLoader> loader;

 private:
  std::unique_ptr<TempDirectory> m_directory;
};

// A suite whose tests share one lab: creating the device and programs is the slow part.
class LabSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_lab = new LabRenderFixture();
    if (!s_lab->Create(&s_error)) {
      delete s_lab;
      s_lab = nullptr;
    }
  }
  static void TearDownTestSuite() {
    delete s_lab;
    s_lab = nullptr;
  }
  void SetUp() override { ASSERT_NE(s_lab, nullptr) << s_error; }

  static inline LabRenderFixture* s_lab = nullptr;
  static inline std::string s_error;
};

// Average of the red, green and blue bytes of one pixel.
float Brightness(const std::vector<uint8_t>& pixels, int x, int y);
// The average brightness of a small square around (x, y).
float AreaBrightness(const std::vector<uint8_t>& pixels, int x, int y, int radius);

}  // namespace scene_test
