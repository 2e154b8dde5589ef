// Scene materials are drawn by programs compiled with the material's switches, the lights and
// the shadow flag fixed; these draws hold them to the general program, pixel for pixel, on
// the lab, whose materials and lights use every switch the program has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "LabRenderFixture.h"
#include "platform/d3d11/shader_code.h"
#include "platform/d3dx/d3dx11async.h"
#include "LabScene.h"
#include "scene/C4eParameters.h"
#include "scene/Environment.h"
#include "scene/Light.h"
#include "scene/Material.h"

namespace scene_test {
namespace {

TEST(C4eProgramKeyTest, TheKeyTellsApartEverySwitchTheProgramBranchesOnAndNothingElse) {
  C4eMaterialBufferType material = {};
  C4eLightsBufferType lights = {};
  lights.lightCount = 3;
  lights.listed[0][3] = 0.0f;  // omni
  lights.listed[1][3] = 2.0f;  // spot
  lights.listed[2][3] = 1.0f;  // directional
  const uint32_t plain = C4eProgramKey(material, lights);

  uint32_t* switches[] = {&material.hasDiffuseMap,   &material.hasSpecular,       &material.hasNormalMap,
                          &material.transparent,     &material.hasLuminanceMap,   &material.hasEnvironmentMap,
                          &material.hasReflectionMap, &lights.flag};
  std::vector<uint32_t> keys = {plain};
  for (uint32_t* flag : switches) {
    *flag = 1;
    keys.push_back(C4eProgramKey(material, lights));
    *flag = 0;
  }
  for (int kind : {0, 1, 2}) {
    C4eLightsBufferType changed = lights;
    if (kind == static_cast<int>(lights.listed[1][3])) continue;
    changed.listed[1][3] = static_cast<float>(kind);
    keys.push_back(C4eProgramKey(material, changed));
  }
  C4eLightsBufferType fewer = lights;
  fewer.lightCount = 2;
  keys.push_back(C4eProgramKey(material, fewer));
  std::vector<uint32_t> distinct = keys;
  std::sort(distinct.begin(), distinct.end());
  EXPECT_EQ(std::unique(distinct.begin(), distinct.end()), distinct.end()) << "two different draws share a program";

  // Values the program reads at run time, per mesh or per frame, share the program.
  C4eMaterialBufferType coloured = material;
  coloured.diffuseValue = 0.7f;
  coloured.specularPower = 40.0f;
  coloured.opacity = 0.3f;
  C4eLightsBufferType moved = lights;
  moved.listed[0][0] = 1.0f;  // this mesh is in the first light's list
  moved.position[2][1] = 500.0f;
  moved.color[1][0] = 0.2f;
  moved.ambient[0] = 0.5f;
  EXPECT_EQ(C4eProgramKey(coloured, moved), plain);

  // A kind the program does not know lights as omni, a damaged file's number beyond any int
  // included; the kinds of unused entries do not count; the count is held to the eight
  // entries the buffer has.
  C4eLightsBufferType odd = lights;
  odd.listed[0][3] = 7.0f;
  odd.listed[1][3] = 3.0e9f;
  odd.listed[5][3] = 2.0f;
  C4eLightsBufferType omni = lights;
  omni.listed[1][3] = 0.0f;
  EXPECT_EQ(C4eProgramKey(material, odd), C4eProgramKey(material, omni));
  C4eLightsBufferType many = lights, eight = lights;
  many.lightCount = 40;
  eight.lightCount = 8;
  EXPECT_EQ(C4eProgramKey(material, many), C4eProgramKey(material, eight));
  C4eLightsBufferType none = lights;
  none.lightCount = -2;
  const PixelShaderVariants::Defines defines = C4eProgramDefines(C4eProgramKey(material, none));
  EXPECT_NE(std::find(defines.begin(), defines.end(), std::pair<std::string, std::string>("C4E_LIGHTS", "0")),
            defines.end());
  EXPECT_NE(std::find(defines.begin(), defines.end(), std::pair<std::string, std::string>("C4E_LIGHT_KINDS", "0")),
            defines.end());
}

// llvmpipe keeps a loop over the light slots and runs every slot's code for every pixel, lit or
// not, which once cost the scenes a third of their frame. A program must read each light it has
// at a fixed slot, and nothing of the slots it lacks.
TEST(C4eProgramKeyTest, AProgramReadsTheLightsItHasAtFixedSlotsAndNoOthers) {
  const char* sourceDirectory = std::getenv("PULSAR_SOURCE_DIR");
  ASSERT_NE(sourceDirectory, nullptr);
  const std::string path = std::string(sourceDirectory) + "/content/shaders/c4e_PS.hlsl";
  C4eMaterialBufferType material{};
  material.hasSpecular = 1;
  C4eLightsBufferType lights{};
  lights.lightCount = 2;
  lights.listed[1][3] = 2.0f;  // a spot
  const PixelShaderVariants::Defines defines = C4eProgramDefines(C4eProgramKey(material, lights));
  std::vector<D3D10_SHADER_MACRO> macros;
  for (const auto& [name, value] : defines) macros.push_back({name.c_str(), value.c_str()});
  macros.push_back({nullptr, nullptr});

  ID3D10Blob* blob = nullptr;
  ASSERT_TRUE(SUCCEEDED(D3DX11CompileFromFileW(path.c_str(), macros.data(), nullptr, "c4e_PS", "ps_5_0", 0, 0,
                                               nullptr, &blob, nullptr, nullptr)));
  platform::d3d11::ShaderStageCode code;
  const bool parsed = platform::d3d11::ParseShaderCode(blob->GetBufferPointer(), blob->GetBufferSize(), &code);
  blob->Release();
  ASSERT_TRUE(parsed);
  for (const char* field : {"lightPosition", "lightColor", "lightTerms"}) {
    const std::string name(field);
    EXPECT_NE(code.glsl.find(name + "[0]"), std::string::npos) << name;
    EXPECT_NE(code.glsl.find(name + "[1]"), std::string::npos) << name;
    EXPECT_EQ(code.glsl.find(name + "[2]"), std::string::npos) << name;
    EXPECT_FALSE(std::regex_search(code.glsl, std::regex(name + R"(\[[^0-9])"))) << name << " read at a varying slot";
  }
}

class MaterialVariantTest : public LabSuite {
 protected:
  std::vector<uint8_t> MaterialPass(Scene* scene, bool shadows, bool variants) {
    s_lab->shaders.c4eShader->useVariants = variants;
    s_lab->Pose(scene, 3000, 0);
    if (shadows) s_lab->ShadowPass(scene);
    s_lab->ClearBackBuffer();
    scene->Render(s_lab->shadowMap->shaderResourceView, false, shadows, s_lab->Projection());
    return s_lab->Pixels();
  }

