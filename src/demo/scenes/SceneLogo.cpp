// The logo, shaded with ambient occlusion from its own camera depth pass.
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "scene/Scene.h"

void Demo::SceneLogo(RenderTarget* output) {
  Scene* logo = SceneAt(10);
  if (!logo) return;
  UpdateScene(logo);
  PrepareTarget(m_pRTT_SSAO_normals_depth);
  logo->DepthRender(m_pLens->projection);
  Occlusion();
  Blur(8, m_pRTT_SSAO);
  PrepareTarget(m_pRTT_1_1);
  DrawSceneAgain(10, false, false);
  PrepareOverwritten(m_pRTT_1_2);
  Mix(1, m_pRTT_1_1);
  FinishWith(output, m_pRTT_1_2, 109);
}
