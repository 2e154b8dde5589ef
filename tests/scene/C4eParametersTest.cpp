#include <gtest/gtest.h>

#include <cmath>

#include "scene/C4eParameters.h"
#include "scene/Camera.h"
#include "scene/Environment.h"
#include "scene/Light.h"
#include "scene/Material.h"

namespace scene_test {
namespace {

TEST(C4eParametersTest, MaterialBlocksAreConvertedAndSwitchedOffBlocksAreZero) {
  Material material;
  material.hasDiffuse = true;
  material.diffuseValue = 0.7f;
  material.hasSpecular = true;
  material.specularColor = D3DXCOLOR(0.1f, 0.2f, 0.3f, 0.0f);
  material.specularParamA = 1.5f;
  material.specularParamB = 0.2f;
  material.transparent = true;
  material.transparency = 0.25f;
  material.hasReflectionMap = true;
  // Fields of blocks whose flag is off must not leak into the buffer.
  material.diffuseMapParamA = 7;
  material.diffuseMapParamB = 3.0f;

  // Where each field sits in the buffer is read back through the shader in the gfx and render tests.
  const C4eMaterialBufferType buffer = MakeMaterialBuffer(material);
  EXPECT_FLOAT_EQ(buffer.diffuseValue, 0.7f);
  EXPECT_EQ(buffer.hasDiffuseMap, 0u);
  EXPECT_EQ(buffer.diffuseMapParamA, 0);
  EXPECT_EQ(buffer.diffuseMapParamB, 0.0f);
  EXPECT_FLOAT_EQ(buffer.specularColor[0], 0.1f);
  EXPECT_FLOAT_EQ(buffer.specularColor[1], 0.2f);
  EXPECT_FLOAT_EQ(buffer.specularColor[2], 0.3f);
  EXPECT_EQ(buffer.specularColor[3], 0.0f);
  EXPECT_EQ(buffer.hasSpecular, 1u);
  EXPECT_FLOAT_EQ(buffer.specularParamA, 1.5f);
  EXPECT_FLOAT_EQ(buffer.specularPower, 80.0f);
  EXPECT_EQ(buffer.hasNormalMap, 0u);
  EXPECT_EQ(buffer.transparent, 1u);
  EXPECT_FLOAT_EQ(buffer.opacity, 0.75f);
  EXPECT_EQ(buffer.hasLuminanceMap + buffer.hasEnvironmentMap, 0u);
  EXPECT_EQ(buffer.hasReflectionMap, 1u);
  EXPECT_EQ(buffer.padding[0] + buffer.padding[1] + buffer.padding[2], 0.0f);

  Material plain;
  plain.diffuseValue = 0.9f;  // without its block
  plain.specularParamB = 0.2f;
  plain.transparency = 0.5f;
  const C4eMaterialBufferType off = MakeMaterialBuffer(plain);
  EXPECT_EQ(off.diffuseValue, 0.0f);
  EXPECT_EQ(off.specularPower, 0.0f);
  EXPECT_EQ(off.opacity, 0.0f);
  EXPECT_EQ(off.transparent, 0u);
}

std::vector<std::unique_ptr<Light>> MakeLights(int count) {
  std::vector<std::unique_ptr<Light>> lights;
  for (int i = 0; i < count; ++i) {
    auto light = std::make_unique<Light>();
    light->type = i % 3;
    light->position = D3DXVECTOR3(static_cast<float>(i), 2.0f * i, 3.0f * i);
    light->color = D3DXCOLOR(0.1f * i, 0.2f, 0.3f, 0.0f);
    light->multiplier = 1.0f + i;
    light->direction = D3DXVECTOR3(0.0f, -1.0f, 0.0f);
    light->shaderParamA = 0.5f * i;
    light->shaderParamB = 0.25f * i;
    light->listed = (i == 1);
    lights.push_back(std::move(light));
  }
  return lights;
}

TEST(C4eParametersTest, LightsFillTheirEntriesAndTheHeader) {
  Environment environment;
  environment.ambientColor = D3DXCOLOR(0.1f, 0.2f, 0.3f, 1.0f);
  environment.environmentValue = 0.9f;
  const auto lights = MakeLights(3);
  const C4eLightsBufferType buffer = MakeLightsBuffer(environment, lights, true);

  EXPECT_FLOAT_EQ(buffer.ambient[2], 0.3f);
  EXPECT_EQ(buffer.ambient[3], 1.0f);
  EXPECT_FLOAT_EQ(buffer.environment[0], 0.9f);
  EXPECT_EQ(buffer.lightCount, 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(buffer.listed[i][0], i == 1 ? 1.0f : 0.0f);
    EXPECT_EQ(buffer.listed[i][3], static_cast<float>(i % 3));
    EXPECT_EQ(buffer.position[i][1], 2.0f * i);
    EXPECT_FLOAT_EQ(buffer.color[i][0], 0.1f * i);
    EXPECT_EQ(buffer.multiplier[i][0], 0.0f);
    EXPECT_EQ(buffer.multiplier[i][3], 1.0f + i);
    EXPECT_EQ(buffer.direction[i][1], -1.0f);
    EXPECT_EQ(buffer.terms[i][0], 1.0f);
    EXPECT_FLOAT_EQ(buffer.terms[i][1], 0.001f);
    EXPECT_EQ(buffer.terms[i][2], 0.0f);
    EXPECT_EQ(buffer.terms[i][3], 0.5f * i);
    EXPECT_FLOAT_EQ(buffer.paramB[i][3], 2.5f * i);
  }
  EXPECT_EQ(buffer.flag, 1u);
  EXPECT_EQ(MakeLightsBuffer(environment, lights, false).flag, 0u);
}

TEST(C4eParametersTest, MoreThanEightLightsSendTheFirstEight) {
  const auto lights = MakeLights(9);
  const C4eLightsBufferType buffer = MakeLightsBuffer(Environment(), lights, false);
  EXPECT_EQ(buffer.lightCount, 8);
  EXPECT_EQ(buffer.multiplier[7][3], 8.0f);
  EXPECT_EQ(buffer.flag, 0u);  // the ninth light did not run into the flag
}

TEST(C4eParametersTest, ViewWithoutRollOrShakeIsTheCameraViewAndRollTurnsAboutZ) {
  D3DXMATRIX view;
  const D3DXVECTOR3 eye(3.0f, 4.0f, -10.0f), at(1.0f, 0.0f, 2.0f), up(0.0f, 1.0f, 0.0f);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  EXPECT_EQ(RolledAndShakenView(view, 0.0f, D3DXVECTOR3(0.0f, 0.0f, 0.0f)), view);

  const D3DXMATRIX rolled = RolledAndShakenView(view, 0.5f, D3DXVECTOR3(1.0f, 2.0f, 3.0f));
  // A point on the view axis stays there under the roll and is then shifted by the shake.
  D3DXVECTOR3 onAxis;
  const D3DXVECTOR3 target = at;
  D3DXVec3TransformCoord(&onAxis, &target, &rolled);
  D3DXVECTOR3 plain;
  D3DXVec3TransformCoord(&plain, &target, &view);
  EXPECT_NEAR(onAxis.x, 1.0f, 1e-4f);
  EXPECT_NEAR(onAxis.y, 2.0f, 1e-4f);
  EXPECT_NEAR(onAxis.z, plain.z + 3.0f, 1e-4f);
}

TEST(C4eParametersTest, LightMatricesLookAtTheDirectionAsAPointAndSpanTheShadowPlanes) {
  Light light;
  light.position = D3DXVECTOR3(0.0f, 0.0f, -10.0f);
  light.direction = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
  ComputeLightMatrices(&light, 500.0f, 2000.0f);

  // (0, 0, 1) lies on the light's view axis, 11 units ahead.
  D3DXVECTOR3 seen;
  const D3DXVECTOR3 point(0.0f, 0.0f, 1.0f);
  D3DXVec3TransformCoord(&seen, &point, &light.lightView);
  EXPECT_NEAR(seen.x, 0.0f, 1e-5f);
  EXPECT_NEAR(seen.y, 0.0f, 1e-5f);
  EXPECT_NEAR(seen.z, 11.0f, 1e-5f);

  D3DXVECTOR3 nearDepth, farDepth;
  const D3DXVECTOR3 atNear(0.0f, 0.0f, 500.0f), atFar(0.0f, 0.0f, 2000.0f);
  D3DXVec3TransformCoord(&nearDepth, &atNear, &light.lightProjection);
  D3DXVec3TransformCoord(&farDepth, &atFar, &light.lightProjection);
  EXPECT_NEAR(nearDepth.z, 0.0f, 1e-6f);
  EXPECT_NEAR(farDepth.z, 1.0f, 1e-6f);
  // Square: aspect 1, a quarter turn of field of view.
  EXPECT_FLOAT_EQ(light.lightProjection._11, light.lightProjection._22);
  EXPECT_NEAR(light.lightProjection._22, 1.0f / std::tan(0.785398185f / 2.0f), 1e-5f);
}

}  // namespace
}  // namespace scene_test
