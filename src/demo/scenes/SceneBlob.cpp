// The blob among floating formula glyphs and dust, crossed by the design lines, with the
// radial blur over all. The glyphs turn ten times faster while the music peaks.
#include "app/Timer.h"
#include "demo/Demo.h"
#include "fx/DesignLines.h"
#include "fx/GlitchSound.h"
#include "sound/Sound.h"

void Demo::SceneBlob(RenderTarget* output) {
  PrepareTarget(m_pRTT_1_1);
  m_pGlitchSound->gain = 5.0f * m_pTimer->oscCosSlow + 20.0f;
  TurnBlob(m_pTimer->delta, m_pSound->peak);
  const float b = m_blobAngle;
  const D3DXMATRIX world = TurnedWorld(0.02f * b, 0.03f * b, 0.05f * b);
  ParticleView(m_pSB1, world);
  ParticleView(m_pSB2, world);
  m_pDesignLines->Render();
  DrawScene(0, false, false);
  RadialOverlay();
  FinishWith(output, m_pRTT_1_1, 107);
}

void Demo::TurnBlob(int64_t delta, float musicPeak) {
  const float speed = musicPeak >= 0.5f ? 0.005f : 0.0005f;
  m_blobAngle += speed * 3.1415927f * static_cast<float>(delta);
  if (m_blobAngle > 360.0f) m_blobAngle -= 360.0f;
}
