// One draw through each of the seven programs, read back: each does what its name says.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "ShaderTestData.h"
#include "gfx/RenderStateManager.h"
#include "app/Timer.h"
#include "gfx/ShaderManager.h"
#include "support/GpuTestDevice.h"

using testing_support::CreateTestBuffer;
using testing_support::ExpectNoGLErrors;
using testing_support::GpuTestDevice;
using testing_support::Rgba;

namespace {

constexpr int kSize = 64;

class ShaderProgramDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gpu.Create(kSize, kSize));
    ASSERT_TRUE(states.Initialize(gpu.device, gpu.context));
    ASSERT_TRUE(manager.InitShaders(gpu.window, gpu.device, gpu.context, nullptr));
    ASSERT_TRUE(quad.Create(gpu.device, kSize, kSize));
    gpu.context->RSSetState(states.rasterCullNone);
    gpu.context->OMSetDepthStencilState(states.depthOff, 1);
    gpu.Clear(0, 0, 0, 1);
  }
  void TearDown() override {
    manager.Shutdown();
    states.Shutdown();
    ExpectNoGLErrors();
  }

  GpuTestDevice gpu;
  ShaderDataDirectory data;
  RenderStateManager states;
  ShaderManager manager;
  ScreenQuad quad;
  D3DXVECTOR2 screen{static_cast<float>(kSize), static_cast<float>(kSize)};
};

// The post-processing look belongs to the effects; these tests read the program's plumbing
// through a probe pixel shader that shows what arrived.
const char* kPostProcessProbe = R"(
cbuffer EffectBuffer : register(b0)
{
    int effect;
    int hasTexture;
    int blend;
    float alpha;
    int overlay;
    int reserved0;
    int screenWidth;
    int entryCount;
    int time;
    float audioLevel;
    int reserved1;
    int reserved2;
};
cbuffer ArrayBuffer : register(b1)
{
    float4 effectArray[4096];
};
Texture2D shaderTexture : register(t0);
SamplerState wrapSampler : register(s0);
SamplerState clampSampler : register(s1);
struct PixelInputType
{
    float4 position : SV_POSITION;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
};
float4 PostProcess_PS(PixelInputType input) : SV_TARGET
{
    if (effect == 1)
    {
        return float4(alpha, screenWidth / 255.0f, entryCount / 255.0f, audioLevel);
    }
    if (effect == 2)
    {
        return float4(time / 255.0f, hasTexture / 255.0f, blend / 255.0f, overlay / 255.0f);
    }
    if (effect == 3)
    {
        return effectArray[int(input.position.y)];
    }
    return shaderTexture.Sample(clampSampler, input.tex) * input.color;
}
)";

class PostProcessProgramTest : public ShaderProgramDrawTest {
 protected:
  void SetUp() override {
    data.Write("postprocess_PS.hlsl", kPostProcessProbe);
    ShaderProgramDrawTest::SetUp();
  }
  bool DrawFullScreen(const PostProcessParameters& parameters, ID3D11ShaderResourceView* texture = nullptr) {
    if (!quad.Set(gpu.context, 0, 0, kSize, kSize)) return false;
    quad.Bind(gpu.context);
    PostProcessShader& program = *manager.postProcessShader;
    if (!program.SetShaderParameters(quad.Identity(), quad.Identity(), quad.Ortho(), texture, &parameters)) return false;
    program.Render(6);
    return true;
  }
};

