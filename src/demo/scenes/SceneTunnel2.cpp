// The tunnel's second half, into the second scene output; the timeline's cross-fader lays it
// over the first.
#include "demo/Demo.h"

void Demo::SceneTunnel2() {
  PrepareTarget(m_pRTT_1_1);
  DrawScene(8, false, false);
  FinishWith(m_pTexture_2, m_pRTT_1_1, 102);
}
