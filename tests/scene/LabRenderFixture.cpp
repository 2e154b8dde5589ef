#include "LabRenderFixture.h"

#include <filesystem>

#include "LabScene.h"
#include "support/FloatTexture.h"
#include "support/TestRenderContext.h"

namespace scene_test {

bool LabRenderFixture::Create(std::string* error) {
  m_directory = std::make_unique<TempDirectory>(true);
  std::filesystem::create_directory("engine_data");
  if (!testing_support::CopyShaderSources("engine_data")) return *error = "cannot copy the shaders", false;
  if (!lab::WriteLabContent("engine_data")) return *error = "cannot write the lab content", false;
  if (!gpu.Create(kWidth, kHeight)) return *error = "no headless device", false;
  if (!states.Initialize(gpu.device, gpu.context)) return *error = "render states", false;
  textures = std::make_unique<TextureCache>(gpu.device);
  if (!shaders.InitShaders(nullptr, gpu.device, gpu.context, nullptr)) return *error = "shader programs", false;

  context = testing_support::TestRenderContext(gpu, &states, textures.get(), &shaders);
  shadowMap = std::make_unique<RenderTarget>(context);
  if (!shadowMap->Create(1.0f)) return *error = "shadow map target", false;
  loader = std::make_unique<SceneLoader>(context);
  return true;
}

LabRenderFixture::~LabRenderFixture() {
  if (gpu.context != nullptr) gpu.context->ClearState();
  loader.reset();
  shadowMap.reset();
  shaders.Shutdown();
  if (textures) textures->Shutdown();
  states.Shutdown();
}

Scene* LabRenderFixture::Load(const c4e::Scene& description, const std::string& fileName) {
  if (!c4e::WriteSceneFile(description, "engine_data/" + fileName)) return nullptr;
  if (!loader->Load(fileName)) return nullptr;
  return loader->scenes.back().get();
}

void LabRenderFixture::Pose(Scene* scene, int64_t sceneTime, int32_t camera) {
  scene->Restart();
  scene->currentCamera = camera;
  scene->Update(0, sceneTime);
  scene->shadowNear = lab::kShadowNear;
  scene->shadowFar = lab::kShadowFar;
}

void LabRenderFixture::LookFromAbove(Scene* scene) {
  const D3DXVECTOR3 eye(0.0f, 1000.0f, 0.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 0.0f, 1.0f);
  Camera* camera = scene->cameras[scene->currentCamera].get();
  camera->position = eye;
  D3DXMatrixLookAtLH(&camera->view, &eye, &at, &up);
}

D3DXMATRIX LabRenderFixture::Projection() const {
  D3DXMATRIX projection;
  D3DXMatrixPerspectiveFovLH(&projection, 3.14159265f / 4.0f, static_cast<float>(kWidth) / kHeight, 1.0f, 10000.0f);
  return projection;
}

void LabRenderFixture::ShadowPass(Scene* scene) {
  shadowMap->SetAsTarget();
  shadowMap->Clear();
  scene->Render(shadowMap->shaderResourceView, true, true, Projection());
}

void LabRenderFixture::ClearBackBuffer() {
  gpu.BindBackBuffer();
  gpu.Clear(0.0f, 0.0f, 0.0f, 0.0f);
}

void LabRenderFixture::Project(Scene* scene, const D3DXVECTOR3& world, int* x, int* y) const {
  const D3DXMATRIX view = scene->RenderView();
  const D3DXMATRIX projection = Projection();
  D3DXMATRIX viewProjection;
  D3DXMatrixMultiply(&viewProjection, &view, &projection);
  D3DXVECTOR3 clip;
  D3DXVec3TransformCoord(&clip, &world, &viewProjection);
  *x = static_cast<int>((clip.x * 0.5f + 0.5f) * kWidth);
  *y = static_cast<int>((0.5f - clip.y * 0.5f) * kHeight);
}

std::vector<uint8_t> LabRenderFixture::BoundConstantBuffer(bool pixelStage, UINT slot) {
  return testing_support::ReadBoundConstantBuffer(gpu.device, gpu.context, pixelStage, slot);
}

float Brightness(const std::vector<uint8_t>& pixels, int x, int y) {
  const size_t at = (static_cast<size_t>(y) * LabRenderFixture::kWidth + x) * 4;
  return (pixels[at] + pixels[at + 1] + pixels[at + 2]) / 3.0f;
}

float AreaBrightness(const std::vector<uint8_t>& pixels, int x, int y, int radius) {
  float sum = 0.0f;
  int count = 0;
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx) {
      sum += Brightness(pixels, x + dx, y + dy);
      ++count;
    }
  return sum / count;
}

}  // namespace scene_test
