// The debug overlay over the finished frame: four previews of intermediate targets and three
// lines of statistics in the debug font. Nothing of it is drawn unless m_bDebugView is set;
// --print-overlay writes the same three lines to stdout, drawn or not.
#include <cstdio>

#include "app/Timer.h"
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "diag/DebugFont.h"
#include "diag/OverlayText.h"
#include "fx/PostEffect.h"
#include "gfx/D3D11Device.h"
#include "platform/audio.h"
#include "scene/Scene.h"

std::array<std::wstring, 3> Demo::DebugOverlayLines() {
  OverlayValues values;
  if (m_pD3D11) {
    values.adapterDescription = m_pD3D11->GetVideoCardDescription();
    values.videoMemoryMiB = m_pD3D11->GetVideoCardMemory();
  }
  values.fps = m_nFps;
  values.audioCpu = platform::BASS_GetCPU();
  if (m_pTimer) {
    values.elapsed = m_pTimer->elapsed;
    values.delta = m_pTimer->delta;
    values.oscSinFast = m_pTimer->oscSinFast;
    values.oscSinSlow = m_pTimer->oscSinSlow;
  }
  if (m_pLens) values.fov = m_pLens->fov;
  values.shadowA = m_shadowA;
  values.shadowB = m_shadowB;
  // The schedule's scene number is the index of the loaded scene it describes.
  std::string statistics;
  if (const Scene* scene = SceneAt(m_nScene)) statistics = scene->StatisticsLine();
  values.sceneStatistics = statistics;
  values.finalEffect = m_nFinalEffect;
  values.effectName = PostEffectName(m_nFinalEffect);
  values.fractal = m_fractal;
  return OverlayLines(values);
}

void Demo::DrawDebugOverlay() {
  if (!m_bDebugView && !m_bPrintOverlay) return;
  const std::array<std::wstring, 3> lines = DebugOverlayLines();
  if (m_bPrintOverlay) {
    for (const std::wstring& line : lines) std::printf("%s\n", NarrowUtf8(line).c_str());
    std::fflush(stdout);
  }
  if (!m_bDebugView) return;

  const struct {
    Quad* quad;
    RenderTarget* source;
  } previews[] = {{m_pQuad_Texture_1, m_pTexture_1},
                  {m_pQuad_Texture_2, m_pRTT_DepthMap},
                  {m_pQuad_Texture_Bright, m_pRTT_SSAO},
                  {m_pQuad_Texture_Depth, m_pRTT_Blur}};
  for (const auto& preview : previews) {
    if (!preview.quad || !preview.source) continue;
    preview.quad->texture = preview.source->shaderResourceView;
    preview.quad->Render(0);
  }

  if (!m_pFont || !m_pFont->fontWrapper) return;
  for (size_t i = 0; i < lines.size(); ++i)
    m_pFont->fontWrapper->DrawString(m_pFont->context, lines[i].c_str(), kOverlayTextSize, 0.0f, kOverlayLineY[i],
                                     m_pFont->colour, platform::FW1_RESTORESTATE);
}
