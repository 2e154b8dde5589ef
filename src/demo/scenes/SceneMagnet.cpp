// The magnet: lit from its light with shadows, bloomed, and softened with its own blur.
#include "demo/Demo.h"
#include "scene/Scene.h"

void Demo::SceneMagnet(RenderTarget* output) {
  Scene* magnet = SceneAt(4);
  if (!magnet) return;
  UpdateScene(magnet);
  PrepareTarget(m_pRTT_DepthMap);
  magnet->shadowNear = 500.0f;
  magnet->shadowFar = 2000.0f;
  DrawSceneAgain(4, true, true);
  PrepareTarget(m_pRTT_1_1);
  DrawSceneAgain(4, false, true);
  Bloom();
  Blur(4, m_pRTT_1_2);
  PrepareOverwritten(m_pRTT_1_1);
  Mix(2, m_pRTT_1_2);
  FinishWith(output, m_pRTT_1_1, 103);
}
