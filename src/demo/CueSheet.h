#pragma once
// The show's cue sheet: the scene schedule and every keyed time the music is composed on.
// One place for these numbers: the score is written against them, and the Demo's keyed data
// can be checked against them. Plain constexpr tables without dependencies, so the content
// tools can include this header on its own.
#include <array>
#include <cstddef>
#include <cstdint>

namespace cue {

// Show time in milliseconds; zero is the start of the music.
using Millis = std::int64_t;

inline constexpr Millis kShowEnd = 204200;

// Beat of the show's music: the regular flashes of the blob scene come every 690 ms and the
// glitch and shake windows repeat every 2760 ms, so a bar is four beats of 690 ms.
inline constexpr Millis kBeat = 690;
inline constexpr Millis kBar = 4 * kBeat;

// Scene schedule: the scene number that owns show time from `start` up to the next entry.
struct SceneSlot {
  int sceneNumber;
  Millis start;
};

inline constexpr auto kSchedule = std::to_array<SceneSlot>({
    {5, 0},        // flagge
    {7, 23500},    // tunnel, two halves cross-faded
    {4, 47000},    // magnet
    {1, 69000},    // zelle
    {2, 91000},    // qualle
    {3, 113150},   // fratze
    {0, 135150},   // blob
    {9, 157250},   // soft
    {10, 179300},  // logo, until the show ends
});

// End of the slot at `index` (the start of the next one, or the end of the show).
constexpr Millis SlotEnd(std::size_t index) {
  return index + 1 < kSchedule.size() ? kSchedule[index + 1].start : kShowEnd;
}

// Keyed alpha span of a fade or flash quad: start and end inclusive, cosine unless said.
struct AlphaKey {
  Millis start;
  Millis end;
  float from;
  float to;
};

// The blob scene's pulse: a short flash on every beat from here until the limit.
inline constexpr Millis kBlobPulseFirst = 135547;
inline constexpr Millis kBlobPulseLimit = 156247;

namespace detail {

inline constexpr AlphaKey kFlasherListed[] = {
    {1, 1000, 1.0f, 0.0f},          {5500, 6500, 1.0f, 0.0f},       {9700, 12750, 0.9f, 0.0f},
    {12750, 13300, 0.5f, 0.0f},     {13850, 14300, 0.8f, 0.0f},     {15200, 18300, 1.1f, 0.0f},
    {18300, 19350, 0.5f, 0.0f},     {19350, 19850, 0.8f, 0.0f},     {20750, 23400, 0.0f, 1.1f},
    {23400, 25000, 1.1f, 0.0f},     {46900, 48000, 1.1f, 0.0f},     {50730, 51730, 0.4f, 0.0f},
    {52100, 53100, 0.4f, 0.0f},     {58000, 59000, 1.1f, 0.0f},     {63500, 64000, 1.0f, 0.0f},
    {67600, 68100, 1.0f, 0.0f},     {59000, 59250, 0.3f, 0.0f},     {60350, 60600, 0.3f, 0.0f},
    {61730, 61980, 0.3f, 0.0f},     {63100, 63350, 0.3f, 0.0f},     {64500, 64750, 0.3f, 0.0f},
    {65900, 66150, 0.3f, 0.0f},     {67270, 67520, 0.3f, 0.0f},     {69000, 70000, 1.1f, 0.0f},
    {74500, 75500, 0.6f, 0.0f},     {80000, 81000, 1.1f, 0.0f},     {85500, 86500, 0.6f, 0.0f},
    {91000, 92000, 1.1f, 0.0f},     {96600, 96700, 0.1f, 0.0f},     {96750, 96850, 0.1f, 0.0f},
    {102100, 103100, 1.1f, 0.0f},   {104000, 104100, 0.1f, 0.0f},   {104350, 104450, 0.1f, 0.0f},
    {106750, 106850, 0.1f, 0.0f},   {107100, 107200, 0.1f, 0.0f},   {109500, 109600, 0.1f, 0.0f},
    {109850, 109950, 0.1f, 0.0f},   {113150, 114150, 1.1f, 0.0f},
};

inline constexpr AlphaKey kFlasherBeforeBlob[] = {
    {133840, 134185, 0.6f, 0.0f},
    {135150, 136150, 1.1f, 0.0f},
};

inline constexpr AlphaKey kFlasherAfterBlob[] = {
    {156250, 156300, 0.5f, 0.0f},   {156600, 156650, 0.5f, 0.0f},   {156925, 156975, 0.5f, 0.0f},
    {157250, 158250, 1.1f, 0.0f},   {168300, 169300, 1.1f, 0.0f},   {162750, 163440, 0.6f, 0.0f},
    {173800, 174490, 0.6f, 0.0f},   {179300, 180300, 1.1f, 0.0f},
};

inline constexpr Millis kFaceFlashFirst = 124150;
inline constexpr Millis kFaceFlashStep = 5520;
inline constexpr int kFaceFlashCount = 2;


constexpr int CountBlobPulses() {
  int count = 0;
  for (Millis t = kBlobPulseFirst; t < kBlobPulseLimit; t += kBeat) ++count;
  return count;
}

inline constexpr int kBlobPulseCount = CountBlobPulses();

template <std::size_t N>
constexpr std::size_t Length(const AlphaKey (&)[N]) {
  return N;
}

inline constexpr std::size_t kFlasherCount = Length(kFlasherListed) + kFaceFlashCount +
                                             Length(kFlasherBeforeBlob) + kBlobPulseCount +
                                             Length(kFlasherAfterBlob);

constexpr std::array<AlphaKey, kFlasherCount> BuildFlasher() {
  std::array<AlphaKey, kFlasherCount> keys{};
  std::size_t n = 0;
  for (const AlphaKey& key : kFlasherListed) keys[n++] = key;
  for (int i = 0; i < kFaceFlashCount; ++i) {
    const Millis start = kFaceFlashFirst + kFaceFlashStep * i;
    keys[n++] = {start, start + 345, 0.6f, 0.0f};
  }
  for (const AlphaKey& key : kFlasherBeforeBlob) keys[n++] = key;
  for (Millis t = kBlobPulseFirst; t < kBlobPulseLimit; t += kBeat) keys[n++] = {t, t + 50, 0.5f, 0.0f};
  for (const AlphaKey& key : kFlasherAfterBlob) keys[n++] = key;
  return keys;
}

}  // namespace detail

// The flasher's keys in insertion order; every start is an accent of the music.
inline constexpr std::array<AlphaKey, detail::kFlasherCount> kFlasher = detail::BuildFlasher();
static_assert(detail::kBlobPulseCount == 30, "the blob scene pulses thirty times");
static_assert(kFlasher.size() == 80);

// The black fader: down to black from 193150 ms, fully black from 197000 ms.
inline constexpr auto kBlackFader = std::to_array<AlphaKey>({
    {193150, 197000, 0.0f, 1.0f},
    {197000, 205000, 1.0f, 1.0f},
});

// The cross-fader between the two tunnel halves.
inline constexpr auto kCrossFader = std::to_array<AlphaKey>({
    {31750, 37250, 0.0f, 1.0f},
    {37250, 42800, 1.0f, 0.0f},
    {42800, 47000, 0.0f, 1.0f},
});

// Captions: each slides in from the right, holds until it slides out again. Two holds start
// before their slide-in ends; the slide-in wins until its end because it was added first.
struct CaptionCue {
  Millis slideInStart;
  Millis slideInEnd;
  Millis holdStart;
  Millis slideOutStart;  // the hold ends here
  Millis slideOutEnd;
};

inline constexpr auto kCaptions = std::to_array<CaptionCue>({
    {26200, 27200, 27200, 31750, 32500},      // tunnel
    {50730, 51730, 51730, 55000, 55750},      // magnet
    {71740, 72740, 72740, 77200, 77950},      // zelle
    {93800, 94800, 94550, 99320, 100070},     // qualle
    {124150, 124840, 124840, 129700, 130390}, // fratze
    {140700, 141100, 141100, 146250, 146650}, // blob
    {160300, 161300, 161050, 165000, 165750}, // soft
    {182100, 182790, 182790, 187600, 188290}, // logo
});

// The credits fade in over the whole screen with the black fade, and out again.
inline constexpr auto kCredits = std::to_array<AlphaKey>({
    {193150, 197000, 0.0f, 1.1f},
    {197000, 205000, 1.1f, 0.0f},
});

// Windows of the keyed glitch; step and band set how coarse its bands are.
struct GlitchWindow {
  Millis start;
  Millis end;
  int stepAndBand;  // 0: a screen-width-dependent step (width / 64)
  float amplitude;
};

namespace detail {

inline constexpr GlitchWindow kGlitchListed[] = {
    {93800, 94550, 1, 10.0f},   {99320, 100000, 2, 10.0f},  {104850, 105550, 4, 10.0f},
    {107600, 108150, 8, 10.0f}, {110350, 111750, 16, 10.0f},
};

constexpr std::array<GlitchWindow, 21> BuildGlitch() {
  std::array<GlitchWindow, 21> windows{};
  std::size_t n = 0;
  for (const GlitchWindow& window : kGlitchListed) windows[n++] = window;
  for (Millis start = 70025; start < 92105 && n < 13; start += kBar) windows[n++] = {start, start + 690, 0, 50.0f};
  for (Millis start = 115850; start < 137930 && n < 21; start += kBar) windows[n++] = {start, start + 690, 1, 15.0f};
  return windows;
}

}  // namespace detail

inline constexpr std::array<GlitchWindow, 21> kGlitchWindows = detail::BuildGlitch();

// From here on the glitch follows the music's waveform instead of keyed windows.
inline constexpr Millis kGlitchSoundStart = 151700;

// Speed changes and frame jumps of the scenes' own clocks (jumpFrame −1: no jump).
struct SpeedCue {
  int sceneIndex;
  Millis time;
  float speed;
  int jumpFrame;
};

inline constexpr auto kSpeedEvents = std::to_array<SpeedCue>({
    {0, 135150, 1.4f, 0},    {0, 140700, 1.5f, -1},   {0, 146250, 1.75f, -1},  {0, 151750, 1.9f, -1},
    {1, 69000, 1.0f, 0},     {1, 74500, -1.0f, -1},   {1, 80000, 1.0f, 150},   {1, 85500, -1.0f, -1},
    {2, 91000, 1.0f, 0},     {2, 96750, 0.8f, -1},    {2, 102100, 1.0f, 250},  {2, 110350, 0.65f, -1},
    {3, 113150, 0.75f, 0},   {3, 121400, 0.75f, 250}, {3, 132450, 1.25f, -1},
    {4, 47000, 1.0f, 0},     {4, 50730, -1.0f, -1},   {4, 52100, 1.0f, -1},    {4, 58000, 1.0f, 300},
    {4, 63500, 0.5f, 150},   {4, 68000, 0.1f, 189},   {4, 68140, 0.1f, 199},   {4, 68240, 0.1f, 209},
    {4, 68320, 0.1f, 219},   {4, 68410, 0.1f, 229},   {4, 68500, 0.1f, 239},   {4, 68660, 0.0f, 249},
    {9, 157250, 1.1f, 0},    {9, 168300, 1.1f, 300},  {10, 179300, 1.0f, 0},
});

namespace detail {

template <class Cue, std::size_t N>
constexpr std::size_t CountForScene(const std::array<Cue, N>& cues, int sceneIndex) {
  std::size_t count = 0;
  for (const Cue& cue : cues) count += cue.sceneIndex == sceneIndex ? 1 : 0;
  return count;
}

// A speed event before its scene's first slot would fire while another scene is shown.
constexpr bool SpeedEventsStartWithTheirScene() {
  for (const SpeedCue& event : kSpeedEvents) {
    const int scene = event.sceneIndex == 6 ? 5 : event.sceneIndex == 8 ? 7 : event.sceneIndex;
    Millis first = -1;
    for (const SceneSlot& slot : kSchedule)
      if (slot.sceneNumber == scene) first = slot.start;
    if (first < 0 || event.time < first) return false;
  }
  return true;
}

}  // namespace detail

static_assert(kSpeedEvents.size() == 30);
static_assert(detail::CountForScene(kSpeedEvents, 0) == 4 && detail::CountForScene(kSpeedEvents, 1) == 4 &&
              detail::CountForScene(kSpeedEvents, 2) == 4 && detail::CountForScene(kSpeedEvents, 3) == 3 &&
              detail::CountForScene(kSpeedEvents, 4) == 12 && detail::CountForScene(kSpeedEvents, 9) == 2 &&
              detail::CountForScene(kSpeedEvents, 10) == 1);
static_assert(detail::SpeedEventsStartWithTheirScene(), "every speed event falls in its own scene's time");

// Camera shakes (amplitude in scene units) and rolls (degrees) of the scenes.
struct ShakeCue {
  int sceneIndex;
  Millis start;
  Millis end;
  float amplitude;
};

namespace detail {

constexpr std::array<ShakeCue, 10> BuildShakes() {
  std::array<ShakeCue, 10> shakes{};
  for (int i = 0; i < 7; ++i) {
    const Millis start = 137974 + kBar * i;
    shakes[i] = {0, start, start + 690, 20.0f * static_cast<float>(i + 1)};
  }
  shakes[7] = {3, 124150, 124840, 150.0f};
  shakes[8] = {3, 129670, 130360, 150.0f};
  shakes[9] = {3, 133840, 134530, 150.0f};
  return shakes;
}

}  // namespace detail

inline constexpr std::array<ShakeCue, 10> kShakeEvents = detail::BuildShakes();

struct RollCue {
  int sceneIndex;
  Millis start;
  Millis end;
  float degrees;
};

inline constexpr auto kRollEvents = std::to_array<RollCue>({
    {9, 162750, 163440, 15.0f},
    {9, 173800, 174490, -15.0f},
});

// Push-and-squeeze slides of the blob scene's end: the direction (mode) and whether the
// picture is squeezed instead of pushed.
struct SlideCue {
  Millis start;
  Millis end;
  int mode;
  bool squeeze;
};

inline constexpr auto kSlides = std::to_array<SlideCue>({
    {140700, 141045, 2, false}, {146250, 146595, 3, false}, {151750, 152150, 1, true},
    {156250, 156600, 1, true},  {156600, 156925, 0, true},  {156925, 157100, 1, true},
});

// Scenes whose camera's up vector turns with the camera (the others keep the loader's value).
struct CameraUpCue {
  int sceneIndex;
  bool followsRotation;
};

inline constexpr auto kCameraUp = std::to_array<CameraUpCue>({
    {1, false}, {2, true}, {3, true}, {7, true}, {8, true},
});

// The lens's field of view in degrees, eased with a cosine from `from` to `to`. Where two keys
// touch, the later one in this list wins.
struct FovCue {
  Millis start;
  Millis end;
  float from;
  float to;
};

inline constexpr auto kFovKeys = std::to_array<FovCue>({
    {0, 23500, 45, 45},           {23500, 31750, 90, 60},       {31750, 37250, 60, 120},
    {37250, 42800, 120, 120},     {42800, 47000, 120, 1},       {47000, 50800, 10, 60},
    {50800, 52300, 60, 30},       {52300, 55000, 30, 45},       {55000, 58000, 45, 20},
    {58000, 60000, 60, 45},       {63500, 68000, 55, 30},       {68000, 68140, 25, 25},
    {68140, 68240, 35, 35},       {68240, 68320, 45, 45},       {68320, 68410, 55, 55},
    {68410, 68500, 65, 65},       {68500, 69000, 65, 90},       {69000, 74500, 45, 10},
    {74500, 80000, 20, 40},       {80000, 85500, 30, 45},       {85500, 91000, 60, 10},
    {91000, 93800, 45, 45},       {93800, 94550, 45, 90},       {94550, 96600, 90, 60},
    {96600, 96750, 45, 45},       {96750, 99320, 30, 30},       {99320, 102100, 30, 45},
    {102100, 104000, 45, 45},     {104000, 104350, 60, 60},     {104350, 104850, 90, 90},
    {104850, 105550, 90, 25},     {105550, 106750, 25, 25},     {106750, 107100, 60, 60},
    {107100, 107600, 90, 90},     {107600, 108150, 90, 50},     {108150, 109500, 50, 50},
    {109500, 109850, 80, 80},     {109850, 110350, 120, 120},   {110350, 111750, 120, 30},
    {111750, 113150, 30, 30},     {113150, 121400, 60, 90},     {121400, 126900, 60, 45},
    {126900, 132450, 45, 90},     {132450, 135150, 90, 40},     {135150, 157250, 45, 45},
    {157250, 168300, 90, 30},     {168300, 173800, 32, 37},     {173800, 179300, 37, 30},
    {179300, 300000, 45, 45},
});
static_assert(kFovKeys.size() == 49);

}  // namespace cue