TEST_F(PostProcessProgramTest, EffectBufferCarriesTheParametersTimeAndAudioLevel) {
  Timer timer;
  timer.elapsed = (int64_t{7} << 32) + 200;  // only the low 32 bits travel
  manager.postProcessShader->timer = &timer;
  manager.postProcessShader->audioLevel = 0.25f;
  PostProcessParameters parameters;
  parameters.effect = 1;
  parameters.hasTexture = 3;
  parameters.blend = 5;
  parameters.alpha = 0.5f;
  parameters.overlay = 9;
  parameters.screenWidth = 64;
  parameters.entryCount = 32;
  ASSERT_TRUE(DrawFullScreen(parameters));
  Rgba pixel = gpu.PixelAt(5, 5);
  EXPECT_NEAR(pixel.r, 128, 1);
  EXPECT_EQ(pixel.g, 64);
  EXPECT_EQ(pixel.b, 32);
  EXPECT_NEAR(pixel.a, 64, 1);

  parameters.effect = 2;
  ASSERT_TRUE(DrawFullScreen(parameters));
  pixel = gpu.PixelAt(5, 5);
  EXPECT_EQ(pixel.r, 200);
  EXPECT_EQ(pixel.g, 3);
  EXPECT_EQ(pixel.b, 5);
  EXPECT_EQ(pixel.a, 9);
}

TEST_F(PostProcessProgramTest, CopiesTheFirstEntriesOfTheEffectArrayOnly) {
  PostProcessShader& program = *manager.postProcessShader;
  for (int row = 0; row < kSize; ++row) {
    for (int i = 0; i < 4; ++i) program.effectArray[row * 4 + i] = 1.0f;
  }
  PostProcessParameters parameters;
  parameters.effect = 3;
  parameters.entryCount = kSize;
  ASSERT_TRUE(DrawFullScreen(parameters));
  EXPECT_EQ(gpu.PixelAt(3, 40).g, 255);

  // A count of 10 leaves rows 10 and later as the buffer had them before this draw.
  for (int row = 0; row < kSize; ++row) program.effectArray[row * 4 + 1] = 0.0f;
  parameters.entryCount = 10;
  ASSERT_TRUE(DrawFullScreen(parameters));
  EXPECT_EQ(gpu.PixelAt(3, 5).g, 0);
}

TEST_F(PostProcessProgramTest, CountBeyondTheArrayIsClampedNotOverread) {
  ID3D11ShaderResourceView* texture = CreateSolidTexture(gpu.device, 0xffffffffu);
  PostProcessParameters parameters;
  parameters.hasTexture = 1;
  parameters.entryCount = 1 << 20;
  EXPECT_TRUE(DrawFullScreen(parameters, texture));
  parameters.entryCount = 0;
  EXPECT_TRUE(DrawFullScreen(parameters, texture));
  texture->Release();
}

TEST_F(ShaderProgramDrawTest, BlurSpreadsAlongTheChosenAxisOnly) {
  // One bright vertical line (column 8) in a dark texture a quarter of the screen wide, as the
  // blur reads it in the show; pixel 33 lies on the line, pixel 29 one texel to its left.
  constexpr int kQuarter = kSize / 4;
  std::vector<uint32_t> pixels(kQuarter * kQuarter, 0xff000000u);
  for (int y = 0; y < kQuarter; ++y) pixels[y * kQuarter + 8] = 0xffffffffu;
  ID3D11ShaderResourceView* texture = CreateTexture(gpu.device, kQuarter, kQuarter, pixels);
  BlurShader& blur = *manager.blurShader;
  blur.sourceTexture = texture;
  ASSERT_TRUE(quad.Set(gpu.context, 0, 0, kSize, kSize));
  quad.Bind(gpu.context);

  blur.direction = 1;  // along y: the line stays a line
  ASSERT_TRUE(blur.SetShaderParameters(quad.Identity(), quad.Identity(), quad.Ortho(), &screen));
  blur.Render(6);
  EXPECT_EQ(gpu.PixelAt(29, 20).r, 0);
  EXPECT_GT(gpu.PixelAt(33, 20).r, 200);

  blur.direction = 0;  // along x: light reaches the neighbouring columns
  ASSERT_TRUE(blur.SetShaderParameters(quad.Identity(), quad.Identity(), quad.Ortho(), &screen));
  blur.Render(6);
  texture->Release();
  EXPECT_GT(gpu.PixelAt(29, 20).r, 20);
  EXPECT_LT(gpu.PixelAt(33, 20).r, 200);
}

