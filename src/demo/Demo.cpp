#include "demo/Demo.h"

#include <iterator>
#include <new>

#include "app/Timer.h"
#include "demo/CreateOnContext.h"
#include "demo/CueSheet.h"
#include "fx/ParticleSystem.h"
#include "gfx/D3D11Device.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "gfx/ShutdownAndDelete.h"
#include "gfx/TextureCache.h"
#include "platform/audio.h"
#include "platform/message_box.h"
#include "sound/Sound.h"

namespace {

// A key with only alpha: corners and texture coordinates stay zero (fade quads are not dynamic).
QuadKeyframe AlphaKeyframe(const cue::AlphaKey& key) {
  QuadKeyframe keyframe;
  keyframe.mode = 1;
  keyframe.start = key.start;
  keyframe.end = key.end;
  keyframe.alphaFrom = key.from;
  keyframe.alphaTo = key.to;
  return keyframe;
}

// A cosine key moving a caption between two rectangles (left, top, right, bottom in percent).
QuadKeyframe MoveKeyframe(int64_t start, int64_t end, float alphaFrom, float alphaTo, const float (&from)[4],
                          const float (&to)[4]) {
  QuadKeyframe keyframe;
  keyframe.mode = 1;
  keyframe.start = start;
  keyframe.end = end;
  keyframe.alphaFrom = alphaFrom;
  keyframe.alphaTo = alphaTo;
  const D3DXVECTOR2 texCoords[4] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}};
  for (int i = 0; i < 4; ++i) {
    const bool right = i == 1 || i == 3, bottom = i >= 2;
    keyframe.cornersFrom[i] = D3DXVECTOR2(right ? from[2] : from[0], bottom ? from[3] : from[1]);
    keyframe.cornersTo[i] = D3DXVECTOR2(right ? to[2] : to[0], bottom ? to[3] : to[1]);
    keyframe.texCoordsFrom[i] = texCoords[i];
    keyframe.texCoordsTo[i] = texCoords[i];
  }
  return keyframe;
}

}  // namespace

bool Demo::Initialize(int32_t width, int32_t height, bool vsync, bool fullScreen, int32_t refresh, HWND window,
                      Timer* timer, uint8_t* keys) {
  m_width = width;
  m_height = height;
  m_bVSync = vsync;
  m_bFullScreen = fullScreen;
  m_refresh = refresh;
  m_hWnd = window;
  m_pTimer = timer;
  m_pKeys = keys;

  if (!CreateDevice()) return false;

  m_pUtility = new (std::nothrow) Utility();
  if (!m_pUtility) return false;

  m_pSound = new (std::nothrow) Sound();
  if (!m_pSound) return false;
  if (!m_pSound->Create()) {
    ReportError("m_pSound->Create");
    return false;
  }

  FillRenderContext();

  if (!CreateLoadingScreen() || !CreateRenderTargets() || !CreateScreenQuads() || !CreateFadeQuads() ||
      !CreateCaptions() || !CreateRadialBlur() || !CreateDesignLines() || !CreateParticleSystems() ||
      !CreateGlitches() || !CreateSlide())
    return false;

  m_lastSample = m_pTimer->elapsed;
  platform::BASS_ChannelPlay(m_pSound->stream, false);
  return true;
}

// Device, render states, texture cache and shader programs: everything the drawing objects
// are created on.
bool Demo::CreateDevice() {
  m_pD3D11 = new (std::nothrow) D3D11Device();
  if (!m_pD3D11) return false;
  if (!m_pD3D11->Initialize(m_width, m_height, m_bVSync, m_hWnd, m_bFullScreen, 10000.0f, 1.0f)) {
    ReportError("m_pD3D11->Initialize");
    return false;
  }

  m_pRSM = new (std::nothrow) RenderStateManager();
  if (!m_pRSM) return false;
  if (!m_pRSM->Initialize(m_pD3D11->GetDevice(), m_pD3D11->GetDeviceContext())) {
    ReportError("m_pRSM->Initialize");
    return false;
  }

  m_pTextureCache = new (std::nothrow) TextureCache(m_pD3D11->GetDevice());
  if (!m_pTextureCache) return false;

  m_pSM = new (std::nothrow) ShaderManager();
  if (!m_pSM) return false;
  if (!m_pSM->InitShaders(m_hWnd, m_pD3D11->GetDevice(), m_pD3D11->GetDeviceContext(), m_pTimer)) {
    ReportError("m_pSM->InitShaders");
    return false;
  }

  return true;
}

