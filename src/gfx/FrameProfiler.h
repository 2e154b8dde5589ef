#pragma once
// The frame profiler behind --profile FILE: one line per frame with the show time, the scene,
// the frame's wall and CPU time, and every pass (all drawn into one target between two target
// switches) with its GPU time and the CPU time spent issuing it. GPU time comes from
// GL_TIME_ELAPSED queries, read back when the frame ends; without timer queries each pass is
// bracketed by glFinish instead. Only a profiling run pays for either: without an active
// profiler the marks cost one pointer test.
//
// Line format (tab-separated):
//   frame <n> <show ms> <scene> <frame ms> <cpu ms> <pass>=<gpu ms>/<cpu ms> ...
// Named CPU sections follow as cpu:<name>=<ms>: the director's own work before drawing, the
// scenes' updates, and the Direct3D layer's heavy calls (draws, clears, uploads, maps) with the
// GL work they issue on this thread.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class FrameProfiler {
 public:
  FrameProfiler() = default;
  FrameProfiler(const FrameProfiler&) = delete;
  FrameProfiler& operator=(const FrameProfiler&) = delete;
  ~FrameProfiler() { Shutdown(); }

  // Opens (truncates) the file; needs the GL context current. False when it cannot be written.
  bool Create(const std::string& path);
  void Shutdown();

  void BeginFrame();
  // Ends the pass under way and starts one drawn into the named target; a second mark of the
  // same target continues the pass.
  void MarkPass(const char* target);
  // Adds CPU time to a named section of this frame.
  void AddCpuSection(const char* name, double milliseconds);
  // Ends the frame and writes its line.
  void EndFrame(int64_t showTimeMs, int32_t scene);

  // The targets of the last ended frame's passes, in drawing order.
  std::vector<std::string> PassTargets() const;

  bool UsesTimerQueries() const { return m_useQueries; }
  uint64_t framesWritten() const { return m_frames; }

 private:
  using Clock = std::chrono::steady_clock;
  struct Pass {
    std::string name;
    unsigned query = 0;
    double gpuMs = 0.0;
    double cpuMs = 0.0;
  };
  struct Section {
    std::string name;
    double milliseconds = 0.0;
  };
  void ClosePass();

  std::FILE* m_file = nullptr;
  bool m_useQueries = false;
  bool m_inFrame = false;
  bool m_passOpen = false;
  std::vector<unsigned> m_queries;  // reused from frame to frame
  std::vector<Pass> m_passes;
  std::vector<Section> m_sections;
  Clock::time_point m_frameStart;
  Clock::time_point m_passStart;
  double m_frameCpuStart = 0.0;
  uint64_t m_frames = 0;
};

// How a pass into a target is named: creation messages name targets as "m_pRTT_1_1->Create",
// the pass is the member.
std::string_view PassName(std::string_view target);

// The profiler the drawing code reports to; null unless the show runs with --profile.
FrameProfiler* ActiveFrameProfiler();
void SetActiveFrameProfiler(FrameProfiler* profiler);

// Marks a pass into target when a profiler is active.
inline void ProfilePass(const char* target) {
  if (FrameProfiler* profiler = ActiveFrameProfiler()) profiler->MarkPass(target);
}

// Adds the CPU time of its scope to a named section of the frame when a profiler is active.
class ProfileCpuScope {
 public:
  explicit ProfileCpuScope(const char* section);
  ~ProfileCpuScope();
  ProfileCpuScope(const ProfileCpuScope&) = delete;
  ProfileCpuScope& operator=(const ProfileCpuScope&) = delete;

 private:
  const char* m_section = nullptr;
  double m_startMs = 0.0;
};
