#pragma once
// How far a scene's own clock has run at a show time: the show's speed events for that scene
// (cue sheet) applied frame by frame at 25 frames a second, as the scene update applies them
// (an event sets the speed and may jump; each frame adds 40 ms × speed, truncated, never below
// 0). Scenes are composed against it: a pulse, a snap or a grimace that must meet a cue lies at
// the frame this gives for the cue's time.
#include <cstdint>

#include "demo/CueSheet.h"

namespace kit {

constexpr int64_t kFrameMs = 40;

// Scene time in milliseconds after the update of the last 40 ms frame at or before showTime,
// counting frames from the scene's first speed event. No restart is applied: the scene is
// assumed to be longer than anything its window reaches.
int64_t SceneTimeAt(int sceneIndex, cue::Millis showTime);
// The furthest scene time reached from the scene's first speed event up to windowEnd (exclusive).
int64_t FurthestSceneTime(int sceneIndex, cue::Millis windowEnd);

}  // namespace kit
