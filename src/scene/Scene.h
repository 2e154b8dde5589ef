#pragma once
// One loaded .c4e scene: materials, polyobjects, cameras, lights and the environment, its
// own clock, and the events its owner attaches. Created by the SceneLoader.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/RenderContext.h"
#include "math/d3dx_math.h"
#include "scene/Camera.h"
#include "scene/Environment.h"
#include "scene/Light.h"
#include "scene/Material.h"
#include "scene/PolyObject.h"
#include "scene/SceneEvents.h"

class C4eShader;
class DepthShader;

class Scene : public ContextHolder {
 public:
  explicit Scene(const RenderContext& renderContext);
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // The per-frame step at the timer's elapsed time and frame delta.
  void Update();
  // The per-frame step: events, clock, looping, then every polyobject, every light and the
  // current camera. A scene without cameras has nothing to look through and is left as it is.
  void Update(int64_t demoTime, int64_t frameDelta);
  // Back to time 0 with the next camera, wrapping to the first.
  void Restart();

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
};
