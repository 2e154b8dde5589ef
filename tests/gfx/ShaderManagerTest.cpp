// The seven programs compiled from the show's HLSL at run time: creation order and failures
// with their message boxes.
#include <gtest/gtest.h>

#include "ShaderTestData.h"
#include "gfx/ShaderManager.h"
#include "platform/d3d11/gl_check.h"
#include "platform/message_box.h"
#include "support/GpuTestDevice.h"

using testing_support::ExpectNoGLErrors;
using testing_support::GpuTestDevice;

namespace {

class ShaderManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gpu.Create(64, 64));
    platform::TakeShownMessageBoxes();
  }
  void TearDown() override {
    manager.Shutdown();
    ExpectNoGLErrors();
  }

  bool Init() { return manager.InitShaders(gpu.window, gpu.device, gpu.context, nullptr); }

  GpuTestDevice gpu;
  ShaderDataDirectory data;
  ShaderManager manager;
};

// Each program draws in ShaderProgramDrawTest; here creation is silent and Shutdown leaves nothing.
TEST_F(ShaderManagerTest, CreatesAllSevenProgramsWithoutABoxAndShutdownReleasesThem) {
  const long liveBefore = IUnknown::LiveObjectCount();
  ASSERT_TRUE(Init());
  EXPECT_TRUE(platform::TakeShownMessageBoxes().empty());
  EXPECT_NE(manager.billboardShader->geometryShader, nullptr);
  EXPECT_EQ(manager.postProcessShader->geometryShader, nullptr);
  EXPECT_EQ(manager.blurShader->direction, -1);
  D3D11_BUFFER_DESC desc;
  manager.postProcessShader->arrayBuffer->GetDesc(&desc);
  EXPECT_EQ(desc.ByteWidth, 65536u);
  manager.Shutdown();
  EXPECT_EQ(IUnknown::LiveObjectCount(), liveBefore);
  EXPECT_EQ(manager.billboardShader, nullptr);
  EXPECT_EQ(manager.blurShader, nullptr);
}

TEST_F(ShaderManagerTest, MissingFileShowsItsPathAndStopsCreation) {
  data.Remove("ssao_PS.hlsl");
  const long liveBefore = IUnknown::LiveObjectCount();
  EXPECT_FALSE(Init());
  const auto boxes = platform::TakeShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "missing shader file");
  EXPECT_EQ(boxes[0].text, "engine_data/ssao_PS.hlsl");
  EXPECT_EQ(boxes[0].style, MB_ICONERROR);
  // The programs before it exist; the ones after it were never created.
  EXPECT_NE(manager.postProcessShader, nullptr);
  EXPECT_NE(manager.postProcessShader->effectBuffer, nullptr);
  EXPECT_EQ(manager.texMixShader, nullptr);
  EXPECT_EQ(manager.blurShader, nullptr);
  // Releasing what was created, the half-made SSAO program included, leaves nothing behind.
  manager.Shutdown();
  EXPECT_EQ(IUnknown::LiveObjectCount(), liveBefore);
}

// A file that is there but does not compile (a syntax error, or no function of the entry's name)
// shows the compiler's text captioned with the path, not the missing-file box.
TEST_F(ShaderManagerTest, CompileErrorsShowTheCompilersTextWithThePathAsCaption) {
  data.Write("blur_PS.hlsl", "float4 Blur_PS() : SV_TARGET\n{\n  return float4(1, 1, 1, 1)\n}\n");
  EXPECT_FALSE(Init());
  auto boxes = platform::TakeShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "engine_data/blur_PS.hlsl");
  EXPECT_NE(boxes[0].text.find("engine_data/blur_PS.hlsl:4"), std::string::npos) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find("error"), std::string::npos) << boxes[0].text;
  EXPECT_NE(manager.texMixShader, nullptr);

  manager.Shutdown();
  data.Write("depth_VS.hlsl", "float4 Other(float3 p : POSITION) : SV_POSITION { return float4(p, 1); }\n");
  EXPECT_FALSE(Init());
  boxes = platform::TakeShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "engine_data/depth_VS.hlsl");
  EXPECT_EQ(manager.postProcessShader, nullptr);
}

TEST_F(ShaderManagerTest, LayoutThatTheVertexShaderCannotReadFailsCreation) {
  // The depth program's layout has no COLOR; a vertex shader reading one cannot be laid out.
  data.Write("depth_VS.hlsl",
             "float4 Depth_VS(float3 p : POSITION, float4 c : COLOR) : SV_POSITION { return float4(p, c.x); }\n");
  EXPECT_FALSE(Init());
  EXPECT_TRUE(platform::TakeShownMessageBoxes().empty());
  // The layer's refusal is the one report, and it names what the layout lacks.
  const auto refusals = platform::d3d11::TakeGLDebugMessages();
  ASSERT_EQ(refusals.size(), 1u);
  EXPECT_EQ(refusals[0].type, platform::d3d11::kLayerRefusal);
  EXPECT_NE(refusals[0].text.find("reads COLOR0, which the layout lacks"), std::string::npos) << refusals[0].text;
}

}  // namespace
