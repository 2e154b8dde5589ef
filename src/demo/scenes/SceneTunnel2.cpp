// The tunnel's second half, into the second scene output; the timeline's cross-fader lays it
// over the first.
#include "app/Timer.h"
#include "demo/Demo.h"

void Demo::SceneTunnel2() {
  // Outside the cross-fader's keys nothing shows this half: its clock runs on, unseen and undrawn.
  if (m_pQuadFaderCross && !m_pQuadFaderCross->KeyedAt(m_pTimer->elapsed)) {
    if (Scene* scene = SceneAt(8)) UpdateScene(scene);
    return;
  }
  PrepareTarget(m_pRTT_1_1);
  DrawScene(8, false, false);
  FinishWith(m_pTexture_2, m_pRTT_1_1, 102);
}
