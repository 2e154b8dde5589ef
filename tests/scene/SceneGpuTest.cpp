#include <gtest/gtest.h>

#include <filesystem>

#include "SceneFixtures.h"
#include "gfx/TextureCache.h"
#include "platform/message_box.h"
#include "scene/Morph.h"
#include "scene/SceneLoader.h"
#include "support/GpuTestDevice.h"
#include "support/ImageFixtures.h"
#include "support/TempDirectory.h"

namespace scene_test {
namespace {

D3D11_BUFFER_DESC DescOf(ID3D11Buffer* buffer) {
  D3D11_BUFFER_DESC desc = {};
  buffer->GetDesc(&desc);
  return desc;
}

TEST(SceneGpuTest, MeshesGetBuffersAndMaterialsTheirTextures) {
  testing_support::GpuTestDevice gpu;
  ASSERT_TRUE(gpu.Create(32, 32));
  TempDirectory directory(true);
  std::filesystem::create_directory("engine_data");
  WriteBytes("engine_data/stone.png", EncodePng(2, 2, std::vector<uint8_t>(16, 200)));

  c4e::Scene description = CompleteScene();
  description.materials[0].hasDiffuseMap = true;
  description.materials[0].diffuseMap = "stone.png";
  description.materials[0].hasNormalMap = true;
  description.materials[0].normalMap = "stone.png";
  ASSERT_TRUE(c4e::WriteSceneFile(description, "engine_data/complete.c4e"));

  TextureCache textures(gpu.device);
  RenderContext context;
  context.device = gpu.device;
  context.context = gpu.context;
  context.textures = &textures;
  {
    SceneLoader loader(context);
    ASSERT_TRUE(loader.Load("complete.c4e"));
    EXPECT_TRUE(platform::TakeShownMessageBoxes().empty());
    Scene& scene = *loader.scenes[0];
    const Material& material = *scene.materials[0];
    ASSERT_NE(material.diffuseTexture, nullptr);
    EXPECT_EQ(material.normalTexture, material.diffuseTexture);  // one cache entry per name
    EXPECT_EQ(textures.GetTexture("stone.png"), 0);

    const PolyObject& still = *scene.FindPolyObject(kMeshId);
    ASSERT_NE(still.vertexBuffer, nullptr);
    ASSERT_NE(still.indexBuffer, nullptr);
    D3D11_BUFFER_DESC desc = DescOf(still.vertexBuffer);
    EXPECT_EQ(desc.ByteWidth, 6u * 216u);
    EXPECT_EQ(DescOf(still.indexBuffer).ByteWidth, 6u * 12u);

    PolyObject& morph = *scene.FindPolyObject(kMorphId);
    desc = DescOf(morph.vertexBuffer);
    EXPECT_EQ(desc.Usage, D3D11_USAGE_DYNAMIC);
    EXPECT_EQ(desc.CPUAccessFlags, static_cast<UINT>(D3D11_CPU_ACCESS_WRITE));
    // A full update refills the dynamic buffer through a discard map.
    scene.Restart();
    scene.currentCamera = 0;
    scene.Update(0, 1000);
    EXPECT_FLOAT_EQ(morph.vertexData[7].position.y, 2.5f);
    testing_support::ExpectNoGLErrors();
  }
  textures.Shutdown();
}

}  // namespace
}  // namespace scene_test
