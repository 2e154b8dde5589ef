#pragma once
// The CPU time the layer spends in its heavy calls (draws, clears, uploads, maps and copies,
// with the GL work they issue on this thread), summed while a frame profile is taken. Outside a
// profiling run each call pays one flag test.
namespace platform::d3d11 {

// CPU time of the calling thread: wall time less its waits.
double ThreadCpuMilliseconds();

void MeasureLayerTime(bool on);
// Milliseconds summed since the previous take (0 while not measuring).
double TakeLayerMilliseconds();

// Times one layer call; nested calls count once, in the outermost.
class LayerCallTimer {
 public:
  LayerCallTimer();
  ~LayerCallTimer();
  LayerCallTimer(const LayerCallTimer&) = delete;
  LayerCallTimer& operator=(const LayerCallTimer&) = delete;

 private:
  bool m_counted = false;    // took part in the nesting depth
  double m_startMs = -1.0;  // set in the outermost call only
};

}  // namespace platform::d3d11
