#include "gfx/FrameProfiler.h"

#include <epoxy/gl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "app/OutputFiles.h"
#include "platform/d3d11/layer_clock.h"

namespace {

FrameProfiler* g_activeProfiler = nullptr;

// CPU time of this thread, so a pass's issuing cost shows apart from the rasteriser it waits for.
double ThreadCpuMs() { return platform::d3d11::ThreadCpuMilliseconds(); }

// Milliseconds since this process was started (its start time in /proc against the boot
// clock), to 10 ms; negative when /proc cannot tell.
double ProcessAgeMs() {
  std::FILE* stat = std::fopen("/proc/self/stat", "r");
  if (stat == nullptr) return -1.0;
  char line[1024] = {};
  const bool read = std::fgets(line, sizeof(line), stat) != nullptr;
  std::fclose(stat);
  // Fields after the command name (which may hold spaces) start at the last ')'.
  const char* at = read ? std::strrchr(line, ')') : nullptr;
  if (at == nullptr) return -1.0;
  unsigned long long startTicks = 0;
  // State is field 3; the start time is field 22.
  int field = 2;
  for (const char* p = at + 1; *p != '\0'; ++p) {
    if (*p == ' ' && ++field == 22) {
      startTicks = std::strtoull(p + 1, nullptr, 10);
      break;
    }
  }
  timespec boot{};
  if (startTicks == 0 || clock_gettime(CLOCK_BOOTTIME, &boot) != 0) return -1.0;
  const double nowMs = static_cast<double>(boot.tv_sec) * 1000.0 + static_cast<double>(boot.tv_nsec) / 1e6;
  return nowMs - static_cast<double>(startTicks) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double MillisecondsBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

FrameProfiler* ActiveFrameProfiler() { return g_activeProfiler; }
void SetActiveFrameProfiler(FrameProfiler* profiler) { g_activeProfiler = profiler; }

bool FrameProfiler::Create(const std::string& path) {
  m_file = std::fopen(path.c_str(), "w");
  if (m_file == nullptr) return false;
  // PULSAR_PROFILE_TIMING=finish compares the two ways on one machine.
  const char* timing = std::getenv("PULSAR_PROFILE_TIMING");
  const bool finishWanted = timing != nullptr && std::strcmp(timing, "finish") == 0;
  m_useQueries = !finishWanted && (epoxy_gl_version() >= 33 || epoxy_has_gl_extension("GL_ARB_timer_query"));
  std::fprintf(m_file, "%s; gpu timing: %s\n", kProfileFirstLine, m_useQueries ? "GL_TIME_ELAPSED" : "glFinish");
  return std::ferror(m_file) == 0;
}

void FrameProfiler::Shutdown() {
  if (g_activeProfiler == this) g_activeProfiler = nullptr;
  platform::d3d11::MeasureLayerTime(false);
  if (!m_queries.empty()) glDeleteQueries(static_cast<GLsizei>(m_queries.size()), m_queries.data());
  m_queries.clear();
  if (m_file != nullptr) std::fclose(m_file);
  m_file = nullptr;
}

void FrameProfiler::BeginFrame() {
  if (m_file == nullptr) return;
  m_passes.clear();
  m_sections.clear();
  m_passOpen = false;
  m_inFrame = true;
  if (!m_useQueries) glFinish();  // the previous frame's work is not this frame's
  m_frameStart = Clock::now();
  m_frameCpuStart = ThreadCpuMs();
  platform::d3d11::MeasureLayerTime(true);
}

std::string_view PassName(std::string_view target) { return target.substr(0, target.find("->")); }

std::vector<std::string> FrameProfiler::PassTargets() const {
  std::vector<std::string> targets;
  targets.reserve(m_passes.size());
  for (const Pass& pass : m_passes) targets.push_back(pass.name);
  return targets;
}

void FrameProfiler::ClosePass() {
  if (!m_passOpen) return;
  Pass& pass = m_passes.back();
  if (m_useQueries) {
    glEndQuery(GL_TIME_ELAPSED);
  } else {
    glFinish();
    pass.gpuMs = MillisecondsBetween(m_passStart, Clock::now());
  }
  pass.cpuMs += ThreadCpuMs();
  m_passOpen = false;
}

void FrameProfiler::MarkPass(const char* target) {
  if (!m_inFrame) return;
  const std::string_view name = PassName(target);
  if (m_passOpen && m_passes.back().name == name) return;
  ClosePass();
  Pass pass;
  pass.name = name;
  if (m_useQueries) {
    if (m_passes.size() >= m_queries.size()) {
      unsigned query = 0;
      glGenQueries(1, &query);
      m_queries.push_back(query);
    }
    pass.query = m_queries[m_passes.size()];
    glBeginQuery(GL_TIME_ELAPSED, pass.query);
  } else {
    m_passStart = Clock::now();
  }
  pass.cpuMs = -ThreadCpuMs();
  m_passes.push_back(std::move(pass));
  m_passOpen = true;
}

void FrameProfiler::AddCpuSection(const char* name, double milliseconds) {
  for (Section& section : m_sections) {
    if (section.name == name) {
      section.milliseconds += milliseconds;
      return;
    }
  }
  m_sections.push_back({name, milliseconds});
}

ProfileCpuScope::ProfileCpuScope(const char* section) {
  if (g_activeProfiler == nullptr) return;
  m_section = section;
  m_startMs = ThreadCpuMs();
}

ProfileCpuScope::~ProfileCpuScope() {
  if (m_section != nullptr && g_activeProfiler != nullptr) g_activeProfiler->AddCpuSection(m_section, ThreadCpuMs() - m_startMs);
}

void FrameProfiler::EndFrame(int64_t showTimeMs, int32_t scene) {
  if (!m_inFrame) return;
  ClosePass();
  m_inFrame = false;
  AddCpuSection("layer", platform::d3d11::TakeLayerMilliseconds());
  if (m_useQueries) {
    // Waits for the frame's queries: a profiling run measures, it does not need to overlap.
    for (Pass& pass : m_passes) {
      GLuint64 nanoseconds = 0;
      glGetQueryObjectui64v(pass.query, GL_QUERY_RESULT, &nanoseconds);
      pass.gpuMs = static_cast<double>(nanoseconds) / 1e6;
    }
  }
  const double frameMs = MillisecondsBetween(m_frameStart, Clock::now());
  const double cpuMs = ThreadCpuMs() - m_frameCpuStart;
  if (m_file == nullptr) return;
  // The first frame drawn ends the start-up: launch to here, loading and compiling included.
  if (m_frames == 0) std::fprintf(m_file, "startup\t%.0f\n", ProcessAgeMs());
  std::fprintf(m_file, "frame\t%llu\t%lld\t%d\t%.3f\t%.3f", static_cast<unsigned long long>(m_frames),
               static_cast<long long>(showTimeMs), scene, frameMs, cpuMs);
  for (const Pass& pass : m_passes) std::fprintf(m_file, "\t%s=%.3f/%.3f", pass.name.c_str(), pass.gpuMs, pass.cpuMs);
  for (const Section& section : m_sections) std::fprintf(m_file, "\tcpu:%s=%.3f", section.name.c_str(), section.milliseconds);
  std::fputc('\n', m_file);
  ++m_frames;
}