TEST_F(ShaderProgramDrawTest, TexMixCombinesBothTexturesByMode) {
  ID3D11ShaderResourceView* a = CreateSolidTexture(gpu.device, 0xff000080u);  // r 0x80
  ID3D11ShaderResourceView* b = CreateSolidTexture(gpu.device, 0xff008040u);  // r 0x40, g 0x80
  TexMixShader& mix = *manager.texMixShader;
  mix.texture0 = a;
  mix.texture1 = b;
  ASSERT_TRUE(quad.Set(gpu.context, 0, 0, kSize, kSize));
  quad.Bind(gpu.context);
  mix.mixMode = 0;
  ASSERT_TRUE(mix.SetShaderParameters(quad.Identity(), quad.Identity(), quad.Ortho(), &screen));
  mix.Render(6);
  // Mode 0 (bloom) brightens by the second image; mode 1 (occlusion) darkens by it.
  Rgba pixel = gpu.PixelAt(30, 30);
  EXPECT_GT(pixel.r, 0x80);
  EXPECT_GT(pixel.g, 0);

  mix.mixMode = 1;
  ASSERT_TRUE(mix.SetShaderParameters(quad.Identity(), quad.Identity(), quad.Ortho(), &screen));
  mix.Render(6);
  pixel = gpu.PixelAt(30, 30);
  EXPECT_LT(pixel.r, 0x40);
  EXPECT_EQ(pixel.g, 0);
  a->Release();
  b->Release();
}

TEST_F(ShaderProgramDrawTest, SSAOOfAFlatDepthImageIsOpen) {
  ID3D11ShaderResourceView* depth = CreateSolidTexture(gpu.device, 0xff808080u);
  ID3D11ShaderResourceView* noise = CreateSolidTexture(gpu.device, 0xff00ff80u);
  SSAOShader& ssao = *manager.ssaoShader;
  ssao.texture0 = depth;
  ssao.texture1 = noise;
  ASSERT_TRUE(quad.Set(gpu.context, 0, 0, kSize, kSize));
  quad.Bind(gpu.context);
  ASSERT_TRUE(ssao.SetShaderParameters(quad.Identity(), quad.Identity(), quad.Ortho(), &screen));
  ssao.Render(6);
  depth->Release();
  noise->Release();
  EXPECT_EQ(gpu.PixelAt(30, 30).r, 255);
}

// The quad after the billboard draws through the probe, so the check does not hang on the look.
TEST_F(PostProcessProgramTest, BillboardExpandsAPointToATexturedSquareAndUnbindsTheGeometryShader) {
  struct BillboardVertex {
    float x, y, z;
    float width, height;
    float r, g, b, a;
  };
  static_assert(sizeof(BillboardVertex) == 36);
  const BillboardVertex point{0.0f, 0.0f, 10.0f, 20.0f, 20.0f, 0.0f, 1.0f, 0.0f, 1.0f};
  ID3D11Buffer* buffer = CreateTestBuffer(gpu.device, D3D11_BIND_VERTEX_BUFFER, sizeof point, &point);
  ASSERT_NE(buffer, nullptr);
  ID3D11ShaderResourceView* texture = CreateSolidTexture(gpu.device, 0xffffffffu);
  const UINT stride = sizeof point, offset = 0;
  gpu.context->IASetVertexBuffers(0, 1, &buffer, &stride, &offset);
  gpu.context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_POINTLIST);
  gpu.context->RSSetState(states.rasterCullBack);
  BillboardShader& billboard = *manager.billboardShader;
  ASSERT_TRUE(billboard.SetShaderParameters(quad.Identity(), quad.Identity(), quad.Ortho(), texture));
  billboard.Render(1);
  buffer->Release();
  texture->Release();

  // A 20 × 20 square around the centre, facing the camera so back-face culling keeps it.
  EXPECT_EQ(gpu.PixelAt(32, 32).g, 255);
  EXPECT_EQ(gpu.PixelAt(24, 24).g, 255);
  EXPECT_EQ(gpu.PixelAt(40, 40).g, 255);
  EXPECT_EQ(gpu.PixelAt(20, 32).g, 0);
  EXPECT_EQ(gpu.PixelAt(32, 45).g, 0);

  ID3D11GeometryShader* bound = reinterpret_cast<ID3D11GeometryShader*>(1);
  gpu.context->GSGetShader(&bound, nullptr, nullptr);
  EXPECT_EQ(bound, nullptr);

  // A following quad draw is not expanded into squares.
  ID3D11ShaderResourceView* red = CreateSolidTexture(gpu.device, 0xff0000ffu);
  ASSERT_TRUE(quad.Set(gpu.context, 0, 0, 8, 8));
  quad.Bind(gpu.context);
  gpu.context->RSSetState(states.rasterCullNone);
  PostProcessParameters parameters;
  parameters.hasTexture = 1;
  ASSERT_TRUE(manager.postProcessShader->SetShaderParameters(quad.Identity(), quad.Identity(), quad.Ortho(), red,
                                                             &parameters));
  manager.postProcessShader->Render(6);
  red->Release();
  EXPECT_EQ(gpu.PixelAt(4, 4).r, 255);
  EXPECT_EQ(gpu.PixelAt(12, 12).r, 0);
}