  // Draws the scene with the general program and with its variants (made first) and compares.
  void ExpectSamePixels(Scene* scene, bool shadows, const char* what) {
    C4eShader* program = s_lab->shaders.c4eShader;
    MaterialPass(scene, shadows, true);  // asks for the variants this draw needs
    ASSERT_TRUE(program->variants.WaitForAll()) << what << ": a variant did not compile";
    for (const auto& mesh : scene->polyObjects) {
      if (mesh->isDummy || mesh->material == nullptr) continue;
      const uint32_t key = C4eProgramKey(MakeMaterialBuffer(*mesh->material),
                                         MakeLightsBuffer(*scene->environment, scene->lights, shadows));
      ASSERT_NE(program->variants.Find(key), nullptr) << what << ": no variant for key " << key;
    }
    const std::vector<uint8_t> general = MaterialPass(scene, shadows, false);
    const std::vector<uint8_t> specialised = MaterialPass(scene, shadows, true);
    program->useVariants = true;
    ASSERT_EQ(general.size(), specialised.size());
    int largest = 0;
    size_t at = 0, lit = 0;
    for (size_t i = 0; i < general.size(); ++i) {
      const int d = std::abs(int(general[i]) - int(specialised[i]));
      if (d > largest) largest = d, at = i / 4;
      lit += general[i] > 8 ? 1 : 0;
    }
    EXPECT_GT(lit, general.size() / 4) << what << ": the lab should fill the picture";
    EXPECT_LE(largest, 1) << what << ": pixel (" << at % LabRenderFixture::kWidth << ", "
                          << at / LabRenderFixture::kWidth << ")";
  }

