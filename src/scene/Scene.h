#pragma once
// One loaded .c4e scene: materials, polyobjects, cameras, lights and the environment, its
// own clock, and the events its owner attaches. Created by the SceneLoader.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gfx/RenderContext.h"
#include "math/d3dx_math.h"
#include "scene/Camera.h"
#include "scene/Environment.h"
#include "scene/Light.h"
#include "scene/Material.h"
#include "scene/PolyObject.h"
#include "scene/SceneEvents.h"

class ID3D11ShaderResourceView;

class C4eShader;
class DepthShader;

class Scene : public ContextHolder {
 public:
  explicit Scene(const RenderContext& renderContext);
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // Takes the context it draws with, and its programs: a scene read before the device existed
  // gets them when it is loaded.
  void UseRenderContext(const RenderContext& renderContext);

  // The per-frame step at the timer's elapsed time and frame delta.
  void Update();
  // The per-frame step: events, clock, looping, then every polyobject, every light and the
  // current camera. A scene without cameras has nothing to look through and is left as it is.
  void Update(int64_t demoTime, int64_t frameDelta);
  // Back to time 0 with the next camera, wrapping to the first.
  void Restart();
  // Back to the state the owner left it in after loading: time 0 on the first camera at
  // speed 1 with every speed event waiting again (the show jumping back in time).
  void Rewind();

  // Draws every mesh in list order with the material program, through the current camera's
  // rolled and shaken view and the caller's projection; extraTexture goes to pixel slot 4 and
  // shaderFlag into the lights buffer. With depthPass set it is the shadow pass: meshes the
  // first light does not list are drawn from that light with the depth program instead.
  void Render(ID3D11ShaderResourceView* extraTexture, bool depthPass, bool shaderFlag,
              const D3DXMATRIX& projection);
  // The camera depth pass: every named opaque mesh with the depth program.
  void DepthRender(const D3DXMATRIX& projection);
  // The key of the specialised material program each mesh draws with under shaderFlag, with
  // the mesh's position in polyObjects; dummies and meshes without buffers are left out.
  std::vector<std::pair<size_t, uint32_t>> MaterialProgramKeys(bool shaderFlag) const;
  // Draws the mesh at position in polyObjects as Render draws it, alone.
  void DrawMesh(size_t position, ID3D11ShaderResourceView* extraTexture, bool shaderFlag,
                const D3DXMATRIX& projection);
  // Positions of meshes the shadow pass draws with the depth program, one for each set of
  // states it draws them with (opaque, blended).
  std::vector<size_t> ShadowCasterSamples() const;
  // Draws the mesh at position as the shadow pass draws it, alone.
  void CastShadowOf(size_t position);
  // The current camera's view × roll about z × shake translation.
  D3DXMATRIX RenderView() const;

  // The first polyobject with this id, or null.
  PolyObject* FindPolyObject(uint64_t objectId) const;
  // The world matrix of the polyobject's parent; the identity without one.
  D3DXMATRIX ParentMatrix(size_t polyObjectIndex) const;
  // "scene:name, objects:…" as the debug overlay prints it.
  std::string StatisticsLine() const;

  // Borrowed from the ShaderManager at construction; null without one.
  C4eShader* materialShader = nullptr;
  DepthShader* depthShader = nullptr;
  int64_t restartTick = 0;
  int64_t time = 0;
  int64_t endTime = 0;
  int32_t frame = 0;
  float speed = 1.0f;
  float shadowNear = 0.0f;
  float shadowFar = 0.0f;
  bool cameraUpFollowsRotation = false;
  int32_t currentCamera = 0;
  std::string name;

  int32_t objectCount = 0;
  int32_t materialCount = 0;
  int32_t polyObjectCount = 0;
  int32_t meshCount = 0;
  int32_t cameraCount = 0;
  int32_t lightCount = 0;
  int32_t vertexTotal = 0;
  int32_t polygonTotal = 0;

  std::vector<std::unique_ptr<Material>> materials;
  std::vector<std::unique_ptr<PolyObject>> polyObjects;
  std::vector<std::unique_ptr<Camera>> cameras;
  std::vector<std::unique_ptr<Light>> lights;
  std::unique_ptr<Environment> environment;
  // Drawn with by meshes whose material name resolves to no material.
  std::unique_ptr<Material> defaultMaterial;

  std::vector<SpeedEvent> speedEvents;
  float rollAngle = 0.0f;
  std::vector<RollEvent> rollEvents;
  D3DXVECTOR3 shakeOffset;
  std::vector<ShakeEvent> shakeEvents;

 private:
  void FireSpeedEvents(int64_t demoTime);
  void ComputeRoll(int64_t demoTime);
  void ComputeShake(int64_t demoTime);
  void AdvanceClock(int64_t frameDelta);
  void UpdatePolyObjects();
  void UpdateLights();
  void UpdateCurrentCamera();

  bool CanRender() const;
  void BindMeshStates(const PolyObject& mesh) const;
  void BindMeshBuffers(const PolyObject& mesh) const;
  // A mesh with buffers to draw from: not a dummy, and its buffers made at load.
  static bool Drawable(const PolyObject& mesh);
  // The drawable mesh at position in polyObjects, or null.
  const PolyObject* DrawableAt(size_t position) const;
  // Marks which lights list the mesh, then binds its states and buffers.
  void PrepareMesh(const PolyObject& mesh) const;
  void RestoreDefaultStates() const;
  bool DrawWithMaterial(const PolyObject& mesh, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                        ID3D11ShaderResourceView* extraTexture, bool shaderFlag) const;
  void DrawShadowCaster(const PolyObject& mesh);
};
