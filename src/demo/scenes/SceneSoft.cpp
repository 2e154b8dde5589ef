// The soft bodies: lit with shadows from their light, bloomed and softened.
#include "demo/Demo.h"
#include "scene/Scene.h"

void Demo::SceneSoft(RenderTarget* output) {
  Scene* soft = SceneAt(9);
  if (!soft) return;
  PrepareTarget(m_pRTT_DepthMap);
  soft->shadowNear = 160.0f;
  soft->shadowFar = 3000.0f;
  DrawScene(9, true, true);
  PrepareTarget(m_pRTT_1_1);
  DrawSceneAgain(9, false, true);
  Bloom();
  Blur(4, m_pRTT_1_2);
  PrepareOverwritten(m_pRTT_1_1);
  Mix(2, m_pRTT_1_2);
  FinishWith(output, m_pRTT_1_1, 108);
}
