// The Demo's effect objects: radial blur, design lines, the two glitches and the slides, their
// creation steps and the per-frame glitch hand-over.
#include "app/Timer.h"
#include "demo/CreateOnContext.h"
#include "demo/CueSheet.h"
#include "demo/Demo.h"
#include "fx/DesignLines.h"
#include "fx/GlitchKeyable.h"
#include "fx/GlitchSound.h"
#include "fx/RadialBlur.h"
#include "fx/Slide.h"
#include "gfx/ShutdownAndDelete.h"

bool Demo::CreateRadialBlur() { return CreateOnContext(*this, m_pRadialBlur, "m_pRadialBlur->Create"); }

bool Demo::CreateDesignLines() { return CreateOnContext(*this, m_pDesignLines, "m_pDesignLines->Create"); }

bool Demo::CreateGlitches() {
  return CreateOnContext(*this, m_pGlitchKeyable, "m_pGlitchKeyable->Create") &&
         CreateOnContext(*this, m_pGlitchSound, "m_pGlitchSound->Create");
}

// Six transitions of the blob scene's end, each showing the scene picture in both rectangles:
// it slides out of the screen and back in.
bool Demo::CreateSlide() {
  if (!CreateOnContext(*this, m_pSlide, "m_pSlide->Create")) return false;
  for (const cue::SlideCue& cue : cue::kSlides) {
    SlideKey key;
    key.mode = cue.mode;
    key.squeeze = cue.squeeze;
    key.interpolation = 1;
    key.start = cue.start;
    key.end = cue.end;
    key.textureA = m_pTexture_1 ? m_pTexture_1->shaderResourceView : nullptr;
    key.textureB = key.textureA;
    key.effectA = 0;
    key.effectB = 0;
    m_pSlide->AddKey(key);
  }
  return true;
}

// The effect objects go in the reverse of their creation order.
void Demo::ReleaseSlideAndGlitches() {
  ShutdownAndDelete(m_pSlide);
  ShutdownAndDelete(m_pGlitchSound);
  ShutdownAndDelete(m_pGlitchKeyable);
}

void Demo::ReleaseLinesAndRadialBlur() {
  ShutdownAndDelete(m_pDesignLines);
  ShutdownAndDelete(m_pRadialBlur);
}

void Demo::UpdateGlitch() {
  if (!m_pTimer || !m_pGlitchKeyable || !m_pGlitchSound) return;
  const int64_t now = m_pTimer->elapsed;
  if (now >= cue::kGlitchSoundStart) {
    if (!m_bGlitchSoundStarted) {
      // Its first update comes one interval after the hand-over.
      m_bGlitchSoundStarted = true;
      m_pGlitchSound->lastUpdate = now;
    }
    m_pGlitchSound->Update();
    return;
  }
  m_pGlitchKeyable->Update();
  m_pGlitchKeyable->CopyIntoShader();
}