void Demo::FillRenderContext() {
  m_renderContext.hWnd = m_hWnd;
  m_renderContext.keys = m_pKeys;
  m_renderContext.timer = m_pTimer;
  m_renderContext.device = m_pD3D11->GetDevice();
  m_renderContext.context = m_pD3D11->GetDeviceContext();
  m_renderContext.depthStencilView = m_pD3D11->GetDepthStencilView();
  m_renderContext.renderStates = m_pRSM;
  m_renderContext.textures = m_pTextureCache;
  m_renderContext.shaders = m_pSM;
  m_renderContext.utility = m_pUtility;
  m_renderContext.sound = m_pSound;
  m_renderContext.width = m_width;
  m_renderContext.height = m_height;
  m_renderContext.nearPlane = 1.0f;
  m_renderContext.farPlane = 10000.0f;
  m_renderContext.orthoFull = m_pD3D11->GetOrthoMatrix();
  m_renderContext.orthoHalf = m_pD3D11->GetHalfOrthoMatrix();
  m_renderContext.orthoQuarter = m_pD3D11->GetQuarterOrthoMatrix();
}

bool Demo::Frame(int32_t fps) {
  if (m_pSound) m_pSound->Update();
  m_nFps = fps;
  if (m_pD3D11) {
    m_pD3D11->BeginScene(0.0f, 0.0f, 0.0f, 1.0f);
    m_pD3D11->EndScene();
  }
  return true;
}

// The loading picture, drawn once and presented; it stays up while the rest loads.
bool Demo::CreateLoadingScreen() {
  if (!CreateOnContext(*this, m_pQuadLoading, "m_pQuadLoading->Create", 1, 0)) return false;
  m_pD3D11->BeginScene(0.0f, 0.0f, 0.0f, 0.0f);
  m_pD3D11->ResetViewport();
  m_pD3D11->SetBackBufferRenderTarget();
  m_pQuadLoading->Render(0);
  m_pD3D11->EndScene();
  return true;
}

bool Demo::CreateRenderTargets() {
  return CreateOnContext(*this, m_pTexture_1, "m_pTexture_1->Create", 1.0f) &&
         CreateOnContext(*this, m_pTexture_2, "m_pTexture_2->Create", 1.0f) &&
         CreateOnContext(*this, m_pRTT_1_1, "m_pRTT_1_1->Create", 1.0f) &&
         CreateOnContext(*this, m_pRTT_1_2, "m_pRTT_1_2->Create", 1.0f) &&
         CreateOnContext(*this, m_pRTT_4_1, "m_pRTT_4_1->Create", 0.5f) &&
         CreateOnContext(*this, m_pRTT_4_2, "m_pRTT_4_2->Create", 0.5f) &&
         CreateOnContext(*this, m_pRTT_16_1, "m_pRTT_16_1->Create", 0.25f) &&
         CreateOnContext(*this, m_pRTT_16_2, "m_pRTT_16_2->Create", 0.25f) &&
         CreateOnContext(*this, m_pRTT_Blur, "m_pRTT_Blur->Create", 1.0f) &&
         CreateOnContext(*this, m_pRTT_BrightPass, "m_pRTT_BrightPass->Create", 1.0f) &&
         CreateOnContext(*this, m_pRTT_DepthMap, "m_pRTT_DepthMap->Create", 1.0f) &&
         CreateOnContext(*this, m_pRTT_SSAO, "m_pRTT_SSAO->Create", 1.0f) &&
         CreateOnContext(*this, m_pRTT_SSAO_normals_depth, "m_pRTT_SSAO_normals_depth->Create", 0.5f);
}

// The effect quads draw through their own programs; the others copy, blend and preview.
bool Demo::CreateScreenQuads() {
  return CreateOnContext(*this, m_pQuad_Blur_4, "m_pQuad_Blur_4->Create", 2, m_pSM->blurShader, 1) &&
         CreateOnContext(*this, m_pQuad_Blur_16, "m_pQuad_Blur_16->Create", 2, m_pSM->blurShader, 2) &&
         CreateOnContext(*this, m_pQuad_TexMix, "m_pQuad_TexMix->Create", 3, m_pSM->texMixShader, 0) &&
         CreateOnContext(*this, m_pQuad_SSAO, "m_pQuad_SSAO->Create", 4, m_pSM->ssaoShader, 0) &&
         CreateOnContext(*this, m_pQuad_Noise, "m_pQuad_Noise->Create", 5, 0) &&
         CreateOnContext(*this, m_pQuad_1_Solid, "m_pQuad_1_Solid->Create", 6, 0) &&
         CreateOnContext(*this, m_pQuad_1_Blend, "m_pQuad_1_Blend->Create", 7, 0) &&
         CreateOnContext(*this, m_pQuad_4_Solid, "m_pQuad_4_Solid->Create", 6, 1) &&
         CreateOnContext(*this, m_pQuad_4_Blend, "m_pQuad_4_Blend->Create", 7, 1) &&
         CreateOnContext(*this, m_pQuad_16_Solid, "m_pQuad_16_Solid->Create", 6, 2) &&
         CreateOnContext(*this, m_pQuad_16_Blend, "m_pQuad_16_Blend->Create", 7, 2) &&
         CreateOnContext(*this, m_pQuad_Texture_1, "m_pQuad_Texture_1->Create", 12, 0) &&
         CreateOnContext(*this, m_pQuad_Texture_2, "m_pQuad_Texture_2->Create", 13, 0) &&
         CreateOnContext(*this, m_pQuad_Texture_Bright, "m_pQuad_Texture_Bright->Create", 14, 0) &&
         CreateOnContext(*this, m_pQuad_Texture_Depth, "m_pQuad_Texture_Depth->Create", 15, 0) &&
         CreateOnContext(*this, m_pQuadBack_Flagge, "m_pQuadBack_Flagge->Create", 17, 0);
}