// The scene's look belongs to the scene rendering; these tests read the c4e and depth programs'
// buffers through probe shaders, so the C++ records and the HLSL declarations must agree.
const char* kC4eProbeVS = R"(
cbuffer TransformBuffer : register(b0)
{
    matrix worldMatrix;
    matrix viewMatrix;
    matrix projectionMatrix;
    matrix lightViewMatrix;
    matrix lightProjectionMatrix;
};
cbuffer EyeBuffer : register(b1)
{
    float4 eye;
};
struct VertexInputType
{
    float3 position : POSITION;
    float3 normal : NORMAL;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
    float3 tangent : TANGENT;
    float3 binormal : BINORMAL;
};
struct PixelInputType
{
    float4 position : SV_POSITION;
    float4 eye : TEXCOORD1;
    float4 light : TEXCOORD2;
};
PixelInputType c4e_VS(VertexInputType input)
{
    PixelInputType output;
    float4 world = mul(float4(input.position, 1.0f), worldMatrix);
    output.position = mul(mul(world, viewMatrix), projectionMatrix);
    output.light = mul(mul(world, lightViewMatrix), lightProjectionMatrix);
    output.eye = eye;
    return output;
}
)";

const char* kC4eProbePS = R"(
cbuffer MaterialBuffer : register(b0)
{
    float diffuseValue;
    uint hasDiffuseMap;
    int diffuseMapParamA;
    float diffuseMapParamB;
    float4 specularColor;
    uint hasSpecular;
    float specularParamA;
    float specularPower;
    uint hasNormalMap;
    uint transparent;
    float opacity;
    uint hasLuminanceMap;
    uint hasEnvironmentMap;
    uint hasReflectionMap;
    float materialPadding0;
    float materialPadding1;
    float materialPadding2;
};
cbuffer LightBuffer : register(b1)
{
    float4 ambientColor;
    float4 environment;
    int lightCount;
    float countPadding0;
    float countPadding1;
    float countPadding2;
    float4 listed[8];
    float4 lightPosition[8];
    float4 lightColor[8];
    float4 lightMultiplier[8];
    float4 lightDirection[8];
    float4 lightTerms[8];
    float4 lightParamB[8];
    uint shaderFlag;
    float flagPadding0;
    float flagPadding1;
    float flagPadding2;
};
Texture2D extraTexture : register(t4);
SamplerState clampSampler : register(s1);
struct PixelInputType
{
    float4 position : SV_POSITION;
    float4 eye : TEXCOORD1;
    float4 light : TEXCOORD2;
};
float4 c4e_PS(PixelInputType input) : SV_TARGET
{
    int column = int(input.position.x) / 8;
    const float byte = 1.0f / 255.0f;
    if (column == 0) return float4(diffuseValue, hasDiffuseMap * byte, diffuseMapParamA * byte, diffuseMapParamB);
    if (column == 1) return specularColor;
    if (column == 2) return float4(hasSpecular * byte, specularParamA, specularPower * byte, hasNormalMap * byte);
    if (column == 3) return float4(transparent * byte, opacity, hasLuminanceMap * byte, hasEnvironmentMap * byte);
    if (column == 4) return float4(hasReflectionMap * byte, lightCount * byte, ambientColor.r, environment.x);
    if (column == 5) return float4(listed[2].x, lightPosition[3].y, lightColor[4].z, lightMultiplier[5].w);
    if (column == 6) return float4(lightDirection[6].x, lightTerms[7].y * 100.0f, lightParamB[7].w * byte, shaderFlag * byte);
    return float4(input.eye.x * byte, extraTexture.Sample(clampSampler, float2(0.5f, 0.5f)).g, input.light.w, 1.0f);
}
)";

