// Drawing a scene with the c4e material program: opaque meshes with blendOpaque and depth
// writes, then transparent ones blended over them without depth writes. The same walk is the
// shadow pass when the caller asks for it (see SceneDepthRender.cpp).
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "scene/C4eParameters.h"
#include "scene/Scene.h"

namespace {

const FLOAT kNoBlendFactor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
constexpr UINT kAllSamples = 0xFFFFFFFF;
constexpr UINT kStencilReference = 1;
constexpr UINT kMeshVertexStride = sizeof(MeshVertex);

const Material& MaterialOf(const PolyObject& mesh) {
  static const Material kFallback = Material::MakeDefault();
  return mesh.material != nullptr ? *mesh.material : kFallback;
}

}  // namespace

D3DXMATRIX Scene::RenderView() const {
  return RolledAndShakenView(cameras[currentCamera]->view, rollAngle, shakeOffset);
}

bool Scene::CanRender() const {
  return m_renderContext.context != nullptr && m_renderContext.renderStates != nullptr &&
         m_renderContext.shaders != nullptr && currentCamera >= 0 &&
         static_cast<size_t>(currentCamera) < cameras.size();
}

void Scene::BindMeshStates(const PolyObject& mesh) const {
  ID3D11DeviceContext* context = m_renderContext.context;
  const RenderStateManager* states = m_renderContext.renderStates;
  const bool blended = mesh.material != nullptr && mesh.material->transparent;
  context->RSSetState(states->rasterCullBack);
  context->OMSetBlendState(blended ? states->blendAlpha : states->blendOpaque, kNoBlendFactor, kAllSamples);
  context->OMSetDepthStencilState(blended ? states->depthReadOnly : states->depthOn, kStencilReference);
}

void Scene::BindMeshBuffers(const PolyObject& mesh) const {
  ID3D11DeviceContext* context = m_renderContext.context;
  ID3D11Buffer* vertexBuffer = mesh.vertexBuffer;
  const UINT stride = kMeshVertexStride;
  const UINT offset = 0;
  context->IASetVertexBuffers(0, 1, &vertexBuffer, &stride, &offset);
  context->IASetIndexBuffer(mesh.indexBuffer, DXGI_FORMAT_R32_UINT, 0);
  context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
}

bool Scene::Drawable(const PolyObject& mesh) {
  return !mesh.isDummy && mesh.vertexBuffer != nullptr && mesh.indexBuffer != nullptr;
}

const PolyObject* Scene::DrawableAt(size_t position) const {
  if (position >= polyObjects.size() || !Drawable(*polyObjects[position])) return nullptr;
  return polyObjects[position].get();
}

void Scene::PrepareMesh(const PolyObject& mesh) const {
  for (const auto& light : lights) light->listed = light->Lists(mesh.id);
  BindMeshStates(mesh);
  BindMeshBuffers(mesh);
}

void Scene::RestoreDefaultStates() const {
  ID3D11DeviceContext* context = m_renderContext.context;
  const RenderStateManager* states = m_renderContext.renderStates;
  context->RSSetState(states->rasterCullBack);
  context->OMSetBlendState(states->blendOpaque, kNoBlendFactor, kAllSamples);
  context->OMSetDepthStencilState(states->depthOn, kStencilReference);
}

bool Scene::DrawWithMaterial(const PolyObject& mesh, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                             ID3D11ShaderResourceView* extraTexture, bool shaderFlag) const {
  C4eShader* program = m_renderContext.shaders->c4eShader;
  if (program == nullptr) return false;
  const Light* firstLight = lights.empty() ? nullptr : lights[0].get();
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);

  C4eTransformsBufferType transforms;
  transforms.world = mesh.world;
  transforms.view = view;
  transforms.projection = projection;
  transforms.lightView = firstLight != nullptr ? firstLight->lightView : identity;
  transforms.lightProjection = firstLight != nullptr ? firstLight->lightProjection : identity;

  const Material& material = MaterialOf(mesh);
  ID3D11ShaderResourceView* const resources[C4eShader::kResourceSlots] = {
      material.diffuseTexture, material.normalTexture,  material.luminanceTexture,
      material.environmentTexture, extraTexture,        material.reflectionTexture};

  if (!program->SetShaderParameters(transforms, MakeEyeBuffer(*cameras[currentCamera]), MakeMaterialBuffer(material),
                                    MakeLightsBuffer(*environment, lights, shaderFlag), resources)) {
    return false;
  }
  program->Render(static_cast<UINT>(3 * mesh.polygonCount));
  return true;
}

std::vector<std::pair<size_t, uint32_t>> Scene::MaterialProgramKeys(bool shaderFlag) const {
  std::vector<std::pair<size_t, uint32_t>> keys;
  if (environment == nullptr) return keys;
  // Which lights list a mesh is not part of the key, so the lights need no listing here.
  const C4eLightsBufferType lightsBuffer = MakeLightsBuffer(*environment, lights, shaderFlag);
  for (size_t position = 0; position < polyObjects.size(); ++position) {
    const PolyObject& mesh = *polyObjects[position];
    if (!Drawable(mesh)) continue;
    keys.emplace_back(position, C4eProgramKey(MakeMaterialBuffer(MaterialOf(mesh)), lightsBuffer));
  }
  return keys;
}

void Scene::DrawMesh(size_t position, ID3D11ShaderResourceView* extraTexture, bool shaderFlag,
                     const D3DXMATRIX& projection) {
  const PolyObject* mesh = DrawableAt(position);
  if (!CanRender() || mesh == nullptr) return;
  PrepareMesh(*mesh);
  DrawWithMaterial(*mesh, RenderView(), projection, extraTexture, shaderFlag);
  RestoreDefaultStates();
}

void Scene::Render(ID3D11ShaderResourceView* extraTexture, bool depthPass, bool shaderFlag,
                   const D3DXMATRIX& projection) {
  if (!CanRender()) return;
  const D3DXMATRIX view = RenderView();
  Light* firstLight = lights.empty() ? nullptr : lights[0].get();

  for (const auto& object : polyObjects) {
    const PolyObject& mesh = *object;
    if (!Drawable(mesh)) continue;
    PrepareMesh(mesh);

    if (depthPass && (firstLight == nullptr || !firstLight->listed)) {
      DrawShadowCaster(mesh);
      continue;
    }
    m_renderContext.context->RSSetState(m_renderContext.renderStates->rasterCullBack);
    // In the shadow pass the extra texture is the target being drawn into: Direct3D reads such
    // a texture as unbound, and OpenGL leaves a texture that is read and written at once undefined.
    DrawWithMaterial(mesh, view, projection, depthPass ? nullptr : extraTexture, shaderFlag);
  }
  RestoreDefaultStates();
}
