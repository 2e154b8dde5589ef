// The depth program's two passes: the shadow pass from the first light (inside Render) and the
// camera depth pass that feeds the ambient occlusion.
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "scene/C4eParameters.h"
#include "scene/Scene.h"

void Scene::DrawShadowCaster(const PolyObject& mesh) {
  m_renderContext.context->RSSetState(m_renderContext.renderStates->rasterCullBack);
  // Without a light there is nothing to cast a shadow from.
  if (lights.empty()) return;
  Light* firstLight = lights[0].get();
  ComputeLightMatrices(firstLight, shadowNear, shadowFar);
  if (mesh.name.empty()) return;
  DepthShader* program = m_renderContext.shaders->depthShader;
  if (program == nullptr) return;
  if (!program->SetShaderParameters(mesh.world, firstLight->lightView, firstLight->lightProjection)) return;
  program->Render(static_cast<UINT>(3 * mesh.polygonCount));
}

std::vector<size_t> Scene::ShadowCasterSamples() const {
  std::vector<size_t> samples;
  if (lights.empty()) return samples;
  bool sampled[2] = {false, false};
  for (size_t position = 0; position < polyObjects.size(); ++position) {
    const PolyObject& mesh = *polyObjects[position];
    if (!Drawable(mesh) || mesh.name.empty()) continue;
    if (lights[0]->Lists(mesh.id)) continue;  // drawn with its material instead
    const bool blended = mesh.material != nullptr && mesh.material->transparent;
    if (sampled[blended]) continue;
    sampled[blended] = true;
    samples.push_back(position);
  }
  return samples;
}

void Scene::CastShadowOf(size_t position) {
  const PolyObject* mesh = DrawableAt(position);
  if (!CanRender() || mesh == nullptr) return;
  PrepareMesh(*mesh);
  DrawShadowCaster(*mesh);
  RestoreDefaultStates();
}

void Scene::DepthRender(const D3DXMATRIX& projection) {
  if (!CanRender()) return;
  DepthShader* program = m_renderContext.shaders->depthShader;
  const D3DXMATRIX view = RenderView();
  RestoreDefaultStates();
  for (const auto& object : polyObjects) {
    if (object->isDummy) continue;
    const PolyObject& mesh = *object;
    BindMeshBuffers(mesh);
    if (mesh.name.empty() || (mesh.material != nullptr && mesh.material->transparent)) continue;
    if (program == nullptr || mesh.vertexBuffer == nullptr || mesh.indexBuffer == nullptr) continue;
    if (!program->SetShaderParameters(mesh.world, view, projection)) continue;
    program->Render(static_cast<UINT>(3 * mesh.polygonCount));
  }
  RestoreDefaultStates();
}
