#include <cmath>

#include "app/Timer.h"
#include "math/interpolation.h"
#include "platform/clock.h"
#include "platform/crt_rand.h"
#include "scene/Morph.h"
#include "scene/Scene.h"

namespace {

int64_t ClockMilliseconds() {
  int64_t frequency = 0, counter = 0;
  if (platform::QueryPerformanceFrequency(&frequency) && frequency > 0 && platform::QueryPerformanceCounter(&counter))
    return counter * 1000 / frequency;
  return platform::GetTickCount();
}

// rand() / (32767 / range): a value in [0, range] drawn from the shared sequence.
float RandomUpTo(float range) {
  return static_cast<float>(platform::rand()) / (static_cast<float>(platform::kRandMax) / range);
}

}  // namespace

void Scene::Restart() {
  restartTick = ClockMilliseconds();
  time = 0;
  currentCamera = currentCamera + 1;
  if (currentCamera >= cameraCount) currentCamera = 0;
}

void Scene::Rewind() {
  Restart();
  currentCamera = 0;
  frame = 0;
  speed = 1.0f;
  rollAngle = 0.0f;
  shakeOffset = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  for (SpeedEvent& event : speedEvents) event.fired = false;
}

void Scene::FireSpeedEvents(int64_t demoTime) {
  for (SpeedEvent& event : speedEvents) {
    if (event.fired || event.time > demoTime) continue;
    event.fired = true;
    speed = event.speed;
    if (event.jumpFrame >= 0) time = static_cast<int64_t>(event.jumpFrame) * 40;
  }
}

void Scene::ComputeRoll(int64_t demoTime) {
  rollAngle = 0.0f;
  for (const RollEvent& event : rollEvents) {
    if (demoTime < event.start || demoTime > event.end) continue;
    const float h = CosineEase(SpanFraction(demoTime, event.start, event.end));
    rollAngle = (1.0f - h) * event.degrees * D3DX_PI / 180.0f;
  }
}

void Scene::ComputeShake(int64_t demoTime) {
  shakeOffset = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  for (const ShakeEvent& event : shakeEvents) {
    if (demoTime < event.start || demoTime > event.end) continue;
    const float p = SpanFraction(demoTime, event.start, event.end);
    const float a = (1.0f - p) * event.amplitude;
    // The draw order is part of the shared random sequence: x1, y1, z1, then z, y, x.
    const float x1 = RandomUpTo(a);
    const float y1 = RandomUpTo(a);
    const float z1 = RandomUpTo(a);
    const float z = RandomUpTo(z1 - 0.5f * z1);
    const float y = RandomUpTo(y1 - 0.5f * y1);
    const float x = RandomUpTo(x1 - 0.5f * x1);
    shakeOffset = D3DXVECTOR3(x, y, z);
  }
}

void Scene::AdvanceClock(int64_t frameDelta) {
  const long double step = static_cast<long double>(frameDelta) * static_cast<long double>(speed);
  time += static_cast<int64_t>(step);
  if (time < 0) time = 0;
  if (time >= endTime) Restart();
  frame = static_cast<int32_t>(static_cast<uint32_t>(time) / 40u);
}

void Scene::UpdatePolyObjects() {
  for (size_t i = 0; i < polyObjects.size(); ++i) {
    PolyObject* object = polyObjects[i].get();
    EvaluateMorph(object, time);
    if (object->hasTrack) {
      object->track->Evaluate(time);
      object->TakePoseFromTrack();
    }
    ComputeWorld(object, ParentMatrix(i));
  }
}

void Scene::UpdateLights() {
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  for (const auto& light : lights) {
    if (light->hasTrack) {
      light->track->Evaluate(time);
      light->TakePoseFromTrack();
    }
    ComputeWorld(light.get(), identity);
    if (const PolyObject* target = FindPolyObject(light->targetId)) {
      const D3DXVECTOR3 toTarget = target->position - light->position;
      D3DXVec3Normalize(&light->direction, &toTarget);
    }
  }
}

void Scene::UpdateCurrentCamera() {
  if (currentCamera < 0 || static_cast<size_t>(currentCamera) >= cameras.size()) return;
  Camera* camera = cameras[currentCamera].get();
  if (camera->hasTrack) {
    camera->track->Evaluate(time);
    camera->TakePoseFromTrack();
  }
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  ComputeWorld(camera, identity);
  const PolyObject* target = FindPolyObject(camera->targetId);
  if (!target) return;  // keeps the previous view
  D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
  if (cameraUpFollowsRotation) D3DXVec3TransformCoord(&up, &up, &camera->rotationMatrix);
  D3DXMatrixLookAtLH(&camera->view, &camera->position, &target->position, &up);
}

void Scene::Update(int64_t demoTime, int64_t frameDelta) {
  if (cameras.empty()) return;
  FireSpeedEvents(demoTime);
  ComputeRoll(demoTime);
  ComputeShake(demoTime);
  AdvanceClock(frameDelta);
  UpdatePolyObjects();
  UpdateLights();
  UpdateCurrentCamera();
}

void Scene::Update() {
  const Timer* timer = m_renderContext.timer;
  if (!timer) return;
  Update(timer->elapsed, timer->delta);
}
