// The debug overlay over the finished frame: four previews of intermediate targets and three
// lines of statistics in the debug font. Nothing of it is drawn unless m_bDebugView is set;
// --print-overlay writes the same three lines to stdout, drawn or not. Development mode's
// reload problem goes over the bottom of the frame in the same font.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/Timer.h"
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "diag/DebugFont.h"
#include "diag/OverlayText.h"
#include "diag/ProblemText.h"
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

namespace {

// Colours as 0xAABBGGRR: a nearly opaque blue-black box under an orange rule and heading.
constexpr uint32_t kProblemBox = 0xE0180C0Cu;
constexpr uint32_t kProblemAccent = 0xFF2E8CFFu;
constexpr uint32_t kProblemText = 0xFFEBE6E6u;

struct ProblemBox {
  float size = 0.0f;
  float lineHeight = 0.0f;
  float margin = 0.0f;
  ProblemLines text;
};

// Readable at any window size: about forty lines to the screen's height, never below 12
// pixels, and at most half the picture covered.
ProblemBox LayOutProblemBox(platform::FontFace& font, const std::string& problem, int32_t width, int32_t height) {
  ProblemBox box;
  box.size = std::clamp(std::round(static_cast<float>(height) / 40.0f), 12.0f, 22.0f);
  box.lineHeight = font.LineHeight(box.size);
  if (box.lineHeight <= 0.0f || problem.empty()) return box;
  box.margin = std::round(box.lineHeight / 2.0f);
  const auto maxLines = static_cast<size_t>(
      std::clamp((static_cast<float>(height) / 2.0f - 2.0f * box.margin) / box.lineHeight, 0.0f, 8.0f));
  box.text = LayOutProblem(
      problem, [&](const std::wstring& line) { return font.TextWidth(line.c_str(), box.size); },
      static_cast<float>(width) - 2.0f * box.margin, maxLines);
  return box;
}

}  // namespace

std::vector<std::wstring> Demo::ReloadProblemLines() {
  if (!m_pFont || !m_pFont->fontWrapper) return {};
  return LayOutProblemBox(*m_pFont->fontWrapper, m_reloadProblem, m_width, m_height).text.lines;
}

void Demo::DrawReloadProblem() {
  if (m_reloadProblem.empty() || !m_pFont || !m_pFont->fontWrapper) return;
  platform::FontFace& font = *m_pFont->fontWrapper;
  const ProblemBox box = LayOutProblemBox(font, m_reloadProblem, m_width, m_height);
  const std::vector<std::wstring>& lines = box.text.lines;
  if (lines.empty()) return;

  const auto width = static_cast<float>(m_width);
  const float boxHeight = static_cast<float>(lines.size()) * box.lineHeight + 2.0f * box.margin;
  const float top = static_cast<float>(m_height) - boxHeight;
  ID3D11DeviceContext* context = m_pFont->context;
  font.FillRectangle(context, box.size, 0.0f, top, width, boxHeight, kProblemBox, platform::FW1_RESTORESTATE);
  font.FillRectangle(context, box.size, 0.0f, top, width, std::max(2.0f, std::round(box.size / 8.0f)), kProblemAccent,
                     platform::FW1_RESTORESTATE);
  for (size_t i = 0; i < lines.size(); ++i)
    font.DrawString(context, lines[i].c_str(), box.size, box.margin,
                    top + box.margin + static_cast<float>(i) * box.lineHeight,
                    i == 0 && box.text.headed ? kProblemAccent : kProblemText, platform::FW1_RESTORESTATE);
}
