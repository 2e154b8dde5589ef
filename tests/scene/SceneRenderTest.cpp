// The scene's material, shadow and camera depth passes on llvmpipe, drawn with the lab scene.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "LabRenderFixture.h"
#include "LabScene.h"
#include "scene/C4eParameters.h"

namespace scene_test {
namespace {

class SceneRenderTest : public LabSuite {
 protected:
  // The lab loaded under a name of its own, with a change applied to its description.
  template <class Change>
  Scene* LoadVariant(const std::string& fileName, Change change) {
    c4e::Scene description = lab::LabScene();
    change(description);
    return s_lab->Load(description, fileName);
  }
  Scene* LoadLab() {
    return LoadVariant("lab.c4e", [](c4e::Scene&) {});
  }

  std::vector<uint8_t> MaterialPass(Scene* scene, bool shadows) {
    if (shadows) s_lab->ShadowPass(scene);
    s_lab->ClearBackBuffer();
    scene->Render(s_lab->shadowMap->shaderResourceView, false, shadows, s_lab->Projection());
    return s_lab->Pixels();
  }

  // Draws made alone, as the show rehearses its programs before a scene: the back buffer's
  // pixels they light through the viewport.
  static constexpr D3D11_VIEWPORT kEmptyViewport = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
  static constexpr D3D11_VIEWPORT kWholeViewport = {0.0f, 0.0f, float(LabRenderFixture::kWidth),
                                                    float(LabRenderFixture::kHeight), 0.0f, 1.0f};
  template <typename Draw>
  static size_t LitPixelsThrough(const D3D11_VIEWPORT& viewport, Draw draw) {
    s_lab->ClearBackBuffer();
    s_lab->gpu.context->RSSetViewports(1, &viewport);
    draw();
    const std::vector<uint8_t> pixels = s_lab->Pixels();
    size_t lit = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) lit += pixels[i] + pixels[i + 1] + pixels[i + 2] > 0 ? 1 : 0;
    return lit;
  }

