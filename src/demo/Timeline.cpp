// One frame of the show: the music's block, the glitch rows and the music level for the
// post-processing, then the timeline: the lens, the one scene that owns the show time, and
// the composition of its picture with slides, faders, captions, vignette, credits and flashes
// on the back buffer.
#include "app/Timer.h"
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "demo/ShowData.h"
#include "gfx/D3D11Device.h"
#include "gfx/FrameProfiler.h"
#include "fx/GlitchSound.h"
#include "fx/Slide.h"
#include "gfx/ShaderManager.h"
#include "scene/SceneLoader.h"
#include "sound/MusicLevels.h"
#include "sound/Sound.h"

namespace {

// The music level reaches the post-processing at most this often, whatever the frame rate.
constexpr int64_t kAudioLevelInterval = 33;

}  // namespace

bool Demo::Frame(int32_t fps) {
  m_nFps = fps;
  {
    // The director's own work before anything is drawn; the drawing is timed pass by pass.
    const ProfileCpuScope timed("director");
    if (m_pSound) m_pSound->Update();
    UpdateGlitch();
    const int64_t t = m_pTimer->elapsed;
    if (t - m_lastSample > kAudioLevelInterval) {
      m_lastSample = t;
      if (m_pSM && m_pSM->postProcessShader && m_pSound) m_pSM->postProcessShader->audioLevel = m_pSound->peak;
    }
  }
  RunTimeline();
  // After presenting: a program asked for ahead costs this frame a little instead of costing
  // its scene's first frame a lot.
  if (m_pSM) m_pSM->MakeNextSpecialisedPrograms();
  return true;
}

void Demo::RunTimeline() {
  const int64_t t = m_pTimer->elapsed;
  m_pLens->Update();
  m_pD3D11->BeginScene(0.0f, 0.0f, 0.0f, 1.0f);
  RehearseComingScene(t);
  RunScene(t);
  m_pD3D11->ResetViewport();
  m_pD3D11->SetBackBufferRenderTarget();
  ComposeBackBuffer();
  DrawDebugOverlay();
  DrawReloadProblem();
  m_pD3D11->EndScene();
}

void Demo::RunScene(int64_t t) {
  m_nScene = show::ScheduledScene(t);
  switch (m_nScene) {
    case 5: SceneFlagge(m_pTexture_1); break;
    case 7:
      SceneTunnel1();
      SceneTunnel2();
      break;
    case 4: SceneMagnet(m_pTexture_1); break;
    case 1: SceneZelle(m_pTexture_1); break;
    case 2: SceneQualle(m_pTexture_1); break;
    case 3: SceneFratze(m_pTexture_1); break;
    case 0: SceneBlob(m_pTexture_1); break;
    case 9: SceneSoft(m_pTexture_1); break;
    case 10: SceneLogo(m_pTexture_1); break;
    default: break;
  }
}

void Demo::ComposeBackBuffer() {
  m_pQuad_1_Solid->hasTexture = true;
  m_pQuad_1_Solid->texture = m_pTexture_1->shaderResourceView;
  m_pQuad_1_Solid->Render(m_nFinalEffect);
  m_pSlide->Render();
  m_pQuadFaderCross->texture = m_pTexture_2->shaderResourceView;
  KeyedDraw(m_pQuadFaderCross);
  for (Quad* caption : {m_pQuadText_Tunnel, m_pQuadText_Magnet, m_pQuadText_Zelle, m_pQuadText_Qualle,
                        m_pQuadText_Fratze, m_pQuadText_Blob, m_pQuadText_Soft, m_pQuadText_Logo})
    KeyedDraw(caption);
  m_pQuadOver_Vignette->overlay = true;
  m_pQuadOver_Vignette->alpha = 1.0f;
  m_pQuadOver_Vignette->Render(0);
  KeyedDraw(m_pQuadFaderBlack);
  KeyedDraw(m_pQuadText_Credits);
  KeyedDraw(m_pQuadFlasher);
}

// A keyed quad draws only while one of its keys covers the show time; a moving one gets its
// corners first.
void Demo::KeyedDraw(Quad* quad) {
  if (!quad->Animate()) return;
  if (quad->preset.dynamic) {
    quad->RebuildVertices();
    quad->UploadVertices();
  }
  quad->Render(0);
}

// Runs the scenes that own the time from the slot's start up to showTime with frames of
// frameStep ms on the same grid a run from 0 has, updating without drawing: the scene clocks
// and the scene angles end where that run leaves them, the blob's turning with the level the
// music has at each frame. The frame at showTime is included: the first frame after the Timer
// starts adds no time of its own.
void Demo::StartAt(int64_t showTime, int64_t frameStep) {
  if (m_pSound) m_pSound->SetPosition(showTime);
  // The first frame hands the music's level and, past the hand-over, the sound glitch's entries
  // to the post-processing as a run from 0 has them there; before the glitch's first update its
  // array is all zeros, which blackens the scenes' finishing looks.
  m_lastSample = showTime > 0 ? showTime - kAudioLevelInterval - 1 : showTime;
  if (showTime >= cue::kGlitchSoundStart && m_pGlitchSound) {
    m_bGlitchSoundStarted = true;
    m_pGlitchSound->lastUpdate = showTime - m_pGlitchSound->interval;
  }
  if (frameStep <= 0 || showTime <= 0) return;
  const int64_t slotStart = show::SlotStart(showTime);
  const int32_t scene = show::ScheduledScene(showTime);
  MusicLevels levels;
  if (scene == 0) levels.Open(slotStart);
  for (int64_t t = (slotStart + frameStep - 1) / frameStep * frameStep; t <= showTime; t += frameStep) {
    for (int32_t index : show::ScenesUpdatedAt(t))
      if (Scene* updated = SceneAt(index)) updated->Update(t, frameStep);
    if (scene == 1) TurnZelle(frameStep);
    if (scene == 0) TurnBlob(frameStep, levels.PeakAt(t));
  }
}
