// Getting the scenes' material programs ready before their scenes start. llvmpipe compiles a
// program for the states it is drawn with at its first draw, and a specialised program is
// translated and created before that: a scene's first frame would otherwise wait for all of
// it, seconds on a fresh machine. So every scene's programs are asked for at the start, and in
// the seconds before a scene's first frame each of its programs, and each set of states its
// shadow pass draws with, is drawn once where nothing can be seen (an empty viewport), one draw
// every fifth of a second. The passes the compositions share follow: the scene looks, the
// bloom, blur, occlusion and radial blur programs, the flag's picture and the particle systems,
// drawn again before every scene, as llvmpipe may have let go of a program not drawn for a
// while.
#include "demo/CueSheet.h"
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "demo/ShowData.h"
#include "fx/ParticleSystem.h"
#include "fx/PostEffect.h"
#include "gfx/D3D11Device.h"
#include "gfx/RenderTarget.h"
#include "gfx/ShaderManager.h"
#include "scene/SceneLoader.h"

namespace {

constexpr int64_t SlotStartOf(int32_t sceneNumber) {
  for (const cue::SceneSlot& slot : cue::kSchedule)
    if (slot.sceneNumber == sceneNumber) return slot.start;
  return 0;
}

// The scene files in the order the show first draws them, with the show time of that first
// frame and the shadow flag their material pass is drawn with (the magnet and the soft bodies
// cast shadows).
struct SceneUse {
  int32_t index;
  int64_t firstDrawn;
  bool shaderFlag;
};
constexpr SceneUse kSceneUses[] = {
    {5, show::kFlagAppears, false}, {6, show::kSecondFlag, false}, {7, SlotStartOf(7), false},
    {8, SlotStartOf(7), false},     {4, SlotStartOf(4), true},     {1, SlotStartOf(1), false},
    {2, SlotStartOf(2), false},     {3, SlotStartOf(3), false},    {0, SlotStartOf(0), false},
    {9, SlotStartOf(9), true},      {10, SlotStartOf(10), false},
};
constexpr size_t kSceneUseCount = sizeof kSceneUses / sizeof kSceneUses[0];

// How long before a scene's first frame its rehearsal begins, and the show time between two
// rehearsed meshes: a fresh machine's compiling is spread thin instead of stopping the picture.
constexpr int64_t kRehearsalLead = 8000;
constexpr int64_t kRehearsalSpacing = 200;

// The passes beside the meshes: the scene looks first, then the bright pass, a blur step, the
// mix, the occlusion, the radial blur and its layer, the flag's background picture, and a
// sprite of each particle system.
constexpr size_t kSceneLookCount = kLastSceneEffect - kFirstSceneEffect + 1;
constexpr size_t kScreenPassCount = 7;
constexpr size_t kParticleSystemCount = 5;
constexpr size_t kSharedPassCount = kSceneLookCount + kScreenPassCount + kParticleSystemCount;

// Whether a draw with the key would use its own program now: made, or found impossible to make
// (the general program is then its program for good). A set not in use is always ready. Drawn
// earlier, a rehearsal would only compile the general program.
bool ProgramReady(PixelShaderVariants* variants, uint32_t key) {
  if (variants == nullptr) return true;
  variants->Find(key);  // creates it when its translation is done
  return variants->Decided(key);
}

}  // namespace

PixelShaderVariants* Demo::MaterialVariants() const {
  if (!m_pSM || !m_pSM->c4eShader || !m_pSM->c4eShader->useVariants) return nullptr;
  return &m_pSM->c4eShader->variants;
}

void Demo::RequestScenePrograms(int64_t fromTime) const {
  PixelShaderVariants* variants = MaterialVariants();
  if (!variants) return;
  // From the scene that owns the start on, then round to those before it.
  size_t first = 0;
  while (first + 1 < kSceneUseCount && kSceneUses[first + 1].firstDrawn <= fromTime) ++first;
  for (size_t i = 0; i < kSceneUseCount; ++i) {
    const SceneUse& use = kSceneUses[(first + i) % kSceneUseCount];
    const Scene* scene = SceneAt(use.index);
    if (!scene) continue;
    for (const auto& [position, key] : scene->MaterialProgramKeys(use.shaderFlag))
      variants->Request(key);
  }
}

