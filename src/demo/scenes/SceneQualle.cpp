// The jellyfish in its deep sea of drifting specks, bloomed and softened.
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "gfx/D3D11Device.h"

void Demo::SceneQualle(RenderTarget* output) {
  PrepareTarget(m_pRTT_1_1);
  DrawScene(2, false, false);
  // The specks always through a 45-degree lens; the next frame's timeline restores the keys.
  m_pLens->SetFov(45.0f);
  ParticleView(m_pSB_Qualle, m_pD3D11->GetWorldMatrix());
  Bloom();
  Blur(8, m_pRTT_1_2);
  PrepareOverwritten(m_pRTT_1_1);
  Mix(2, m_pRTT_1_2);
  FinishWith(output, m_pRTT_1_1, 105);
}