// A square of mesh vertices (72 bytes each) facing −z at depth z, world units = pixels.
ID3D11Buffer* MeshSquare(ID3D11Device* device, float half, float z) {
  struct MeshVertex {
    float position[3], normal[3], color[4], uv[2], tangent[3], binormal[3];
  };
  static_assert(sizeof(MeshVertex) == 72);
  const MeshVertex vertices[4] = {
      {{-half, half, z}, {0, 0, -1}, {1, 1, 1, 1}, {0, 0}, {1, 0, 0}, {0, 1, 0}},
      {{half, half, z}, {0, 0, -1}, {1, 1, 1, 1}, {1, 0}, {1, 0, 0}, {0, 1, 0}},
      {{-half, -half, z}, {0, 0, -1}, {1, 1, 1, 1}, {0, 1}, {1, 0, 0}, {0, 1, 0}},
      {{half, -half, z}, {0, 0, -1}, {1, 1, 1, 1}, {1, 1}, {1, 0, 0}, {0, 1, 0}},
  };
  return CreateTestBuffer(device, D3D11_BIND_VERTEX_BUFFER, sizeof vertices, vertices);
}

class C4eProgramTest : public ShaderProgramDrawTest {
 protected:
  void SetUp() override {
    data.Write("c4e_VS.hlsl", kC4eProbeVS);
    data.Write("c4e_PS.hlsl", kC4eProbePS);
    ShaderProgramDrawTest::SetUp();
  }
};

