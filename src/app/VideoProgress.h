#pragma once
// How far a video recording is: a bar redrawn in place on a terminal, one line per tenth
// otherwise (a log, a pipe), nothing when asked to be quiet.
#include <cstdint>
#include <cstdio>
#include <string>

enum class ProgressStyle { Quiet, Bar, Lines };

struct ProgressState {
  int64_t done = 0;      // frames handed to the encoder
  int64_t total = 0;
  int64_t showTime = 0;  // milliseconds, of the last frame done
  double seconds = 0.0;  // wall time since the recording started
};

// "[#####---------------]  19/75 frames  show 0:04.76  12.5 fps  0:04 left"
std::string ProgressBarText(const ProgressState& state);
// "video: 30 % (23 of 75 frames, show time 0:05.68, 12.5 fps, 0:04 left)"
std::string ProgressLineText(const ProgressState& state);
// "1:23.45" for 83450 ms; hours when needed.
std::string FormatShowTime(int64_t milliseconds);

class VideoProgress {
 public:
  // The bar on a terminal, lines elsewhere, nothing when quiet.
  static ProgressStyle StyleFor(bool quiet, FILE* out);

  void Create(ProgressStyle style, int64_t totalFrames, FILE* out);
  void Update(const ProgressState& state);
  // Ends the bar's line; a last line when the tenths never reached 100 %.
  void Finish(const ProgressState& state);
  // Ends the bar's line so that a message after it starts on a line of its own.
  void Abandon();

 private:
  ProgressStyle m_style = ProgressStyle::Quiet;
  FILE* m_out = nullptr;
  int64_t m_total = 0;
  int m_tenthsShown = 0;
  double m_lastDrawn = -1.0;
};