void Demo::RehearseComingScene(int64_t t) {
  // The scenes whose first frame comes next, when it is near.
  int64_t coming = -1;
  for (const SceneUse& use : kSceneUses) {
    if (use.firstDrawn > t) {
      coming = use.firstDrawn;
      break;
    }
  }
  if (coming < 0 || coming - t > kRehearsalLead) return;
  if (m_rehearsal.firstDrawn != coming) {
    m_rehearsal.firstDrawn = coming;
    m_rehearsal.pending.clear();
    m_rehearsal.passesDrawn = 0;
    for (const SceneUse& use : kSceneUses) {
      if (use.firstDrawn != coming) continue;
      const Scene* scene = SceneAt(use.index);
      if (!scene) continue;
      // One mesh for each program not drawn before: the states follow from the key.
      for (const auto& [position, key] : scene->MaterialProgramKeys(use.shaderFlag))
        if (m_rehearsal.drawnKeys.insert(key).second)
          m_rehearsal.pending.push_back({use.index, position, key, use.shaderFlag, false});
      if (use.shaderFlag)
        for (size_t position : scene->ShadowCasterSamples())
          m_rehearsal.pending.push_back({use.index, position, 0, true, true});
    }
  }
  if (t >= m_rehearsal.lastDrawn && t - m_rehearsal.lastDrawn < kRehearsalSpacing) return;
  if (RehearseNextMesh()) {
    m_rehearsal.lastDrawn = t;
  } else if (m_rehearsal.passesDrawn < kSharedPassCount && RehearsePass(m_rehearsal.passesDrawn)) {
    ++m_rehearsal.passesDrawn;
    m_rehearsal.lastDrawn = t;
  }
}

bool Demo::RehearseNextMesh() {
  if (m_rehearsal.pending.empty()) return false;
  const Rehearsal::Mesh mesh = m_rehearsal.pending.front();
  if (!mesh.castsShadow && !ProgramReady(MaterialVariants(), mesh.key)) return false;
  m_rehearsal.pending.erase(m_rehearsal.pending.begin());
  Scene* scene = SceneAt(mesh.scene);
  if (!scene) return true;
  // Into the target its pass draws into, for the same compiled states; the target's own
  // viewport comes back with the next pass that sets it.
  if (mesh.castsShadow) {
    BindEmpty(m_pRTT_DepthMap);
    scene->CastShadowOf(mesh.position);
  } else {
    BindEmpty(m_pRTT_1_1);
    scene->DrawMesh(mesh.position, m_pRTT_DepthMap->shaderResourceView, mesh.shaderFlag, m_pLens->projection);
  }
  return true;
}

const size_t Demo::Rehearsal::kPassCount = kSharedPassCount;

bool Demo::RehearsePass(size_t pass) {
  if (pass < kSceneLookCount) {
    const int32_t look = kFirstSceneEffect + static_cast<int32_t>(pass);
    PostProcessShader* post = m_pSM->postProcessShader;
    if (!post || !ProgramReady(post->useVariants ? &post->variants : nullptr, static_cast<uint32_t>(look)))
      return false;
    BindEmpty(m_pTexture_1);
    CopyTarget(m_pRTT_1_1, look);
    return true;
  }
  switch (pass - kSceneLookCount) {
    case 0:
      BindEmpty(m_pRTT_BrightPass);
      CopyTarget(m_pRTT_1_1, static_cast<int32_t>(PostEffect::bright_pass));
      break;
    case 1:
      BindEmpty(m_pRTT_16_2);
      BlurStep(0, m_pRTT_16_1);
      break;
    case 2:
      BindEmpty(m_pRTT_1_2);
      Mix(0, m_pRTT_1_1);
      break;
    case 3:
      BindEmpty(m_pRTT_SSAO);
      DrawOcclusion();
      break;
    case 4:
      BindEmpty(m_pRTT_16_1);
      DrawRadialBlur();
      break;
    case 5:
      BindEmpty(m_pRTT_1_2);
      LayOver(m_pRTT_16_1, 0.5f);
      break;
    case 6:
      BindEmpty(m_pRTT_1_1);
      m_pQuadBack_Flagge->Render(0);
      break;
    default: {
      // A single sprite of each particle system, as it is: nothing of it moves on.
      ParticleSystem* const systems[kParticleSystemCount] = {m_pSB1, m_pSB2, m_pSB_Zelle1, m_pSB_Zelle2,
                                                             m_pSB_Qualle};
      const size_t system = pass - kSceneLookCount - kScreenPassCount;
      if (system >= kParticleSystemCount || systems[system] == nullptr) break;
      const D3DXMATRIX world = m_pD3D11->GetWorldMatrix();
      BindEmpty(m_pRTT_1_1);
      systems[system]->Draw(world, world, world, 1);
      break;
    }
  }
  return true;
}

// The draws that follow are compiled for the target's states and leave no pixel.
void Demo::BindEmpty(RenderTarget* target) {
  ID3D11DeviceContext* context = m_renderContext.context;
  context->OMSetRenderTargets(1, &target->renderTargetView, m_renderContext.depthStencilView);
  const D3D11_VIEWPORT empty = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
  context->RSSetViewports(1, &empty);
}
