// Taking the show back to the state creation left it in, so that it can start again at any
// show time (development seeks) the way a fresh start does.
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "fx/GlitchKeyable.h"
#include "fx/GlitchSound.h"
#include "fx/ParticleSystem.h"
#include "scene/SceneLoader.h"

void Demo::Rewind() {
  if (m_pScenes) {
    for (const auto& scene : m_pScenes->scenes) scene->Rewind();
  }
  for (ParticleSystem* system : {m_pSB1, m_pSB2, m_pSB_Zelle1, m_pSB_Zelle2, m_pSB_Qualle})
    if (system) system->Rewind();
  m_blobAngle = 0.0f;
  m_zelleAngle = 0.0f;
  // Throttles remember the show time of their last update; from a later time they would
  // wait until the show got back there.
  m_bGlitchSoundStarted = false;
  if (m_pGlitchKeyable) m_pGlitchKeyable->lastUpdate = 0;
  if (m_pGlitchSound) m_pGlitchSound->lastUpdate = 0;
  m_lastSample = 0;
  // The lens holds its value where no key covers the time.
  if (m_pLens) m_pLens->SetFov(kLensStartFov);
}