// The black fader draws its colour only; each fader gets its keys right after creation.
bool Demo::CreateFadeQuads() {
  if (!CreateOnContext(*this, m_pQuadFaderBlack, "m_pQuadFaderBlack->Create", 8, 0)) return false;
  m_pQuadFaderBlack->hasTexture = false;
  for (const cue::AlphaKey& key : cue::kBlackFader) m_pQuadFaderBlack->AddKeyframe(AlphaKeyframe(key));
  if (!CreateOnContext(*this, m_pQuadFaderCross, "m_pQuadFaderCross->Create", 10, 0)) return false;
  for (const cue::AlphaKey& key : cue::kCrossFader) m_pQuadFaderCross->AddKeyframe(AlphaKeyframe(key));
  if (!CreateOnContext(*this, m_pQuadFlasher, "m_pQuadFlasher->Create", 11, 0)) return false;
  for (const cue::AlphaKey& key : cue::kFlasher) m_pQuadFlasher->AddKeyframe(AlphaKeyframe(key));
  return CreateOnContext(*this, m_pQuadOver_Vignette, "m_pQuadOver_Vignette->Create", 18, 0);
}

// Each title slides in along the bottom fifth, holds, and slides out again; the credits fade
// in and out over the whole screen.
bool Demo::CreateCaptions() {
  struct Caption {
    Quad* Demo::*member;
    int32_t preset;
    const char* message;
  };
  static const Caption kTitles[] = {
      {&Demo::m_pQuadText_Tunnel, 20, "m_pQuadText_Tunnel->Create"},
      {&Demo::m_pQuadText_Magnet, 21, "m_pQuadText_Magnet->Create"},
      {&Demo::m_pQuadText_Zelle, 22, "m_pQuadText_Zelle->Create"},
      {&Demo::m_pQuadText_Qualle, 23, "m_pQuadText_Qualle->Create"},
      {&Demo::m_pQuadText_Fratze, 24, "m_pQuadText_Fratze->Create"},
      {&Demo::m_pQuadText_Blob, 25, "m_pQuadText_Blob->Create"},
      {&Demo::m_pQuadText_Soft, 26, "m_pQuadText_Soft->Create"},
      {&Demo::m_pQuadText_Logo, 27, "m_pQuadText_Logo->Create"},
  };
  static_assert(std::size(kTitles) == cue::kCaptions.size());
  static const float kOutside[4] = {100.0f, 80.0f, 150.0f, 100.0f};
  static const float kShown[4] = {50.0f, 80.0f, 100.0f, 100.0f};
  for (size_t i = 0; i < std::size(kTitles); ++i) {
    const cue::CaptionCue& keys = cue::kCaptions[i];
    Quad*& quad = this->*kTitles[i].member;
    if (!CreateOnContext(*this, quad, kTitles[i].message, kTitles[i].preset, 0)) return false;
    quad->AddKeyframe(MoveKeyframe(keys.slideInStart, keys.slideInEnd, 1.0f, 1.0f, kOutside, kShown));
    quad->AddKeyframe(MoveKeyframe(keys.holdStart, keys.slideOutStart, 1.0f, 1.0f, kShown, kShown));
    quad->AddKeyframe(MoveKeyframe(keys.slideOutStart, keys.slideOutEnd, 1.0f, 1.0f, kShown, kOutside));
  }
  if (!CreateOnContext(*this, m_pQuadText_Credits, "m_pQuadText_Credits->Create", 28, 0)) return false;
  static const float kWholeScreen[4] = {0.0f, 0.0f, 100.0f, 100.0f};
  for (const cue::AlphaKey& key : cue::kCredits) {
    m_pQuadText_Credits->AddKeyframe(MoveKeyframe(key.start, key.end, key.from, key.to, kWholeScreen, kWholeScreen));
  }
  return true;
}

