// The Demo's creation sequence: every object of the show in a fixed order behind the loading
// picture, each failure named in its own box, and last the music.
#include <new>

#include "app/Timer.h"
#include "demo/CreateOnContext.h"
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "demo/ShowData.h"
#include "diag/DebugFont.h"
#include "fx/ParticleSystem.h"
#include "gfx/D3D11Device.h"
#include "gfx/MakeRenderContext.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "gfx/TextureCache.h"
#include "platform/audio.h"
#include "scene/SceneLoader.h"
#include "sound/Sound.h"

namespace {

void AddKeyframes(Quad* quad, const std::vector<QuadKeyframe>& keyframes) {
  for (const QuadKeyframe& keyframe : keyframes) quad->AddKeyframe(keyframe);
}

}  // namespace

bool Demo::Initialize(int32_t width, int32_t height, bool vsync, bool fullScreen, int32_t refresh, HWND window,
                      Timer* timer, uint8_t* keys) {
  StoreArguments(width, height, vsync, fullScreen, refresh, window, timer, keys);
  if (!CreateDevice() || !CreateDebugFont() || !CreateRenderStates() || !CreateTextureCache() ||
      !CreateShaderPrograms() || !CreateUtility() || !CreateSound())
    return false;
  FillRenderContext();
  return CreateSceneLoader() && CreateLoadingScreen() && CreateRenderTargets() && CreateScreenQuads() &&
         CreateFadeQuads() && CreateCaptions() && CreateRadialBlur() && CreateDesignLines() &&
         CreateParticleSystems() && CreateGlitches() && CreateSlide() && CreateLens() && CreateScenes() &&
         StartMusic();
}

void Demo::StoreArguments(int32_t width, int32_t height, bool vsync, bool fullScreen, int32_t refresh, HWND window,
                          Timer* timer, uint8_t* keys) {
  m_width = width;
  m_height = height;
  m_bVSync = vsync;
  m_bFullScreen = fullScreen;
  m_refresh = refresh;
  m_hWnd = window;
  m_pTimer = timer;
  m_pKeys = keys;
}

bool Demo::CreateDevice() {
  m_pD3D11 = new (std::nothrow) D3D11Device();
  if (!m_pD3D11) return false;
  if (m_pD3D11->Initialize(m_width, m_height, m_bVSync, m_hWnd, m_bFullScreen, 10000.0f, 1.0f)) return true;
  ReportError("m_pD3D11->Initialize");
  return false;
}

// Only a failed allocation fails here: without a font the overlay simply writes nothing.
bool Demo::CreateDebugFont() {
  m_pFont = new (std::nothrow) DebugFont();
  if (!m_pFont) return false;
  m_pFont->device = m_pD3D11->GetDevice();
  m_pFont->context = m_pD3D11->GetDeviceContext();
  CreateDebugFontWrapper(*m_pFont, "Arial");
  return true;
}

bool Demo::CreateRenderStates() {
  m_pRSM = new (std::nothrow) RenderStateManager();
  if (!m_pRSM) return false;
  if (m_pRSM->Initialize(m_pD3D11->GetDevice(), m_pD3D11->GetDeviceContext())) return true;
  ReportError("m_pRSM->Initialize");
  return false;
}

bool Demo::CreateTextureCache() {
  m_pTextureCache = new (std::nothrow) TextureCache(m_pD3D11->GetDevice());
  return m_pTextureCache != nullptr;
}

bool Demo::CreateShaderPrograms() {
  m_pSM = new (std::nothrow) ShaderManager();
  if (!m_pSM) return false;
  if (m_pSM->InitShaders(m_hWnd, m_pD3D11->GetDevice(), m_pD3D11->GetDeviceContext(), m_pTimer)) return true;
  ReportError("m_pSM->InitShaders");
  return false;
}

bool Demo::CreateUtility() {
  m_pUtility = new (std::nothrow) Utility();
  return m_pUtility != nullptr;
}

bool Demo::CreateSound() {
  m_pSound = new (std::nothrow) Sound();
  if (!m_pSound) return false;
  if (m_pSound->Create()) return true;
  ReportError("m_pSound->Create");
  return false;
}

void Demo::FillRenderContext() {
  m_renderContext = MakeRenderContext(
      *m_pD3D11, {m_hWnd, m_pKeys, m_pTimer, m_pRSM, m_pTextureCache, m_pSM, m_pUtility, m_pSound});
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
  AddKeyframes(m_pQuadFaderBlack, show::BlackFaderKeyframes());
  if (!CreateOnContext(*this, m_pQuadFaderCross, "m_pQuadFaderCross->Create", 10, 0)) return false;
  AddKeyframes(m_pQuadFaderCross, show::CrossFaderKeyframes());
  if (!CreateOnContext(*this, m_pQuadFlasher, "m_pQuadFlasher->Create", 11, 0)) return false;
  AddKeyframes(m_pQuadFlasher, show::FlasherKeyframes());
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
  for (size_t i = 0; i < std::size(kTitles); ++i) {
    Quad*& quad = this->*kTitles[i].member;
    if (!CreateOnContext(*this, quad, kTitles[i].message, kTitles[i].preset, 0)) return false;
    AddKeyframes(quad, show::CaptionKeyframes(cue::kCaptions[i]));
  }
  if (!CreateOnContext(*this, m_pQuadText_Credits, "m_pQuadText_Credits->Create", 28, 0)) return false;
  AddKeyframes(m_pQuadText_Credits, show::CreditsKeyframes());
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

bool Demo::CreateLens() {
  m_pLens = new (std::nothrow) Lens(m_renderContext);
  if (!m_pLens) return false;
  for (const FovKey& key : show::FovKeys()) m_pLens->AddKey(key);
  m_pLens->SetFov(kLensStartFov);
  return true;
}

// The scene files are read, parsed and their pictures decoded on worker threads while the
// window, the device, the loading picture, the targets, quads and particles are created.
void Demo::StartReadingScenes() {
  if (m_pScenes) return;
  m_pScenes = new (std::nothrow) SceneLoader(m_renderContext);
  if (!m_pScenes) return;
  std::vector<std::string> files;
  for (int32_t index = 0; index < show::kSceneCount; ++index) files.push_back(show::SceneFileName(index));
  m_pScenes->ReadAhead(files, /*decodePictures=*/true);
}

bool Demo::CreateSceneLoader() {
  StartReadingScenes();
  if (!m_pScenes) return false;
  m_pScenes->context = m_renderContext;
  return true;
}

// The eleven scene files in index order, each restarted on its first camera with its settings
// and events; the loader shows its own boxes.
bool Demo::CreateScenes() {
  for (int32_t index = 0; index < show::kSceneCount; ++index) {
    if (!m_pScenes->Load(show::SceneFileName(index))) return false;
    Scene& scene = *m_pScenes->scenes.back();
    scene.Restart();
    scene.currentCamera = 0;
    show::ApplySceneCues(scene, index);
  }
  return true;
}

bool Demo::StartMusic() {
  m_lastSample = m_pTimer->elapsed;
  platform::BASS_ChannelPlay(m_pSound->stream, false);
  return true;
}
