#include "SceneViewer.h"

#include <cmath>

// A private copy of the PNG writer: the platform library carries its own.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "gfx/MakeRenderContext.h"
#include "platform/window.h"

bool SceneViewer::Initialize(platform::Window* window, const ViewerSettings& viewerSettings) {
  settings = viewerSettings;
  m_context = RenderContext{};
  if (!m_device.Initialize(settings.width, settings.height, false, window, false, m_context.farPlane,
                           m_context.nearPlane)) {
    return false;
  }
  if (!m_states.Initialize(m_device.GetDevice(), m_device.GetDeviceContext())) return false;
  m_textures = std::make_unique<TextureCache>(m_device.GetDevice());
  if (!m_shaders.InitShaders(window, m_device.GetDevice(), m_device.GetDeviceContext(), nullptr)) return false;

  RenderContextOwners owners;
  owners.hWnd = window;
  owners.renderStates = &m_states;
  owners.textures = m_textures.get();
  owners.shaders = &m_shaders;
  m_context = MakeRenderContext(m_device, owners);

  m_shadowMap = std::make_unique<RenderTarget>(m_context);
  if (!m_shadowMap->Create(1.0f)) return false;
  m_loader = std::make_unique<SceneLoader>(m_context);
  return true;
}

bool SceneViewer::Load(const std::string& fileName) { return m_loader && m_loader->Load(fileName); }

void SceneViewer::Shutdown() {
  if (m_device.GetDeviceContext() != nullptr) m_device.GetDeviceContext()->ClearState();
  m_loader.reset();
  m_shadowMap.reset();
  m_shaders.Shutdown();
  if (m_textures) m_textures->Shutdown();
  m_textures.reset();
  m_states.Shutdown();
  m_device.Shutdown();
}

void SceneViewer::Pose(int64_t sceneTime, int32_t camera) {
  Scene* current = scene();
  if (current == nullptr || current->cameras.empty()) return;
  const int64_t length = current->endTime;
  int64_t time = length > 0 ? sceneTime % length : 0;
  if (time < 0) time += length;
  current->Restart();
  current->cameraUpFollowsRotation = settings.upFollowsRotation;
  const int32_t cameras = static_cast<int32_t>(current->cameras.size());
  current->currentCamera = ((camera % cameras) + cameras) % cameras;
  current->time = 0;
  current->Update(0, time);
}

D3DXMATRIX SceneViewer::Projection() const {
  D3DXMATRIX projection;
  const float radians = settings.fieldOfViewDegrees * 3.14159265f / 180.0f;
  D3DXMatrixPerspectiveFovLH(&projection, radians, static_cast<float>(settings.width) / settings.height,
                             m_context.nearPlane, m_context.farPlane);
  return projection;
}

void SceneViewer::RenderShadowPass() {
  Scene* current = scene();
  if (current == nullptr) return;
  m_shadowMap->SetAsTarget();
  m_shadowMap->Clear();
  current->shadowNear = settings.shadowNear;
  current->shadowFar = settings.shadowFar;
  current->Render(m_shadowMap->shaderResourceView, true, true, Projection());
}

void SceneViewer::RenderMaterialPass() {
  Scene* current = scene();
  if (current == nullptr) return;
  current->Render(m_shadowMap->shaderResourceView, false, settings.shadows, Projection());
}

void SceneViewer::RenderFrame() {
  Scene* current = scene();
  if (settings.shadows && settings.pass == ViewerPass::Material) RenderShadowPass();
  m_device.SetBackBufferRenderTarget();
  m_device.ResetViewport();
  m_device.BeginScene(settings.background[0], settings.background[1], settings.background[2], 1.0f);
  if (current == nullptr) return;
  switch (settings.pass) {
    case ViewerPass::Material: RenderMaterialPass(); break;
    case ViewerPass::CameraDepth: current->DepthRender(Projection()); break;
    case ViewerPass::ShadowMap:
      current->shadowNear = settings.shadowNear;
      current->shadowFar = settings.shadowFar;
      current->Render(nullptr, true, false, Projection());
      break;
  }
}

void SceneViewer::Present() { m_device.EndScene(); }

std::vector<uint8_t> SceneViewer::ReadPixels() {
  std::vector<uint8_t> pixels(static_cast<size_t>(settings.width) * settings.height * 4);
  if (!m_device.GetSwapChain()->ReadBackBuffer(pixels.data())) pixels.clear();
  return pixels;
}

bool WriteViewerPng(const std::string& path, int width, int height, const std::vector<uint8_t>& pixels) {
  if (pixels.size() != static_cast<size_t>(width) * height * 4) return false;
  std::vector<uint8_t> opaque = pixels;
  for (size_t i = 3; i < opaque.size(); i += 4) opaque[i] = 255;
  return stbi_write_png(path.c_str(), width, height, 4, opaque.data(), width * 4) != 0;
}
