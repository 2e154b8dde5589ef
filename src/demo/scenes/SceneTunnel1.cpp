// The tunnel's first half, into the first scene output.
#include "demo/Demo.h"

void Demo::SceneTunnel1() {
  PrepareTarget(m_pRTT_1_1);
  DrawScene(7, false, false);
  FinishWith(m_pTexture_1, m_pRTT_1_1, 101);
}
