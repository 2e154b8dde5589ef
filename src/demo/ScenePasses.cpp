// The steps the scene compositions are made of: preparing targets, copying one target into
// another with an effect number, and drawing a loaded scene with the lens.
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "gfx/FrameProfiler.h"
#include "gfx/RenderTarget.h"
#include "scene/SceneLoader.h"

Scene* Demo::SceneAt(int32_t index) const {
  if (!m_pScenes || index < 0 || static_cast<size_t>(index) >= m_pScenes->scenes.size()) return nullptr;
  return m_pScenes->scenes[static_cast<size_t>(index)].get();
}

void Demo::PrepareTransparent(RenderTarget* target) {
  target->SetAsTarget();
  const float transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  m_renderContext.context->ClearRenderTargetView(target->renderTargetView, transparent);
  m_renderContext.context->ClearDepthStencilView(m_renderContext.depthStencilView, D3D11_CLEAR_DEPTH, 1.0f, 0);
}

void Demo::DrawScene(int32_t index, bool depthPass, bool shaderFlag) {
  Scene* scene = SceneAt(index);
  if (!scene) return;
  UpdateScene(scene);
  DrawSceneAgain(index, depthPass, shaderFlag);
}

void Demo::UpdateScene(Scene* scene) {
  const ProfileCpuScope timed("update");
  scene->Update();
}

void Demo::DrawSceneAgain(int32_t index, bool depthPass, bool shaderFlag) {
  Scene* scene = SceneAt(index);
  if (!scene) return;
  scene->Render(m_pRTT_DepthMap->shaderResourceView, depthPass, shaderFlag, m_pLens->projection);
}

void Demo::FinishWith(RenderTarget* output, RenderTarget* source, int32_t effect) {
  PrepareOverwritten(output);
  CopyTarget(source, effect);
}
