// The face, bloomed.
#include "demo/Demo.h"

void Demo::SceneFratze(RenderTarget* output) {
  PrepareTarget(m_pRTT_1_1);
  DrawScene(3, false, false);
  Bloom();
  FinishWith(output, m_pRTT_1_2, 106);
}
