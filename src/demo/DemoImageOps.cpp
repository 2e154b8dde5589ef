// Image operations on the Demo's targets: the separable blur at a sixteenth of the pixels, the
// bloom, the occlusion pass and the two-image mix the scenes compose their pictures with.
#include "demo/Demo.h"
#include "fx/PostEffect.h"
#include "gfx/ShaderManager.h"

namespace {

// A quad that copies its texture: opaque, no overlay.
void MakeCopyQuad(Quad* quad) {
  quad->hasTexture = true;
  quad->blend = false;
  quad->overlay = false;
}

}  // namespace

void Demo::PrepareTarget(RenderTarget* target) {
  target->SetAsTarget();
  target->Clear();
}

void Demo::PrepareOverwritten(RenderTarget* target) { target->SetAsTarget(); }

void Demo::CopyTarget(RenderTarget* source, int32_t effect) {
  MakeCopyQuad(m_pQuad_1_Solid);
  m_pQuad_1_Solid->texture = source->shaderResourceView;
  m_pQuad_1_Solid->Render(effect);
}

void Demo::Blur(int32_t passes, RenderTarget* source) {
  MakeCopyQuad(m_pQuad_1_Solid);
  MakeCopyQuad(m_pQuad_16_Solid);

  PrepareOverwritten(m_pRTT_16_1);
  m_pQuad_16_Solid->texture = source->shaderResourceView;
  m_pQuad_16_Solid->Render(static_cast<int32_t>(PostEffect::none));
  for (int32_t pass = 0; pass < passes; ++pass) {
    PrepareOverwritten(m_pRTT_16_2);
    BlurStep(0, m_pRTT_16_1);
    PrepareOverwritten(m_pRTT_16_1);
    BlurStep(1, m_pRTT_16_2);
  }
  // Magnified by the sampler's linear filtering.
  PrepareOverwritten(m_pRTT_Blur);
  CopyTarget(m_pRTT_16_1, static_cast<int32_t>(PostEffect::none));
}

void Demo::BlurStep(int32_t direction, RenderTarget* source) {
  BlurShader* blur = m_pSM->blurShader;
  blur->direction = direction;
  blur->sourceTexture = source->shaderResourceView;
  m_pQuad_Blur_16->Render();
}

void Demo::Bloom() {
  PrepareOverwritten(m_pRTT_BrightPass);
  CopyTarget(m_pRTT_1_1, static_cast<int32_t>(PostEffect::bright_pass));
  Blur(8, m_pRTT_BrightPass);
  PrepareOverwritten(m_pRTT_1_2);
  Mix(0, m_pRTT_1_1);
}

void Demo::Occlusion() {
  PrepareOverwritten(m_pRTT_SSAO);
  DrawOcclusion();
}

void Demo::DrawOcclusion() {
  SSAOShader* ssao = m_pSM->ssaoShader;
  ssao->texture0 = m_pRTT_SSAO_normals_depth->shaderResourceView;
  ssao->texture1 = m_pQuad_Noise->texture;
  m_pQuad_SSAO->Render();
}

void Demo::Mix(int32_t mode, RenderTarget* first) {
  TexMixShader* mix = m_pSM->texMixShader;
  mix->mixMode = mode;
  mix->texture0 = first->shaderResourceView;
  mix->texture1 = m_pRTT_Blur->shaderResourceView;
  m_pQuad_TexMix->Render();
}
