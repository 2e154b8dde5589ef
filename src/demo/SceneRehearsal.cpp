// Getting the scenes' material programs ready before their scenes start. llvmpipe compiles a
// program for the states it is drawn with at its first draw, and a specialised program is
// translated and created before that: a scene's first frame would otherwise wait for all of
// it, seconds on a fresh machine. So every scene's programs are asked for at the start, and in
// the seconds before a scene's first frame each of its programs is drawn once where nothing
// can be seen (an empty viewport), a mesh every quarter second.
#include "demo/CueSheet.h"
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "demo/ShowData.h"
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
constexpr int64_t kRehearsalSpacing = 250;

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
    for (const SceneUse& use : kSceneUses) {
      if (use.firstDrawn != coming) continue;
      const Scene* scene = SceneAt(use.index);
      if (!scene) continue;
      // One mesh for each program not drawn before: the states follow from the key.
      for (const auto& [position, key] : scene->MaterialProgramKeys(use.shaderFlag))
        if (m_rehearsal.drawnKeys.insert(key).second)
          m_rehearsal.pending.push_back({use.index, position, key, use.shaderFlag});
    }
  }
  if (m_rehearsal.pending.empty()) return;
  if (t >= m_rehearsal.lastDrawn && t - m_rehearsal.lastDrawn < kRehearsalSpacing) return;
  const Rehearsal::Mesh mesh = m_rehearsal.pending.front();
  // Drawn before its specialised program is made, the mesh would compile the general one.
  if (PixelShaderVariants* variants = MaterialVariants()) {
    variants->Find(mesh.key);
    if (!variants->Decided(mesh.key)) return;
  }
  m_rehearsal.pending.erase(m_rehearsal.pending.begin());
  m_rehearsal.lastDrawn = t;
  Scene* scene = SceneAt(mesh.scene);
  if (!scene) return;
  // The target the scene's material pass draws into, for the same compiled states; the
  // target's own viewport comes back with the next pass that sets it.
  ID3D11DeviceContext* context = m_renderContext.context;
  context->OMSetRenderTargets(1, &m_pRTT_1_1->renderTargetView, m_renderContext.depthStencilView);
  const D3D11_VIEWPORT empty = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
  context->RSSetViewports(1, &empty);
  scene->DrawMesh(mesh.position, m_pRTT_DepthMap->shaderResourceView, mesh.shaderFlag, m_pLens->projection);
}
