#include <gtest/gtest.h>

#include <cmath>

#include "SceneFixtures.h"
#include "platform/crt_rand.h"

namespace scene_test {
namespace {

std::unique_ptr<Scene> LoadComplete(c4e::Scene description = CompleteScene()) {
  ReadResult result = ReadScene(description);
  EXPECT_EQ(result.message, nullptr);
  return std::move(result.scene);
}

TEST(SceneUpdateTest, ClockAdvancesBySpeedTruncatedAndClampsAtZero) {
  auto scene = LoadComplete();
  ASSERT_EQ(scene->endTime, 4000);  // the morph keys reach frame 100
  scene->speed = 0.5f;
  scene->Update(0, 33);
  EXPECT_EQ(scene->time, 16);
  scene->time = 1000;
  scene->speed = 1.0f;
  scene->Update(0, 39);
  EXPECT_EQ(scene->time, 1039);
  EXPECT_EQ(scene->frame, 25);
  scene->speed = -1.0f;
  scene->Update(0, 500);
  EXPECT_EQ(scene->time, 539);
  scene->Update(0, 1000);
  EXPECT_EQ(scene->time, 0);
  EXPECT_EQ(scene->frame, 0);
}

TEST(SceneUpdateTest, SpeedEventsFireOnceAndJumpBeforeTheAdvance) {
  auto scene = LoadComplete();
  scene->speedEvents.push_back({false, 500, 2.0f, -1});
  scene->speedEvents.push_back({false, 1000, 0.5f, 50});
  scene->speedEvents.push_back({false, 1000, 3.0f, 25});  // same frame: the later one wins
  scene->Update(400, 10);
  EXPECT_EQ(scene->speed, 1.0f);
  EXPECT_EQ(scene->time, 10);
  scene->Update(500, 10);
  EXPECT_EQ(scene->speed, 2.0f);
  EXPECT_EQ(scene->time, 30);
  scene->Update(1000, 10);
  EXPECT_EQ(scene->speed, 3.0f);
  EXPECT_EQ(scene->time, 1000 + 30);  // jumped to frame 25, then advanced
  scene->Update(1100, 10);
  EXPECT_EQ(scene->time, 1060);  // fired events stay fired
  for (const SpeedEvent& event : scene->speedEvents) EXPECT_TRUE(event.fired);

  auto jumper = LoadComplete();
  jumper->speedEvents.push_back({false, 0, 1.0f, 100});
  jumper->Update(0, 0);
  // Frame 100 is 4000 ms, the end of this scene: it restarts in the same update.
  EXPECT_EQ(jumper->time, 0);
}

TEST(SceneUpdateTest, RollEasesFromTheFullAngleToZero) {
  auto scene = LoadComplete();
  scene->rollEvents.push_back({1000, 2000, 30.0f});
  scene->Update(999, 0);
  EXPECT_EQ(scene->rollAngle, 0.0f);
  scene->Update(1000, 0);
  EXPECT_NEAR(scene->rollAngle, 0.5236f, 1e-4f);
  scene->Update(1500, 0);
  EXPECT_NEAR(scene->rollAngle, 0.2618f, 1e-4f);
  scene->Update(2000, 0);
  EXPECT_NEAR(scene->rollAngle, 0.0f, 1e-7f);
  scene->Update(2001, 0);
  EXPECT_EQ(scene->rollAngle, 0.0f);
}

TEST(SceneUpdateTest, ShakeDrawsSixValuesInOrderAndFadesOut) {
  auto scene = LoadComplete();
  scene->shakeEvents.push_back({0, 1000, 4.0f});
  platform::srand(1234);
  scene->Update(250, 0);

  platform::srand(1234);
  const float a = 0.75f * 4.0f;
  const float x1 = platform::rand() / (32767.0f / a);
  const float y1 = platform::rand() / (32767.0f / a);
  const float z1 = platform::rand() / (32767.0f / a);
  const float z = platform::rand() / (32767.0f / (z1 - 0.5f * z1));
  const float y = platform::rand() / (32767.0f / (y1 - 0.5f * y1));
  const float x = platform::rand() / (32767.0f / (x1 - 0.5f * x1));
  EXPECT_EQ(scene->shakeOffset, D3DXVECTOR3(x, y, z));
  for (float component : {x, y, z}) {
    EXPECT_GE(component, 0.0f);
    EXPECT_LE(component, a / 2);
  }

  scene->Update(1000, 0);  // p = 1: amplitude 0
  EXPECT_EQ(scene->shakeOffset, D3DXVECTOR3(0, 0, 0));
  scene->Update(1001, 0);
  EXPECT_EQ(scene->shakeOffset, D3DXVECTOR3(0, 0, 0));
}

TEST(SceneUpdateTest, LoopingMovesToTheNextCamera) {
  c4e::Scene description = CompleteScene();
  description.cameras.push_back(CameraLookingAt(kMeshId));
  description.cameras[1].position = {3, 3, 3};
  auto scene = LoadComplete(description);
  scene->Restart();
  scene->currentCamera = 0;  // the owner picks the first camera
  scene->Update(0, 3999);
  EXPECT_EQ(scene->currentCamera, 0);
  scene->Update(0, 1);  // reaches the end time
  EXPECT_EQ(scene->time, 0);
  EXPECT_EQ(scene->currentCamera, 1);
  EXPECT_EQ(scene->StatisticsLine().find("cams:2(2)") != std::string::npos, true);
  scene->Update(0, 4000);
  EXPECT_EQ(scene->currentCamera, 0);
}

TEST(SceneUpdateTest, WithoutKeysEveryUpdateRestarts) {
  c4e::Scene description;
  description.polyObjects.push_back(Triangles(kMeshId, "none", 1));
  description.cameras.push_back(CameraLookingAt(kMeshId));
  description.cameras.push_back(CameraLookingAt(kMeshId));
  auto scene = LoadComplete(description);
  ASSERT_EQ(scene->endTime, 0);
  for (int i = 1; i <= 3; ++i) {
    scene->Update(i * 16, 16);
    EXPECT_EQ(scene->time, 0);
    EXPECT_EQ(scene->currentCamera, i % 2);
  }
}

TEST(SceneUpdateTest, ObjectsLightsAndCameraFollowTheirTracks) {
  auto scene = LoadComplete();
  scene->Update(0, 500);
  const PolyObject* dummy = scene->FindPolyObject(kDummyId);
  EXPECT_FLOAT_EQ(dummy->position.y, 2.0f);  // 1 → 3 over 1000 ms
  // The mesh's parent is the dummy, earlier in the list: its world includes this frame's lift.
  const PolyObject* mesh = scene->FindPolyObject(kMeshId);
  EXPECT_FLOAT_EQ(mesh->world._42, 2.0f);
  // The light points from (0, 10, 0) at the mesh's position (its track-less pose, the origin).
  EXPECT_EQ(scene->lights[0]->direction, D3DXVECTOR3(0, -1, 0));
  // The camera looks at the dummy: the dummy's position lands on the view's z axis.
  const Camera& camera = *scene->cameras[0];
  D3DXVECTOR3 inView;
  D3DXVec3TransformCoord(&inView, &dummy->position, &camera.view);
  EXPECT_NEAR(inView.x, 0.0f, 1e-5f);
  EXPECT_NEAR(inView.y, 0.0f, 1e-5f);
  EXPECT_GT(inView.z, 0.0f);
  // Hermite from x 0 to 5 over 3000 ms: at 500 ms s = 1/6.
  const float s = 1.0f / 6.0f;
  EXPECT_NEAR(camera.position.x, 5.0f * (3 * s * s - 2 * s * s * s), 1e-5f);
}

TEST(SceneUpdateTest, UpVectorCanFollowTheCameraRotation) {
  c4e::Scene description = CompleteScene();
  description.cameras[0].track.hasTrack = false;
  description.cameras[0].rotation = {0, 0, D3DX_PI / 2};  // roll: up turns sideways
  auto scene = LoadComplete(description);
  scene->Update(0, 0);
  const D3DXMATRIX levelView = scene->cameras[0]->view;
  scene->cameraUpFollowsRotation = true;
  scene->Update(0, 0);
  const D3DXMATRIX rolledView = scene->cameras[0]->view;
  EXPECT_NEAR(levelView._22, 1.0f, 0.05f);
  EXPECT_NEAR(std::abs(rolledView._12), 1.0f, 0.05f);  // world x is now the view's up
}

TEST(SceneUpdateTest, SceneWithoutCamerasIsLeftAlone) {
  c4e::Scene description;
  description.polyObjects.push_back(Triangles(kMeshId, "none", 2));
  description.polyObjects[0].track = TwoKeyTrack(c4e::kLinear, 10, {0, 0, 0}, {1, 1, 1});
  auto scene = LoadComplete(description);
  scene->Restart();
  EXPECT_EQ(scene->currentCamera, 0);
  scene->Update(100, 100);
  EXPECT_EQ(scene->time, 0);
  EXPECT_EQ(scene->polyObjects[0]->position, D3DXVECTOR3(0, 0, 0));
}

}  // namespace
}  // namespace scene_test
