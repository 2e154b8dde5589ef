// Release of everything the Demo made: the sound library first, then every member in the
// reverse order of creation, the device last. Members never created are passed over.
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "diag/DebugFont.h"
#include "fx/ParticleSystem.h"
#include "gfx/D3D11Device.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "gfx/ShutdownAndDelete.h"
#include "gfx/TextureCache.h"
#include "platform/audio.h"
#include "platform/message_box.h"
#include "scene/SceneLoader.h"
#include "sound/Sound.h"

namespace {

template <class T>
void Delete(T*& object) {
  delete object;
  object = nullptr;
}

}  // namespace

void Demo::Shutdown() {
  // The sound library ends first: its threads still read the music file and our buffers.
  if (m_pSound) {
    platform::BASS_Free();
    Delete(m_pSound);
  }
  Delete(m_pLens);
  ReleaseSlideAndGlitches();
  ShutdownAndDelete(m_pSB_Qualle);
  ShutdownAndDelete(m_pSB_Zelle2);
  ShutdownAndDelete(m_pSB_Zelle1);
  ShutdownAndDelete(m_pSB2);
  ShutdownAndDelete(m_pSB1);
  Delete(m_pScenes);
  ReleaseLinesAndRadialBlur();
  ReleaseScreenResources();
  Delete(m_pUtility);
  ShutdownAndDelete(m_pSM);
  ShutdownAndDelete(m_pTextureCache);
  ShutdownAndDelete(m_pRSM);
  if (m_pFont) {
    ReleaseDebugFont(*m_pFont);
    Delete(m_pFont);
  }
  // The device goes last: everything above was created on it.
  ShutdownAndDelete(m_pD3D11);
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

void Demo::ReportError(std::string_view text) {
  platform::MessageBox(m_hWnd, text, "rock'n'error", MB_ICONERROR);
}

bool Demo::SaveFrame(const char* path) const {
  return m_pD3D11 && m_pD3D11->GetSwapChain() && m_pD3D11->GetSwapChain()->SaveBackBufferPng(path);
}
