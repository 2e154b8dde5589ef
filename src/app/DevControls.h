#pragma once
// Development mode's keys while the show plays: Space pauses and resumes picture and music
// together, Left and Right seek a second (with Shift a bar), Page Up and Page Down go to the
// previous or next scene's start, Home to 0, D toggles the debug overlay. A seek starts the
// show again at the new time the way a late start does, so it shows what a run from 0 shows.
#include <cstdint>
#include <functional>
#include <string>

class Demo;
class Timer;

// Virtual-key codes of the controls.
constexpr uint8_t VK_SHIFT = 0x10;
constexpr uint8_t VK_SPACE = 0x20;
constexpr uint8_t VK_PRIOR = 0x21;
constexpr uint8_t VK_NEXT = 0x22;
constexpr uint8_t VK_HOME = 0x24;
constexpr uint8_t VK_LEFT = 0x25;
constexpr uint8_t VK_RIGHT = 0x27;
constexpr uint8_t VK_D = 'D';

class DevControls {
 public:
  static constexpr int64_t kSecond = 1000;
  static constexpr int64_t kBar = 2760;
  // Page Up within this long after a scene's start goes on to the scene before.
  static constexpr int64_t kSceneStartGrace = 1000;

  // Starts the show at a show time as the program starts late: the scenes' state rewound and
  // replayed, the music moved there, the clock restarted there.
  using StartFunction = std::function<void(int64_t showTime)>;

  // Borrows the Demo, its Timer and the key table; endMs is the last show time.
  bool Create(Demo* demo, Timer* timer, const uint8_t* keys, StartFunction start, int64_t endMs);
  void Shutdown();

  // A key went down (or repeats); true when it was one of the controls.
  bool KeyDown(uint8_t virtualKey);
  // After the Timer's Frame: a paused show stands still, and the show holds at its end.
  void AfterTimerFrame();

  void Seek(int64_t showTime);
  void SetPaused(bool paused);
  bool paused() const { return m_paused; }
  // The show time of the frame being drawn.
  int64_t ShowTime() const;

  // "Pulsar  1:23.456  zelle  16.7 ms" with "paused" and the latest reload problem's first line.
  std::string Title(double frameMilliseconds, const std::string& problem) const;

  // The schedule's scene starts around a show time.
  static int64_t PreviousSceneStart(int64_t showTime);
  static int64_t NextSceneStart(int64_t showTime, int64_t endMs);
  // The scene's name at a show time ("flagge", "tunnel", "magnet" ...).
  static std::string SceneName(int64_t showTime);

 private:
  Demo* m_pDemo = nullptr;
  Timer* m_pTimer = nullptr;
  const uint8_t* m_keys = nullptr;
  StartFunction m_start;
  int64_t m_endMs = 0;
  bool m_paused = false;
  int64_t m_pausedAt = 0;
};
