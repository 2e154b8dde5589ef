#include "scene/Scene.h"

#include <sstream>

#include "gfx/ShaderManager.h"

Scene::Scene(const RenderContext& renderContext)
    : ContextHolder(renderContext), environment(std::make_unique<Environment>()) {
  UseRenderContext(renderContext);
}

void Scene::UseRenderContext(const RenderContext& renderContext) {
  static_cast<ContextHolder&>(*this) = ContextHolder(renderContext);
  const ShaderManager* shaders = renderContext.shaders;
  materialShader = shaders != nullptr ? shaders->c4eShader : nullptr;
  depthShader = shaders != nullptr ? shaders->depthShader : nullptr;
}

PolyObject* Scene::FindPolyObject(uint64_t objectId) const {
  for (const auto& object : polyObjects)
    if (object->id == objectId) return object.get();
  return nullptr;
}

D3DXMATRIX Scene::ParentMatrix(size_t polyObjectIndex) const {
  D3DXMATRIX parent;
  D3DXMatrixIdentity(&parent);
  const uint64_t parentId = polyObjects[polyObjectIndex]->parentId;
  if (parentId == 0) return parent;
  if (const PolyObject* found = FindPolyObject(parentId)) parent = found->world;
  return parent;
}

std::string Scene::StatisticsLine() const {
  std::ostringstream line;
  line << "scene:" << name << ", objects:" << polyObjectCount << "(" << meshCount << ")"
       << ", cams:" << cameraCount << "(" << currentCamera + 1 << ")"
       << ", mats:" << materialCount << ", lights:" << lightCount << ", vertices:" << vertexTotal << "("
       << 3 * static_cast<int64_t>(polygonTotal) << ")"
       << ", polys:" << polygonTotal << ", frame:" << frame << ", time:" << time << "ms"
       << ", speed:" << speed << "x";
  return line.str();
}
