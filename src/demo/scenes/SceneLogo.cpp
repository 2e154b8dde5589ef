// The logo, shaded with ambient occlusion from its own camera depth pass.
#include "app/Timer.h"
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "scene/Scene.h"

void Demo::SceneLogo(RenderTarget* output) {
  Scene* logo = SceneAt(10);
  if (!logo) return;
  UpdateScene(logo);
  // Once the black fader covers the screen nothing drawn before it shows: only the clock runs on.
  if (m_pQuadFaderBlack && m_pQuadFaderBlack->KeyedAlphaAt(m_pTimer->elapsed) >= 1.0f) return;
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