// The blob's formula glyphs and dust, the cell's two shells and the jellyfish's marine snow. The
// order matters beyond naming: the shells restart the shared random sequence and the snow
// continues it.
bool Demo::CreateParticleSystems() {
  return CreateOnContext(*this, m_pSB1, "m_pSB1->Create", GetParticlePreset(7)) &&
         CreateOnContext(*this, m_pSB2, "m_pSB2->Create", GetParticlePreset(8)) &&
         CreateOnContext(*this, m_pSB_Zelle1, "m_pSB_Zelle1->Create", GetParticlePreset(10)) &&
         CreateOnContext(*this, m_pSB_Zelle2, "m_pSB_Zelle2->Create", GetParticlePreset(11)) &&
         CreateOnContext(*this, m_pSB_Qualle, "m_pSB_Qualle->Create", GetParticlePreset(18));
}

// Quads and targets in the reverse of the creation order, then the loading quad.
void Demo::ReleaseScreenResources() {
  ShutdownAndDelete(m_pQuadText_Credits);
  ShutdownAndDelete(m_pQuadText_Logo);
  ShutdownAndDelete(m_pQuadText_Soft);
  ShutdownAndDelete(m_pQuadText_Blob);
  ShutdownAndDelete(m_pQuadText_Fratze);
  ShutdownAndDelete(m_pQuadText_Qualle);
  ShutdownAndDelete(m_pQuadText_Zelle);
  ShutdownAndDelete(m_pQuadText_Magnet);
  ShutdownAndDelete(m_pQuadText_Tunnel);
  ShutdownAndDelete(m_pQuadOver_Vignette);
  ShutdownAndDelete(m_pQuadBack_Flagge);
  ShutdownAndDelete(m_pQuadFlasher);
  ShutdownAndDelete(m_pQuadFaderCross);
  ShutdownAndDelete(m_pQuadFaderBlack);
  ShutdownAndDelete(m_pQuad_Texture_Depth);
  ShutdownAndDelete(m_pQuad_Texture_Bright);
  ShutdownAndDelete(m_pQuad_Texture_2);
  ShutdownAndDelete(m_pQuad_Texture_1);
  ShutdownAndDelete(m_pQuad_16_Blend);
  ShutdownAndDelete(m_pQuad_16_Solid);
  ShutdownAndDelete(m_pQuad_4_Blend);
  ShutdownAndDelete(m_pQuad_4_Solid);
  ShutdownAndDelete(m_pQuad_1_Blend);
  ShutdownAndDelete(m_pQuad_1_Solid);
  ShutdownAndDelete(m_pQuad_Noise);
  ShutdownAndDelete(m_pQuad_SSAO);
  ShutdownAndDelete(m_pQuad_TexMix);
  ShutdownAndDelete(m_pQuad_Blur_16);
  ShutdownAndDelete(m_pQuad_Blur_4);
  ShutdownAndDelete(m_pRTT_SSAO_normals_depth);
  ShutdownAndDelete(m_pRTT_SSAO);
  ShutdownAndDelete(m_pRTT_DepthMap);
  ShutdownAndDelete(m_pRTT_BrightPass);
  ShutdownAndDelete(m_pRTT_Blur);
  ShutdownAndDelete(m_pRTT_16_2);
  ShutdownAndDelete(m_pRTT_16_1);
  ShutdownAndDelete(m_pRTT_4_2);
  ShutdownAndDelete(m_pRTT_4_1);
  ShutdownAndDelete(m_pRTT_1_2);
  ShutdownAndDelete(m_pRTT_1_1);
  ShutdownAndDelete(m_pTexture_2);
  ShutdownAndDelete(m_pTexture_1);
  ShutdownAndDelete(m_pQuadLoading);
}

void Demo::Shutdown() {
  // The sound library ends first: its threads still read the music file and our buffers.
  if (m_pSound) {
    platform::BASS_Free();
    delete m_pSound;
    m_pSound = nullptr;
  }
  ReleaseSlideAndGlitches();
  ShutdownAndDelete(m_pSB_Qualle);
  ShutdownAndDelete(m_pSB_Zelle2);
  ShutdownAndDelete(m_pSB_Zelle1);
  ShutdownAndDelete(m_pSB2);
  ShutdownAndDelete(m_pSB1);
  ReleaseLinesAndRadialBlur();
  ReleaseScreenResources();
  delete m_pUtility;
  m_pUtility = nullptr;
  ShutdownAndDelete(m_pSM);
  ShutdownAndDelete(m_pTextureCache);
  ShutdownAndDelete(m_pRSM);
  // The device goes last: everything above was created on it.
  ShutdownAndDelete(m_pD3D11);
}

void Demo::ReportError(std::string_view text) {
  platform::MessageBox(m_hWnd, text, "rock'n'error", MB_ICONERROR);
}

bool Demo::SaveFrame(const char* path) const {
  return m_pD3D11 && m_pD3D11->GetSwapChain() && m_pD3D11->GetSwapChain()->SaveBackBufferPng(path);
}
