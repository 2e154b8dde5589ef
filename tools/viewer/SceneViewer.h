#pragma once
// Everything needed to look at one .c4e scene outside the show: the device on a window (or a
// headless one), the render states, texture cache and shader programs, the shadow map target,
// and the loaded scene, posed at a scene time and drawn the way the show's shadowed scenes are:
// shadow pass from the first light, then the material pass.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/D3D11Device.h"
#include "gfx/RenderContext.h"
#include "gfx/RenderStateManager.h"
#include "gfx/RenderTarget.h"
#include "gfx/ShaderManager.h"
#include "gfx/TextureCache.h"
#include "scene/SceneLoader.h"

namespace platform {
class Window;
}

// What the back buffer shows.
enum class ViewerPass {
  Material,     // the lit scene
  CameraDepth,  // the camera depth pass: depth in red, the view normal in green and blue
  ShadowMap     // the shadow pass from the first light
};

struct ViewerSettings {
  int width = 1280;
  int height = 720;
  float fieldOfViewDegrees = 45.0f;
  bool shadows = true;
  float shadowNear = 500.0f;
  float shadowFar = 2000.0f;
  ViewerPass pass = ViewerPass::Material;
  // The camera's up vector turns with its rotation track (the show sets this for rolling cameras).
  bool upFollowsRotation = false;
  float background[3] = {0.0f, 0.0f, 0.0f};
};

class SceneViewer {
 public:
  SceneViewer() = default;
  SceneViewer(const SceneViewer&) = delete;
  SceneViewer& operator=(const SceneViewer&) = delete;
  ~SceneViewer() { Shutdown(); }

  // Device, states, programs and the shadow target on the window; the working directory must hold
  // engine_data/ with the shaders. Failures have shown their boxes (on stderr as well).
  bool Initialize(platform::Window* window, const ViewerSettings& settings);
  // Loads engine_data/<fileName>.
  bool Load(const std::string& fileName);
  void Shutdown();

  // Poses the scene at a scene time (wrapped into its length) through one of its cameras.
  void Pose(int64_t sceneTime, int32_t camera);
  // The shadow pass (when shadows are on) and the chosen pass into the back buffer.
  void RenderFrame();
  void RenderShadowPass();
  void RenderMaterialPass();
  void Present();
  // The back buffer, RGBA8, top row first.
  std::vector<uint8_t> ReadPixels();

  Scene* scene() const { return m_loader && !m_loader->scenes.empty() ? m_loader->scenes.back().get() : nullptr; }
  ViewerSettings settings;

 private:
  D3DXMATRIX Projection() const;

  D3D11Device m_device;
  RenderStateManager m_states;
  std::unique_ptr<TextureCache> m_textures;
  ShaderManager m_shaders;
  RenderContext m_context;
  std::unique_ptr<RenderTarget> m_shadowMap;
  std::unique_ptr<SceneLoader> m_loader;
};

// Writes RGBA8 pixels, top row first, as a PNG.
bool WriteViewerPng(const std::string& path, int width, int height, const std::vector<uint8_t>& pixels);