TEST_F(C4eProgramTest, EveryBufferFieldReachesTheShaderWhereTheRecordPutsIt) {
  ID3D11Buffer* mesh = MeshSquare(gpu.device, kSize / 2.0f, 10);
  ASSERT_NE(mesh, nullptr);
  quad.Bind(gpu.context);  // its index buffer: two triangles over four vertices
  const UINT stride = 72, offset = 0;
  gpu.context->IASetVertexBuffers(0, 1, &mesh, &stride, &offset);

  const float byte = 1.0f / 255.0f;
  C4eTransformsBufferType transforms;
  transforms.world = quad.Identity();
  transforms.view = quad.Identity();
  transforms.projection = quad.Ortho();
  transforms.lightView = quad.Identity();
  D3DXMatrixScaling(&transforms.lightProjection, 1, 1, 1);
  transforms.lightProjection._44 = 0.5f;  // the light position's w shows the matrix arrived
  const C4eEyeBufferType eye{90, 0, 0, 0};
  C4eMaterialBufferType material{};
  material.diffuseValue = 10 * byte;
  material.hasDiffuseMap = 1;
  material.diffuseMapParamA = 30;
  material.diffuseMapParamB = 40 * byte;
  for (int i = 0; i < 4; ++i) material.specularColor[i] = (50 + i) * byte;
  material.hasSpecular = 1;
  material.specularParamA = 60 * byte;
  material.specularPower = 80;  // 100 − 100 × 0.2
  material.hasNormalMap = 1;
  material.transparent = 1;
  material.opacity = 0.75f;
  material.hasLuminanceMap = 1;
  material.hasEnvironmentMap = 1;
  material.hasReflectionMap = 1;
  C4eLightsBufferType lights{};
  lights.ambient[0] = 70 * byte;
  lights.environment[0] = 75 * byte;
  lights.lightCount = 3;
  lights.listed[2][0] = 1.0f;
  lights.position[3][1] = 100 * byte;
  lights.color[4][2] = 110 * byte;
  lights.multiplier[5][3] = 120 * byte;
  lights.direction[6][0] = 130 * byte;
  lights.terms[7][1] = 0.001f;
  lights.paramB[7][3] = 20;
  lights.flag = 1;
  ID3D11ShaderResourceView* extra = CreateSolidTexture(gpu.device, 0xff00c000u);
  ID3D11ShaderResourceView* resources[C4eShader::kResourceSlots] = {nullptr, nullptr, nullptr, nullptr, extra,
                                                                    nullptr};
  C4eShader& c4e = *manager.c4eShader;
  ASSERT_TRUE(c4e.SetShaderParameters(transforms, eye, material, lights, resources));
  c4e.Render(6);
  mesh->Release();
  extra->Release();

  const std::vector<uint8_t> pixels = gpu.ReadPixels();
  auto column = [&](int c) {
    const size_t at = (static_cast<size_t>(20) * kSize + c * 8 + 4) * 4;
    return std::vector<int>(pixels.begin() + at, pixels.begin() + at + 4);
  };
  EXPECT_EQ(column(0), (std::vector<int>{10, 1, 30, 40}));
  EXPECT_EQ(column(1), (std::vector<int>{50, 51, 52, 53}));
  EXPECT_EQ(column(2), (std::vector<int>{1, 60, 80, 1}));
  EXPECT_EQ(column(3), (std::vector<int>{1, 191, 1, 1}));
  EXPECT_EQ(column(4), (std::vector<int>{1, 3, 70, 75}));
  EXPECT_EQ(column(5), (std::vector<int>{255, 100, 110, 120}));
  EXPECT_EQ(column(6), (std::vector<int>{130, 26, 20, 1}));
  EXPECT_EQ(column(7), (std::vector<int>{90, 192, 128, 255}));
}

const char* kDepthProbePS = R"(
struct PixelInputType
{
    float4 position : SV_POSITION;
};
float4 Depth_PS(PixelInputType input) : SV_TARGET
{
    return float4(input.position.z, 0.0f, 0.0f, 1.0f);
}
)";

TEST_F(ShaderProgramDrawTest, DepthProgramDrawsMeshesWithItsMatrices) {
  data.Write("depth_PS.hlsl", kDepthProbePS);
  manager.Shutdown();
  ASSERT_TRUE(manager.InitShaders(gpu.window, gpu.device, gpu.context, nullptr));
  ID3D11Buffer* mesh = MeshSquare(gpu.device, 16, 5000.5f);
  ASSERT_NE(mesh, nullptr);
  quad.Bind(gpu.context);
  const UINT stride = 72, offset = 0;
  gpu.context->IASetVertexBuffers(0, 1, &mesh, &stride, &offset);
  DepthShader& depth = *manager.depthShader;
  ASSERT_TRUE(depth.SetShaderParameters(quad.Identity(), quad.Identity(), quad.Ortho()));
  depth.Render(6);
  mesh->Release();
  // Orthographic depth (z − near) / (far − near): 0.5 at 5000.5, only inside the 32 × 32 square.
  EXPECT_NEAR(gpu.PixelAt(32, 32).r, 128, 1);
  EXPECT_EQ(gpu.PixelAt(5, 5).r, 0);
}

}  // namespace