  static c4e::Material& MaterialNamed(c4e::Scene& description, const std::string& name) {
    return *std::find_if(description.materials.begin(), description.materials.end(),
                         [&](const c4e::Material& m) { return m.name == name; });
  }

};

float FloatAt(const std::vector<uint8_t>& bytes, size_t offset) {
  float value = 0.0f;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

uint32_t UintAt(const std::vector<uint8_t>& bytes, size_t offset) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

D3DXMATRIX MatrixAt(const std::vector<uint8_t>& bytes, size_t offset) {
  D3DXMATRIX stored;
  std::memcpy(&stored, bytes.data() + offset, sizeof(stored));
  D3DXMATRIX matrix;
  D3DXMatrixTranspose(&matrix, &stored);  // buffers hold the transpose
  return matrix;
}

TEST_F(SceneRenderTest, TransparentMeshesBlendOverOpaqueOnesAndTheStatesAreRestoredAfterwards) {
  // The glass column is the first mesh of the file; drawn first without depth writes, the backdrop
  // would cover it completely.
  Scene* lab = LoadLab();
  ASSERT_NE(lab, nullptr);
  EXPECT_TRUE(lab->polyObjects.back()->material->transparent);
  s_lab->Pose(lab, 0, 0);
  const std::vector<uint8_t> withGlass = MaterialPass(lab, false);

  ID3D11BlendState* blend = nullptr;
  FLOAT factor[4] = {1, 1, 1, 1};
  UINT mask = 0;
  s_lab->gpu.context->OMGetBlendState(&blend, factor, &mask);
  EXPECT_EQ(blend, s_lab->states.blendOpaque);
  EXPECT_EQ(factor[0], 0.0f);
  EXPECT_EQ(factor[3], 0.0f);
  EXPECT_EQ(mask, 0xFFFFFFFFu);
  ID3D11DepthStencilState* depth = nullptr;
  UINT reference = 0;
  s_lab->gpu.context->OMGetDepthStencilState(&depth, &reference);
  EXPECT_EQ(depth, s_lab->states.depthOn);
  EXPECT_EQ(reference, 1u);
  ID3D11RasterizerState* raster = nullptr;
  s_lab->gpu.context->RSGetState(&raster);
  EXPECT_EQ(raster, s_lab->states.rasterCullBack);
  for (IUnknown* bound : std::initializer_list<IUnknown*>{blend, depth, raster})
    if (bound != nullptr) bound->Release();

  Scene* without = LoadVariant("lab_noglass.c4e", [](c4e::Scene& d) {
    d.polyObjects.erase(std::remove_if(d.polyObjects.begin(), d.polyObjects.end(),
                                       [](const c4e::PolyObject& o) { return o.id == lab::kGlassId; }),
                        d.polyObjects.end());
  });
  ASSERT_NE(without, nullptr);
  s_lab->Pose(without, 0, 0);
  const std::vector<uint8_t> withoutGlass = MaterialPass(without, false);

  int x = 0, y = 0;
  s_lab->Project(lab, D3DXVECTOR3(-175.0f, 60.0f, 70.0f), &x, &y);
  ASSERT_TRUE(x > 2 && y > 2 && x < LabRenderFixture::kWidth - 3 && y < LabRenderFixture::kHeight - 3);
  const size_t at = (static_cast<size_t>(y) * LabRenderFixture::kWidth + x) * 4;
  int difference = 0;
  for (int c = 0; c < 3; ++c) difference += std::abs(withGlass[at + c] - withoutGlass[at + c]);
  EXPECT_GT(difference, 12) << "the glass column left no trace over what lies behind it: "
                            << int(withGlass[at]) << " " << int(withGlass[at + 1]) << " " << int(withGlass[at + 2])
                            << " against " << int(withoutGlass[at]) << " " << int(withoutGlass[at + 1]) << " "
                            << int(withoutGlass[at + 2]);
  // It is see-through: what lies behind still shows, so the column is not simply painted opaque.
  EXPECT_LT(withGlass[at + 3], 255) << "a transparent surface leaves its opacity in alpha";
}

TEST_F(SceneRenderTest, AnAllOpaqueSceneNeverBindsBlendAlpha) {
  // blendAlpha is swapped for a state that writes nothing: any mesh drawn with it disappears.
  D3D11_BLEND_DESC invisible = {};
  invisible.RenderTarget[0].BlendEnable = FALSE;
  invisible.RenderTarget[0].SrcBlend = D3D11_BLEND_ONE;
  invisible.RenderTarget[0].DestBlend = D3D11_BLEND_ZERO;
  invisible.RenderTarget[0].BlendOp = D3D11_BLEND_OP_ADD;
  invisible.RenderTarget[0].SrcBlendAlpha = D3D11_BLEND_ONE;
  invisible.RenderTarget[0].DestBlendAlpha = D3D11_BLEND_ZERO;
  invisible.RenderTarget[0].BlendOpAlpha = D3D11_BLEND_OP_ADD;
  invisible.RenderTarget[0].RenderTargetWriteMask = 0;
  ID3D11BlendState* trap = nullptr;
  ASSERT_TRUE(SUCCEEDED(s_lab->gpu.device->CreateBlendState(&invisible, &trap)));

  Scene* opaque = LoadVariant("lab_opaque.c4e", [](c4e::Scene& d) { MaterialNamed(d, "glass").transparent = false; });
  Scene* lab = LoadLab();
  ASSERT_NE(opaque, nullptr);
  ASSERT_NE(lab, nullptr);
  ID3D11BlendState* real = s_lab->states.blendAlpha;
  std::vector<uint8_t> images[2][2];  // [scene][trap on]
  Scene* scenes[2] = {opaque, lab};
  for (int s = 0; s < 2; ++s)
    for (int trapped = 0; trapped < 2; ++trapped) {
      s_lab->states.blendAlpha = trapped ? trap : real;
      s_lab->Pose(scenes[s], 0, 0);
      images[s][trapped] = MaterialPass(scenes[s], false);
    }
  s_lab->states.blendAlpha = real;
  trap->Release();

  EXPECT_TRUE(images[0][0] == images[0][1]) << "an opaque mesh was drawn with blendAlpha";
  EXPECT_FALSE(images[1][0] == images[1][1]) << "the trap must catch the lab's glass";
}

TEST_F(SceneRenderTest, TheFirstLightsShadowDarkensTheFloorOnlyWhereItFalls) {
  Scene* lab = LoadLab();
  ASSERT_NE(lab, nullptr);
  s_lab->Pose(lab, 0, 0);
  s_lab->LookFromAbove(lab);
  const std::vector<uint8_t> plain = MaterialPass(lab, false);
  const std::vector<uint8_t> shadowed = MaterialPass(lab, true);

  // The key light stands at (−430, 880, −420): the chrome ball (centre 140 units up) throws its
  // shadow to about (81, 0, 79); the glass column's falls around (−130, 0, 115). The floor
  // towards the light is open.
  struct Probe {
    D3DXVECTOR3 world;
    bool inShadow;
  };
  const Probe probes[] = {{{81.0f, 0.0f, 79.0f}, true},
                          {{-130.0f, 0.0f, 115.0f}, true},
                          {{-250.0f, 0.0f, -250.0f}, false},
                          {{250.0f, 0.0f, -300.0f}, false},
                          {{-300.0f, 0.0f, 150.0f}, false}};
  for (const Probe& probe : probes) {
    SCOPED_TRACE(testing::Message() << probe.world.x << ", " << probe.world.z);
    int x = 0, y = 0;
    s_lab->Project(lab, probe.world, &x, &y);
    ASSERT_TRUE(x > 2 && y > 2 && x < LabRenderFixture::kWidth - 3 && y < LabRenderFixture::kHeight - 3);
    const float lit = AreaBrightness(plain, x, y, 1);
    const float seen = AreaBrightness(shadowed, x, y, 1);
    ASSERT_GT(lit, 40.0f) << "the floor should be lit here without shadows";
    if (probe.inShadow) {
      EXPECT_LT(seen, 0.75f * lit);
    } else {
      EXPECT_NEAR(seen, lit, 2.0f);
    }
  }
}

TEST_F(SceneRenderTest, InTheShadowPassAMeshTheFirstLightListsIsDrawnWithTheMaterialProgram) {
  // The glass column is drawn last, so the programs bound afterwards are the ones that drew it.
  Scene* lab = LoadLab();
  Scene* listing = LoadVariant("lab_listed.c4e", [](c4e::Scene& d) { d.lights[0].objectList = {lab::kGlassId}; });
  ASSERT_NE(lab, nullptr);
  ASSERT_NE(listing, nullptr);
  ID3D11PixelShader* drawnWith = nullptr;

  s_lab->Pose(lab, 0, 0);
  s_lab->ShadowPass(lab);
  s_lab->gpu.context->PSGetShader(&drawnWith, nullptr, nullptr);
  EXPECT_EQ(drawnWith, s_lab->shaders.depthShader->pixelShader);
  if (drawnWith != nullptr) drawnWith->Release();
  // The depth program drew it from the light.
  const std::vector<uint8_t> depthTransforms = s_lab->BoundConstantBuffer(false, 0);
  ASSERT_EQ(depthTransforms.size(), 192u);
  EXPECT_EQ(MatrixAt(depthTransforms, 64), lab->lights[0]->lightView);
  EXPECT_EQ(MatrixAt(depthTransforms, 128), lab->lights[0]->lightProjection);

  // Which of the material program's forms draws it depends on whether its specialised form is
  // made yet; the general one stands for them all here.
  s_lab->shaders.c4eShader->useVariants = false;
  s_lab->Pose(listing, 0, 0);
  s_lab->ShadowPass(listing);
  s_lab->shaders.c4eShader->useVariants = true;
  s_lab->gpu.context->PSGetShader(&drawnWith, nullptr, nullptr);
  EXPECT_EQ(drawnWith, s_lab->shaders.c4eShader->pixelShader);
  if (drawnWith != nullptr) drawnWith->Release();
  // The material program drew it through the camera, with the caller's projection.
  const std::vector<uint8_t> transforms = s_lab->BoundConstantBuffer(false, 0);
  ASSERT_EQ(transforms.size(), 320u);
  EXPECT_EQ(MatrixAt(transforms, 64), listing->cameras[0]->view);
  EXPECT_EQ(MatrixAt(transforms, 128), s_lab->Projection());
  EXPECT_EQ(MatrixAt(transforms, 192), listing->lights[0]->lightView);
  // The shadow map is the target of this pass, so it is not also read as slot 4.
  ID3D11ShaderResourceView* slot4 = s_lab->shadowMap->shaderResourceView;
  s_lab->gpu.context->PSGetShaderResources(4, 1, &slot4);
  EXPECT_EQ(slot4, nullptr);
  if (slot4 != nullptr) slot4->Release();
}

TEST_F(SceneRenderTest, TheCameraDepthPassLeavesOutTransparentMeshes) {
  Scene* lab = LoadLab();
  Scene* opaque = LoadVariant("lab_opaque.c4e", [](c4e::Scene& d) { MaterialNamed(d, "glass").transparent = false; });
  ASSERT_NE(lab, nullptr);
  ASSERT_NE(opaque, nullptr);
  // Far plane 2000 so the 150 units of the column's height show in 8-bit depth.
  D3DXMATRIX projection;
  D3DXMatrixPerspectiveFovLH(&projection, 3.14159265f / 4.0f,
                             static_cast<float>(LabRenderFixture::kWidth) / LabRenderFixture::kHeight, 1.0f, 2000.0f);
  auto depthImage = [&](Scene* scene) {
    s_lab->Pose(scene, 0, 0);
    s_lab->LookFromAbove(scene);
    s_lab->ClearBackBuffer();
    scene->DepthRender(projection);
    return s_lab->Pixels();
  };
  const std::vector<uint8_t> withGlass = depthImage(lab);
  const std::vector<uint8_t> solidGlass = depthImage(opaque);

  int x = 0, y = 0;
  s_lab->Project(lab, D3DXVECTOR3(-175.0f, 150.0f, 70.0f), &x, &y);
  const size_t at = (static_cast<size_t>(y) * LabRenderFixture::kWidth + x) * 4;
  // Linear depth in red: the floor 1 000 units below the camera is about 0.5, the column's top 0.43.
  EXPECT_NEAR(withGlass[at] / 255.0f, (1000.0f - 1.0f) / 1999.0f, 0.02f);
  EXPECT_NEAR(solidGlass[at] / 255.0f, (850.0f - 1.0f) / 1999.0f, 0.02f);
  // Seen from above, both face the camera: the view-space normal's x and y are 0 (0.5 stored).
  EXPECT_NEAR(withGlass[at + 1], 128, 3);
  EXPECT_NEAR(withGlass[at + 2], 128, 3);
}

TEST_F(SceneRenderTest, TheViewIsTheCameraViewOutsideRollAndShakeEvents) {
  Scene* lab = LoadLab();
  ASSERT_NE(lab, nullptr);
  s_lab->Pose(lab, 2000, 1);
  EXPECT_EQ(lab->RenderView(), lab->cameras[1]->view);
  MaterialPass(lab, false);
  const std::vector<uint8_t> transforms = s_lab->BoundConstantBuffer(false, 0);
  ASSERT_EQ(transforms.size(), 320u);
  EXPECT_EQ(MatrixAt(transforms, 64), lab->cameras[1]->view);
  const std::vector<uint8_t> eye = s_lab->BoundConstantBuffer(false, 1);
  ASSERT_EQ(eye.size(), 16u);
  EXPECT_EQ(FloatAt(eye, 0), lab->cameras[1]->position.x);
  EXPECT_EQ(FloatAt(eye, 8), lab->cameras[1]->position.z);
  EXPECT_EQ(FloatAt(eye, 12), 0.0f);

  // A roll event around demo time 0 turns the view about its axis.
  lab->rollEvents.push_back(RollEvent{-1000, 1000, 30.0f});
  s_lab->Pose(lab, 2000, 1);
  ASSERT_GT(lab->rollAngle, 0.1f);
  MaterialPass(lab, false);
  const D3DXMATRIX expected = RolledAndShakenView(lab->cameras[1]->view, lab->rollAngle, lab->shakeOffset);
  EXPECT_EQ(MatrixAt(s_lab->BoundConstantBuffer(false, 0), 64), expected);
  EXPECT_NE(expected, lab->cameras[1]->view);
  lab->rollEvents.clear();
}

TEST_F(SceneRenderTest, MaterialAndLightConstantsArriveAsTheProgramReadsThem) {
  Scene* tuned = LoadVariant("lab_tuned.c4e", [](c4e::Scene& d) {
    c4e::Material& glass = MaterialNamed(d, "glass");
    glass.specularParamB = 0.2f;
    glass.transparency = 0.25f;
  });
  ASSERT_NE(tuned, nullptr);
  s_lab->Pose(tuned, 0, 0);
  MaterialPass(tuned, true);  // the glass is drawn last

  const std::vector<uint8_t> material = s_lab->BoundConstantBuffer(true, 0);
  ASSERT_EQ(material.size(), 80u);
  EXPECT_FLOAT_EQ(FloatAt(material, 40), 80.0f);
  EXPECT_EQ(UintAt(material, 48), 1u);
  EXPECT_FLOAT_EQ(FloatAt(material, 52), 0.75f);
  EXPECT_EQ(UintAt(material, 64), 1u);  // the studio cube
  EXPECT_EQ(UintAt(material, 44), 0u);  // no normal map

  const std::vector<uint8_t> lights = s_lab->BoundConstantBuffer(true, 1);
  ASSERT_EQ(lights.size(), 960u);
  const c4e::Scene description = lab::LabScene();
  EXPECT_EQ(UintAt(lights, 32), 3u);
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const c4e::Light& light = description.lights[i];
    EXPECT_EQ(FloatAt(lights, 48 + 16 * i), 0.0f);  // no light lists the glass
    EXPECT_EQ(FloatAt(lights, 48 + 16 * i + 12), static_cast<float>(light.type));
    EXPECT_EQ(FloatAt(lights, 176 + 16 * i), tuned->lights[i]->position.x);
    EXPECT_EQ(FloatAt(lights, 304 + 16 * i + 4), light.color.y);
    EXPECT_EQ(FloatAt(lights, 432 + 16 * i + 12), light.multiplier);
    EXPECT_EQ(FloatAt(lights, 560 + 16 * i + 8), tuned->lights[i]->direction.z);
    EXPECT_FLOAT_EQ(FloatAt(lights, 688 + 16 * i + 4), 0.001f);
    EXPECT_EQ(FloatAt(lights, 688 + 16 * i + 12), light.shaderParamA);
    EXPECT_FLOAT_EQ(FloatAt(lights, 816 + 16 * i + 12), light.shaderParamB * 10.0f);
  }
  EXPECT_EQ(lights[944], 1);

  // The glass has no 2D maps, the shadow map in slot 4 and the studio cube in slot 5.
  ID3D11ShaderResourceView* resources[6] = {};
  s_lab->gpu.context->PSGetShaderResources(0, 6, resources);
  for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(resources[slot], nullptr) << slot;
  EXPECT_EQ(resources[4], s_lab->shadowMap->shaderResourceView);
  EXPECT_NE(resources[5], nullptr);
  EXPECT_EQ(resources[5], tuned->polyObjects.back()->material->reflectionTexture);
  for (ID3D11ShaderResourceView* view : resources)
    if (view != nullptr) view->Release();
}

// One mesh drawn alone, as the show rehearses a program before its scene: with the target's
// viewport it shows, with an empty one nothing reaches the target.
TEST_F(SceneRenderTest, AMeshDrawnAloneShowsOnlyThroughAViewportThatHasRoom) {
  Scene* lab = LoadLab();
  ASSERT_NE(lab, nullptr);
  s_lab->Pose(lab, 0, 0);
  const auto keys = lab->MaterialProgramKeys(false);
  ASSERT_FALSE(keys.empty());
  auto draw = [&] {
    for (const auto& [position, key] : keys) lab->DrawMesh(position, nullptr, false, s_lab->Projection());
  };
  EXPECT_EQ(LitPixelsThrough(kEmptyViewport, draw), 0u);
  EXPECT_GT(LitPixelsThrough(kWholeViewport, draw),
            static_cast<size_t>(LabRenderFixture::kWidth * LabRenderFixture::kHeight / 4));
  testing_support::ExpectNoGLErrors();
}

// The shadow pass draws the lab's casters in two sets of states, opaque and blended (the
// glass): the samples hold one mesh of each, both among the meshes the pass gives the depth
// program, and a sample drawn alone leaves nothing through an empty viewport.
TEST_F(SceneRenderTest, TheShadowCasterSamplesHoldOneMeshForEachStateOfTheShadowPass) {
  Scene* lab = LoadLab();
  ASSERT_NE(lab, nullptr);
  s_lab->Pose(lab, 0, 0);
  ASSERT_FALSE(lab->lights.empty());
  auto blended = [&](size_t position) {
    const Material* material = lab->polyObjects[position]->material;
    return material != nullptr && material->transparent;
  };
  const std::vector<size_t> samples = lab->ShadowCasterSamples();
  ASSERT_EQ(samples.size(), 2u);
  EXPECT_NE(blended(samples[0]), blended(samples[1]));
  for (size_t position : samples) {
    const PolyObject& mesh = *lab->polyObjects[position];
    EXPECT_FALSE(mesh.isDummy);
    EXPECT_FALSE(mesh.name.empty()) << "the pass skips unnamed meshes";
    EXPECT_FALSE(lab->lights[0]->Lists(mesh.id)) << "a listed mesh draws with its material";
  }

  auto draw = [&] {
    for (size_t position : samples) lab->CastShadowOf(position);
  };
  EXPECT_EQ(LitPixelsThrough(kEmptyViewport, draw), 0u);
  EXPECT_GT(LitPixelsThrough(kWholeViewport, draw), 0u) << "seen from the light, the casters fill part of the map";
  testing_support::ExpectNoGLErrors();
}

}  // namespace
}  // namespace scene_test
