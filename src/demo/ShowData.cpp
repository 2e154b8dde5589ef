#include "demo/ShowData.h"

#include "scene/Scene.h"

namespace show {
namespace {

// Rectangles as left, top, right, bottom in percent of the screen.
struct Rect {
  float left, top, right, bottom;
};

constexpr Rect kCaptionOutside = {100.0f, 80.0f, 150.0f, 100.0f};
constexpr Rect kCaptionShown = {50.0f, 80.0f, 100.0f, 100.0f};
constexpr Rect kWholeScreen = {0.0f, 0.0f, 100.0f, 100.0f};

void SetCorners(D3DXVECTOR2 (&corners)[4], const Rect& r) {
  corners[0] = D3DXVECTOR2(r.left, r.top);
  corners[1] = D3DXVECTOR2(r.right, r.top);
  corners[2] = D3DXVECTOR2(r.left, r.bottom);
  corners[3] = D3DXVECTOR2(r.right, r.bottom);
}

// A cosine key that moves a quad between two rectangles, showing the whole texture.
QuadKeyframe MoveKeyframe(int64_t start, int64_t end, float alphaFrom, float alphaTo, const Rect& from,
                          const Rect& to) {
  QuadKeyframe keyframe = AlphaKeyframe({start, end, alphaFrom, alphaTo});
  SetCorners(keyframe.cornersFrom, from);
  SetCorners(keyframe.cornersTo, to);
  const Rect whole = {0.0f, 0.0f, 1.0f, 1.0f};
  SetCorners(keyframe.texCoordsFrom, whole);
  SetCorners(keyframe.texCoordsTo, whole);
  return keyframe;
}

template <class Keys>
std::vector<QuadKeyframe> AlphaKeyframes(const Keys& keys) {
  std::vector<QuadKeyframe> keyframes;
  for (const cue::AlphaKey& key : keys) keyframes.push_back(AlphaKeyframe(key));
  return keyframes;
}

}  // namespace

const char* SceneFileName(int32_t index) {
  static const char* const kFiles[kSceneCount] = {"blob.c4e",    "zelle.c4e",   "qualle.c4e", "fratze.c4e",
                                                  "magnet.c4e",  "flagge1.c4e", "flagge2.c4e", "tunnel1.c4e",
                                                  "tunnel2.c4e", "soft.c4e",    "logo.c4e"};
  return index >= 0 && index < kSceneCount ? kFiles[index] : "";
}

QuadKeyframe AlphaKeyframe(const cue::AlphaKey& key) {
  QuadKeyframe keyframe;
  keyframe.mode = 1;
  keyframe.start = key.start;
  keyframe.end = key.end;
  keyframe.alphaFrom = key.from;
  keyframe.alphaTo = key.to;
  return keyframe;
}

std::vector<QuadKeyframe> BlackFaderKeyframes() { return AlphaKeyframes(cue::kBlackFader); }
std::vector<QuadKeyframe> CrossFaderKeyframes() { return AlphaKeyframes(cue::kCrossFader); }
std::vector<QuadKeyframe> FlasherKeyframes() { return AlphaKeyframes(cue::kFlasher); }

std::vector<QuadKeyframe> CaptionKeyframes(const cue::CaptionCue& c) {
  return {MoveKeyframe(c.slideInStart, c.slideInEnd, 1.0f, 1.0f, kCaptionOutside, kCaptionShown),
          MoveKeyframe(c.holdStart, c.slideOutStart, 1.0f, 1.0f, kCaptionShown, kCaptionShown),
          MoveKeyframe(c.slideOutStart, c.slideOutEnd, 1.0f, 1.0f, kCaptionShown, kCaptionOutside)};
}

std::vector<QuadKeyframe> CreditsKeyframes() {
  std::vector<QuadKeyframe> keyframes;
  for (const cue::AlphaKey& key : cue::kCredits)
    keyframes.push_back(MoveKeyframe(key.start, key.end, key.from, key.to, kWholeScreen, kWholeScreen));
  return keyframes;
}

std::vector<FovKey> FovKeys() {
  std::vector<FovKey> keys;
  for (const cue::FovCue& cue : cue::kFovKeys) keys.push_back({1, cue.start, cue.end, cue.from, cue.to});
  return keys;
}

void ApplySceneCues(Scene& scene, int32_t index) {
  for (const cue::CameraUpCue& cue : cue::kCameraUp)
    if (cue.sceneIndex == index) scene.cameraUpFollowsRotation = cue.followsRotation;
  for (const cue::SpeedCue& cue : cue::kSpeedEvents)
    if (cue.sceneIndex == index) scene.speedEvents.push_back({false, cue.time, cue.speed, cue.jumpFrame});
  for (const cue::RollCue& cue : cue::kRollEvents)
    if (cue.sceneIndex == index) scene.rollEvents.push_back({cue.start, cue.end, cue.degrees});
  for (const cue::ShakeCue& cue : cue::kShakeEvents)
    if (cue.sceneIndex == index) scene.shakeEvents.push_back({cue.start, cue.end, cue.amplitude});
}

int32_t ScheduledScene(int64_t t) {
  int32_t scene = cue::kSchedule.front().sceneNumber;
  for (const cue::SceneSlot& slot : cue::kSchedule)
    if (t >= slot.start) scene = slot.sceneNumber;
  return scene;
}

int64_t SlotStart(int64_t t) {
  int64_t start = cue::kSchedule.front().start;
  for (const cue::SceneSlot& slot : cue::kSchedule)
    if (t >= slot.start) start = slot.start;
  return start;
}

std::vector<int32_t> ScenesUpdatedAt(int64_t t) {
  const int32_t scene = ScheduledScene(t);
  if (scene == 5) {
    if (t < kFlagAppears) return {};
    return {t < kSecondFlag ? 5 : 6};
  }
  if (scene == 7) return {7, 8};
  return {scene};
}

}  // namespace show
