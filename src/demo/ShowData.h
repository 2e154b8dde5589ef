#pragma once
// The show's keyed data, built from the cue sheet so the picture and the music share one
// source of timing: the fade and caption keyframes, the lens keys and each scene's settings
// and events. The Demo attaches them once while it creates its objects.
#include <cstdint>
#include <vector>

#include "demo/CueSheet.h"
#include "demo/Lens.h"
#include "gfx/QuadKeyframe.h"

class Scene;

namespace show {

// The flag scene: black until the first flag appears, the second flag replaces it.
inline constexpr int64_t kFlagAppears = 9700;
inline constexpr int64_t kSecondFlag = 15200;

// Number of scene files, loaded in index order.
inline constexpr int32_t kSceneCount = 11;
// The scene files by index.
const char* SceneFileName(int32_t index);

// An alpha-only cosine keyframe; corners and texture coordinates stay zero.
QuadKeyframe AlphaKeyframe(const cue::AlphaKey& key);

// The keyframes of the three keyed fade quads, in insertion order.
std::vector<QuadKeyframe> BlackFaderKeyframes();
std::vector<QuadKeyframe> CrossFaderKeyframes();
std::vector<QuadKeyframe> FlasherKeyframes();

// A caption's three moves along the bottom fifth: slide in, hold, slide out.
std::vector<QuadKeyframe> CaptionKeyframes(const cue::CaptionCue& caption);
// The credits' two keys over the whole screen.
std::vector<QuadKeyframe> CreditsKeyframes();

// The lens's field-of-view keys, all cosine, in insertion order.
std::vector<FovKey> FovKeys();

// The settings and events of the scene loaded at `index`: the camera-up flag where the cue
// sheet gives one, then its speed, roll and shake events in cue-sheet order.
void ApplySceneCues(Scene& scene, int32_t index);

// The scene number the schedule gives show time t.
int32_t ScheduledScene(int64_t t);
// The start of the schedule slot that owns show time t.
int64_t SlotStart(int64_t t);
// The scene files the composition of show time t updates (both tunnel halves, the one flag
// that is up, none before the flag appears).
std::vector<int32_t> ScenesUpdatedAt(int64_t t);

}  // namespace show
