#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <cmath>
#include <fstream>

#include "SceneFixtures.h"
#include "support/GpuTestDevice.h"
#include "support/ImageFixtures.h"
#include "support/TempDirectory.h"
#include "gfx/TextureCache.h"
#include "platform/d3dx/d3dx11tex.h"
#include "platform/message_box.h"
#include "scene/SceneLoader.h"

namespace scene_test {
namespace {

class SceneLoaderTest : public ::testing::Test {
 protected:
  // engine_data/complete.c4e and engine_data/empty.c4e (a scene of nothing) in the working directory.
  static bool WriteCompleteAndEmptyScenes() {
    std::filesystem::create_directory("engine_data");
    c4e::Scene empty;
    empty.name = "empty";
    return c4e::WriteSceneFile(CompleteScene(), "engine_data/complete.c4e") &&
           c4e::WriteSceneFile(empty, "engine_data/empty.c4e");
  }

  void SetUp() override { platform::TakeShownMessageBoxes(); }

  // The texts of the boxes shown since the last call; each must be captioned with the file name.
  std::vector<std::string> Messages(const std::string& caption) {
    std::vector<std::string> texts;
    for (const auto& box : platform::TakeShownMessageBoxes()) {
      EXPECT_EQ(box.caption, caption);
      EXPECT_EQ(box.style & MB_ICONERROR, MB_ICONERROR);
      texts.push_back(box.text);
    }
    return texts;
  }
};

TEST_F(SceneLoaderTest, LoadsFromTheDataDirectoryAndKeepsLoadOrder) {
  TempDirectory directory(true);
  ASSERT_TRUE(WriteCompleteAndEmptyScenes());

  SceneLoader loader{RenderContext{}};
  EXPECT_TRUE(loader.Load("complete.c4e"));
  EXPECT_TRUE(loader.Load("empty.c4e"));
  EXPECT_FALSE(loader.Load("missing.c4e"));
  EXPECT_EQ(Messages("missing.c4e"), std::vector<std::string>{"open file"});
  ASSERT_EQ(loader.scenes.size(), 2u);
  EXPECT_EQ(loader.scenes[0]->name, "complete");
  EXPECT_EQ(loader.scenes[1]->name, "empty");
  EXPECT_EQ(loader.fileName, "missing.c4e");

  // Zero of everything but the environment: it loads, with end time 0.
  const Scene& bare = *loader.scenes[1];
  EXPECT_EQ(bare.endTime, 0);
  EXPECT_EQ(bare.environment->ambientColor.a, 1.0f);
  EXPECT_EQ(bare.materials.size() + bare.polyObjects.size() + bare.cameras.size() + bare.lights.size(), 0u);
}

// The show reads each file ahead on a worker while the one before gets its textures: what loads,
// in which order, and which boxes show must be as when every file is read when its turn comes.
TEST_F(SceneLoaderTest, FilesReadAheadLoadAsFilesReadInTurn) {
  TempDirectory directory(true);
  ASSERT_TRUE(WriteCompleteAndEmptyScenes());
  std::vector<uint8_t> cut = c4e::WriteScene(CompleteScene());
  cut.resize(cut.size() - 3);
  std::ofstream("engine_data/cut.c4e", std::ios::binary).write(reinterpret_cast<const char*>(cut.data()),
                                                             static_cast<std::streamsize>(cut.size()));

  SceneLoader loader{RenderContext{}};
  // A next file that is missing or damaged fails nothing but its own load.
  EXPECT_TRUE(loader.Load("complete.c4e", "missing.c4e"));
  EXPECT_TRUE(Messages("complete.c4e").empty());
  EXPECT_FALSE(loader.Load("missing.c4e", "cut.c4e"));
  EXPECT_EQ(Messages("missing.c4e"), std::vector<std::string>{"open file"});
  EXPECT_FALSE(loader.Load("cut.c4e", "empty.c4e"));
  EXPECT_EQ(Messages("cut.c4e"), std::vector<std::string>{"lights"});
  EXPECT_EQ(loader.current->name, "complete");
  // A file read ahead but loaded out of turn is read again; the one read ahead is not lost.
  EXPECT_TRUE(loader.Load("complete.c4e"));
  EXPECT_TRUE(loader.Load("empty.c4e"));
  ASSERT_EQ(loader.scenes.size(), 3u);
  EXPECT_EQ(loader.scenes[0]->name, "complete");
  EXPECT_EQ(loader.scenes[1]->name, "complete");
  EXPECT_EQ(loader.scenes[2]->name, "empty");
  EXPECT_EQ(loader.scenes[0]->polyObjects.size(), loader.scenes[1]->polyObjects.size());
  EXPECT_EQ(loader.scenes[0]->endTime, loader.scenes[1]->endTime);
  // The worker's last file may still be under way when the loader goes; it waits for it.
  SceneLoader leaving{RenderContext{}};
  EXPECT_TRUE(leaving.Load("empty.c4e", "complete.c4e"));
}

// The show reads every file ahead at once, on two readers: each Load still takes its own file,
// in turn, with its own boxes; a file asked for out of turn is read in place.
TEST_F(SceneLoaderTest, AListReadAheadLoadsInTurnWithTheBoxesOfEachFile) {
  TempDirectory directory(true);
  ASSERT_TRUE(WriteCompleteAndEmptyScenes());
  std::vector<uint8_t> cut = c4e::WriteScene(CompleteScene());
  cut.resize(cut.size() - 3);
  WriteBytes("engine_data/cut.c4e", cut);

  SceneLoader loader{RenderContext{}};
  loader.ReadAhead({"complete.c4e", "missing.c4e", "cut.c4e", "empty.c4e", "complete.c4e"});
  EXPECT_TRUE(loader.Load("complete.c4e"));
  EXPECT_FALSE(loader.Load("missing.c4e"));
  EXPECT_EQ(Messages("missing.c4e"), std::vector<std::string>{"open file"});
  EXPECT_FALSE(loader.Load("cut.c4e"));
  EXPECT_EQ(Messages("cut.c4e"), std::vector<std::string>{"lights"});
  EXPECT_TRUE(loader.Load("complete.c4e"));  // out of turn: "empty.c4e" waits in front
  EXPECT_TRUE(loader.Load("empty.c4e"));
  EXPECT_TRUE(loader.Load("complete.c4e"));
  ASSERT_EQ(loader.scenes.size(), 4u);
  EXPECT_EQ(loader.scenes[2]->name, "empty");
  EXPECT_EQ(loader.scenes[3]->polyObjects.size(), loader.scenes[0]->polyObjects.size());
  EXPECT_TRUE(Messages("complete.c4e").empty());

  // A loader that goes while its readers are at work stops them and waits.
  SceneLoader leaving{RenderContext{}};
  leaving.ReadAhead(std::vector<std::string>(40, "complete.c4e"));
}

// A reader decodes the pictures a scene names; the loading thread only makes their textures,
// which must be those the files give when read in turn.
TEST_F(SceneLoaderTest, PicturesDecodedAheadMakeTheTexturesTheirFilesMake) {
  TempDirectory directory(true);
  testing_support::GpuTestDevice gpu;
  ASSERT_TRUE(gpu.Create(32, 32));
  std::filesystem::create_directory("engine_data");
  std::vector<uint8_t> rgba(16 * 8 * 4);
  for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<uint8_t>(i * 37 % 251);
  WriteBytes("engine_data/wood.png", EncodePng(16, 8, rgba));
  DdsFixture sky;
  sky.kind = DdsFixture::Kind::Bc3;
  sky.width = sky.height = 8;
  sky.mipLevels = 2;
  sky.cube = true;
  WriteBytes("engine_data/sky.dds", EncodeDds(sky));
  c4e::Scene scene = CompleteScene();
  scene.materials[0].hasDiffuseMap = true;
  scene.materials[0].diffuseMap = "wood.png";
  scene.materials[0].hasReflectionMap = true;
  scene.materials[0].reflectionMap = "sky.png";  // read as sky.dds
  ASSERT_TRUE(c4e::WriteSceneFile(scene, "engine_data/textured.c4e"));

  // The show's loader starts reading before its device exists, and gets its context later.
  SceneLoader ahead(RenderContext{});
  ahead.ReadAhead({"textured.c4e"}, /*decodePictures=*/true);
  TextureCache decodedAhead(gpu.device);
  TextureCache readInTurn(gpu.device);
  RenderContext context;
  context.device = gpu.device;
  context.context = gpu.context;
  context.width = 32;
  context.height = 16;
  context.textures = &decodedAhead;
  ahead.context = context;
  context.textures = &readInTurn;
  SceneLoader inTurn(context);
  const uint64_t readsBefore = platform::d3dx::ImageFileReadCount();
  ASSERT_TRUE(ahead.Load("textured.c4e"));
  EXPECT_EQ(platform::d3dx::ImageFileReadCount(), readsBefore);
  EXPECT_EQ(ahead.scenes[0]->m_renderContext.device, gpu.device);
  EXPECT_EQ(ahead.scenes[0]->m_renderContext.textures, &decodedAhead);
  EXPECT_EQ(ahead.scenes[0]->aspect, 2.0f);
  ASSERT_TRUE(inTurn.Load("textured.c4e"));
  EXPECT_EQ(platform::d3dx::ImageFileReadCount() - readsBefore, 2u);

  const Material& early = *ahead.scenes[0]->materials[0];
  const Material& late = *inTurn.scenes[0]->materials[0];
  ASSERT_NE(early.diffuseTexture, nullptr);
  ASSERT_NE(early.reflectionTexture, nullptr);
  for (const auto& [a, b] : {std::pair{early.diffuseTexture, late.diffuseTexture},
                             std::pair{early.reflectionTexture, late.reflectionTexture}}) {
    D3D11_SHADER_RESOURCE_VIEW_DESC descA;
    D3D11_SHADER_RESOURCE_VIEW_DESC descB;
    a->GetDesc(&descA);
    b->GetDesc(&descB);
    EXPECT_EQ(descA.ViewDimension, descB.ViewDimension);
    EXPECT_EQ(descA.Format, descB.Format);
  }
  std::vector<uint8_t> texelsA(rgba.size());
  std::vector<uint8_t> texelsB(rgba.size());
  glGetTextureImage(early.diffuseTexture->glTexture(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                    static_cast<GLsizei>(texelsA.size()), texelsA.data());
  glGetTextureImage(late.diffuseTexture->glTexture(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                    static_cast<GLsizei>(texelsB.size()), texelsB.data());
  EXPECT_EQ(texelsA, rgba);
  EXPECT_EQ(texelsA, texelsB);
  testing_support::ExpectNoGLErrors();
}

TEST_F(SceneLoaderTest, FailuresShowTheStepCaptionedWithTheFileName) {
  SceneLoader loader{RenderContext{}};
  std::vector<uint8_t> bytes = c4e::WriteScene(CompleteScene());
  bytes.resize(bytes.size() - 3);
  EXPECT_FALSE(loader.LoadFromMemory("cut.c4e", bytes));
  EXPECT_EQ(Messages("cut.c4e"), std::vector<std::string>{"lights"});
  EXPECT_TRUE(loader.scenes.empty());
  ASSERT_NE(loader.current, nullptr);  // the failed scene stays reachable
  EXPECT_EQ(loader.current->name, "complete");
}

TEST_F(SceneLoaderTest, MissingTexturesShowTheirOwnMessageFirst) {
  TempDirectory directory(true);
  TextureCache textures(nullptr);
  RenderContext context;
  context.textures = &textures;
  SceneLoader loader(context);

  struct Case {
    const char* mapName;
    void (*set)(c4e::Material&, const char*);
    std::string expected;
  };
  const Case cases[] = {
      {"wood.jpg", [](c4e::Material& m, const char* n) { m.hasDiffuseMap = true; m.diffuseMap = n; },
       "couldn't load texture: wood.jpg"},
      {"bump.png", [](c4e::Material& m, const char* n) { m.hasNormalMap = true; m.normalMap = n; },
       "couldn't load normal texture: bump.png"},
      {"glow.png", [](c4e::Material& m, const char* n) { m.hasLuminanceMap = true; m.luminanceMap = n; },
       "couldn't load luminance texture: glow.png"},
      {"env.jpg", [](c4e::Material& m, const char* n) { m.hasEnvironmentMap = true; m.environmentMap = n; },
       "couldn't load environment texture: env.jpg"},
      {"env.png", [](c4e::Material& m, const char* n) { m.hasReflectionMap = true; m.reflectionMap = n; },
       "couldn't load reflection texture: env.dds"},
      {"a.jpeg", [](c4e::Material& m, const char* n) { m.hasReflectionMap = true; m.reflectionMap = n; },
       "couldn't load reflection texture: a.ddsg"},
      {"sky", [](c4e::Material& m, const char* n) { m.hasReflectionMap = true; m.reflectionMap = n; },
       "couldn't load reflection texture: sky"},
  };
  for (const Case& c : cases) {
    c4e::Scene scene = CompleteScene();
    c.set(scene.materials[0], c.mapName);
    EXPECT_FALSE(loader.LoadFromMemory("textured.c4e", c4e::WriteScene(scene)));
    EXPECT_EQ(Messages("textured.c4e"), (std::vector<std::string>{c.expected, "materials"}));
  }
  // The materials come first: their texture is reported, not what is wrong further on.
  c4e::Scene scene = CompleteScene();
  cases[0].set(scene.materials[0], cases[0].mapName);
  std::vector<uint8_t> cut = c4e::WriteScene(scene);
  cut.resize(cut.size() - 3);
  EXPECT_FALSE(loader.LoadFromMemory("textured.c4e", cut));
  EXPECT_EQ(Messages("textured.c4e"), (std::vector<std::string>{cases[0].expected, "materials"}));
  EXPECT_EQ(ReflectionTextureName("x."), "x.dds");
  EXPECT_EQ(ReflectionTextureName("dir.v2/cube.hdr"), "dir.v2/cube.dds");
}

TEST_F(SceneLoaderTest, OpaqueMeshesSortBeforeTransparentOnesInFileOrder) {
  c4e::Scene description;
  c4e::Material glass = PlainMaterial("glass");
  glass.transparent = true;
  glass.transparency = 0.25f;
  description.materials = {glass, PlainMaterial("stone")};
  const char* materials[] = {"glass", "stone", "glass", "stone"};
  for (int i = 0; i < 4; ++i) {
    c4e::PolyObject mesh = Triangles(static_cast<uint64_t>(i + 1), materials[i], 1);
    mesh.name = "mesh" + std::to_string(i);
    description.polyObjects.push_back(mesh);
  }
  const ReadResult result = ReadScene(description);
  ASSERT_EQ(result.message, nullptr);
  std::vector<std::string> order;
  for (const auto& object : result.scene->polyObjects) order.push_back(object->name);
  EXPECT_EQ(order, (std::vector<std::string>{"mesh1", "mesh3", "mesh0", "mesh2"}));
  EXPECT_EQ(result.scene->polyObjects[2]->material->transparency, 0.25f);
}

// Mixed lists of opaque meshes (o), transparent meshes (t) and dummies (d), read through the
// loader: opaque before transparent, each group in file order, every dummy before each mesh that
// follows it in the file.
TEST_F(SceneLoaderTest, MixedListsWithDummiesSortIntoTwoOrderedGroups) {
  auto check = [](const std::string& kinds) {
    c4e::Scene description;
    c4e::Material glass = PlainMaterial("glass");
    glass.transparent = true;
    description.materials = {glass, PlainMaterial("stone")};
    for (size_t i = 0; i < kinds.size(); ++i) {
      c4e::PolyObject object;
      if (kinds[i] == 'd') {
        object.isDummy = true;
        object.id = 1000 + i;
      } else {
        object = Triangles(1000 + i, kinds[i] == 't' ? "glass" : "stone", 1);
      }
      object.name = std::to_string(i);
      description.polyObjects.push_back(object);
    }
    const ReadResult result = ReadScene(description);
    ASSERT_EQ(result.message, nullptr) << kinds;
    std::vector<size_t> filePosition;
    for (const auto& object : result.scene->polyObjects) filePosition.push_back(std::stoul(object->name));
    ASSERT_EQ(filePosition.size(), kinds.size());
    std::vector<size_t> drawnAt(kinds.size());
    for (size_t k = 0; k < filePosition.size(); ++k) drawnAt[filePosition[k]] = k;
    for (size_t a = 0; a < kinds.size(); ++a) {
      for (size_t b = 0; b < kinds.size(); ++b) {
        const bool opaqueFirst = kinds[a] == 'o' && kinds[b] == 't';
        const bool sameGroupInFileOrder = a < b && kinds[a] == kinds[b] && kinds[a] != 'd';
        const bool dummyBeforeLaterMesh = a < b && kinds[a] == 'd' && kinds[b] != 'd';
        if (opaqueFirst || sameGroupInFileOrder || dummyBeforeLaterMesh) {
          EXPECT_LT(drawnAt[a], drawnAt[b]) << kinds << ": " << a << " before " << b;
        }
      }
    }
  };
  check("tdtootd");
  check("dtdo");
  check("ttd");
  check("ddd");
  uint32_t state = 12345;
  for (int list = 0; list < 200; ++list) {
    std::string kinds;
    const int length = 2 + list % 9;
    for (int i = 0; i < length; ++i) {
      state = state * 1664525u + 1013904223u;
      kinds.push_back("otd"[(state >> 16) % 3]);
    }
    check(kinds);
  }
}

TEST_F(SceneLoaderTest, CountersAndTheStatisticsLine) {
  c4e::Scene description;
  description.name = "stats";
  description.polyObjects.push_back(Triangles(1, "none", 8));
  description.polyObjects.push_back(Triangles(2, "none", 12));
  c4e::PolyObject dummy;
  dummy.isDummy = true;
  dummy.id = 3;
  description.polyObjects.push_back(dummy);
  description.cameras.push_back(CameraLookingAt(3));
  description.lights.push_back(LightPointingAt(1));
  description.materials.push_back(PlainMaterial("unused"));
  const ReadResult result = ReadScene(description);
  ASSERT_EQ(result.message, nullptr);
  const Scene& scene = *result.scene;
  EXPECT_EQ(scene.polygonTotal, 20);
  EXPECT_EQ(scene.vertexTotal, 60);
  EXPECT_EQ(scene.meshCount, 2);
  EXPECT_EQ(scene.polyObjectCount, 3);
  EXPECT_EQ(scene.StatisticsLine(),
            "scene:stats, objects:3(2), cams:1(1), mats:1, lights:1, vertices:60(60), polys:20, frame:0, "
            "time:0ms, speed:1x");
}

TEST_F(SceneLoaderTest, MeshVertexDataNormalsAndDefaultMaterial) {
  c4e::Scene description;
  c4e::PolyObject flat = Pyramid(1, "nowhere");  // names no material
  flat.smoothNormals = false;
  c4e::PolyObject smooth = Pyramid(2, "none");
  smooth.smoothNormals = true;
  description.polyObjects = {flat, smooth};
  const ReadResult result = ReadScene(description);
  ASSERT_EQ(result.message, nullptr);
  const PolyObject& flatMesh = *result.scene->polyObjects[0];
  const PolyObject& smoothMesh = *result.scene->polyObjects[1];

  // Unresolved names draw with a grey opaque default.
  ASSERT_NE(flatMesh.material, nullptr);
  EXPECT_FALSE(flatMesh.material->transparent);
  EXPECT_EQ(flatMesh.vertexData[0].color, D3DXCOLOR(0.5f, 0.5f, 0.5f, 0.0f));
  EXPECT_TRUE(result.scene->materials.empty());

  // Triangle 2 is (0, 4, 1): the side facing −z.
  for (int corner = 6; corner < 9; ++corner) {
    const D3DXVECTOR3& n = flatMesh.vertexData[corner].normal;
    EXPECT_NEAR(n.x, 0.0f, 1e-6f);
    EXPECT_NEAR(n.y, 1.0f / std::sqrt(5.0f), 1e-6f);
    EXPECT_NEAR(n.z, -2.0f / std::sqrt(5.0f), 1e-6f);
  }
  // Smooth: the apex (vertex 4) gets the normalised sum of its four sides, straight up.
  const D3DXVECTOR3& apex = smoothMesh.vertexData[7].normal;
  EXPECT_NEAR(apex.x, 0.0f, 1e-6f);
  EXPECT_NEAR(apex.y, 1.0f, 1e-6f);
  EXPECT_NEAR(apex.z, 0.0f, 1e-6f);

  // Corner k of the buffer is corner k mod 3 of triangle k / 3.
  EXPECT_EQ(flatMesh.vertexData[7].position, D3DXVECTOR3(0, 2, 0));
  EXPECT_EQ(flatMesh.vertexData[8].position, D3DXVECTOR3(1, 0, -1));
  // Without a uv scale the texture space is undefined; the tangent frame still is a unit frame.
  const MeshVertex& v = flatMesh.vertexData[0];
  EXPECT_NEAR(D3DXVec3Length(&v.tangent), 1.0f, 1e-6f);
  EXPECT_NEAR(D3DXVec3Length(&v.binormal), 1.0f, 1e-6f);
}

TEST_F(SceneLoaderTest, TangentsFollowTheTextureAxes) {
  c4e::Scene description;
  c4e::PolyObject quad = Triangles(1, "stone", 1);
  quad.uvScale[0] = 2.0f;
  quad.uvScale[1] = 2.0f;
  description.materials.push_back(PlainMaterial("stone"));
  description.polyObjects.push_back(quad);
  const ReadResult result = ReadScene(description);
  ASSERT_EQ(result.message, nullptr);
  const PolygonRecord& polygon = result.scene->polyObjects[0]->polygons[0];
  // u runs along +x and v along +y in this triangle.
  EXPECT_EQ(polygon.tangent, D3DXVECTOR3(1, 0, 0));
  EXPECT_EQ(polygon.binormal, D3DXVECTOR3(0, 1, 0));
  EXPECT_EQ(polygon.faceNormal, D3DXVECTOR3(0, 0, 1));
  EXPECT_EQ(result.scene->polyObjects[0]->vertexData[1].texcoord, D3DXVECTOR2(2, 0));
}

}  // namespace
}  // namespace scene_test