  Scene* LoadChanged(const std::string& fileName, const std::function<void(c4e::Scene&)>& change) {
    c4e::Scene description = lab::LabScene();
    change(description);
    description.objectCount = static_cast<int32_t>(description.polyObjects.size() + description.cameras.size() +
                                                   description.lights.size());
    return s_lab->Load(description, fileName);
  }

};

TEST_F(MaterialVariantTest, EveryLabMaterialMatchesTheGeneralProgramWithAndWithoutShadows) {
  Scene* lab = LoadChanged("lab.c4e", [](c4e::Scene&) {});
  ASSERT_NE(lab, nullptr);
  ExpectSamePixels(lab, false, "three lights");
  ExpectSamePixels(lab, true, "three lights, shadows");
}

TEST_F(MaterialVariantTest, FewerLightsOtherKindsAndExcludedMeshesMatchToo) {
  // The key light alone; the spot first with the key light's list holding the floor; a light
  // of a kind the program does not know (lit as omni); no light at all (ambient only).
  Scene* keyOnly = LoadChanged("lab_key.c4e", [](c4e::Scene& d) { d.lights.resize(1); });
  Scene* spotFirst = LoadChanged("lab_spot.c4e", [](c4e::Scene& d) {
    std::swap(d.lights[0], d.lights[1]);
    d.lights[1].objectList = {lab::kFloorId};
  });
  Scene* unknownKind = LoadChanged("lab_kind.c4e", [](c4e::Scene& d) { d.lights[2].type = 5; });
  Scene* dark = LoadChanged("lab_dark.c4e", [](c4e::Scene& d) {
    d.lights.clear();
    d.environment.ambientColor = {0.5f, 0.45f, 0.4f};
  });
  for (Scene* scene : {keyOnly, spotFirst, unknownKind, dark}) ASSERT_NE(scene, nullptr);
  ExpectSamePixels(keyOnly, true, "key light alone, shadows");
  ExpectSamePixels(spotFirst, true, "spot first, shadows");
  ExpectSamePixels(unknownKind, false, "unknown kind");
  ExpectSamePixels(dark, false, "no lights");
}

// The show asks for a scene's programs from its keys long before drawing it: those keys must be
// exactly the ones its draws then use, or the first frame waits for the rest after all.
TEST_F(MaterialVariantTest, TheKeysASceneListsAheadAreTheOnesItsDrawsAskFor) {
  Scene* lab = LoadChanged("lab.c4e", [](c4e::Scene&) {});
  ASSERT_NE(lab, nullptr);
  C4eShader* program = s_lab->shaders.c4eShader;
  for (bool shadows : {false, true}) {
    program->variants.Release();
    const auto keys = lab->MaterialProgramKeys(shadows);
    ASSERT_FALSE(keys.empty());
    for (const auto& [position, key] : keys) {
      EXPECT_FALSE(lab->polyObjects[position]->isDummy);
      program->variants.Request(key);
    }
    ASSERT_TRUE(program->variants.WaitForAll());
    const size_t listed = program->variants.MadeCount();
    MaterialPass(lab, shadows, true);
    ASSERT_TRUE(program->variants.WaitForAll());
    EXPECT_EQ(program->variants.MadeCount(), listed) << "the draws asked for a program the list left out, shadows "
                                                     << shadows;
  }
}

}  // namespace
}  // namespace scene_test
