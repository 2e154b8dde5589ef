#include "app/VideoProgress.h"

#include <unistd.h>

#include <cmath>

namespace {

constexpr int kBarWidth = 20;
// A terminal is redrawn at most this often; more only costs time.
constexpr double kRedrawSeconds = 0.1;

double FramesPerSecond(const ProgressState& state) {
  return state.seconds > 0.0 ? static_cast<double>(state.done) / state.seconds : 0.0;
}

// "0:04 left", or "" until a speed is known.
std::string TimeLeft(const ProgressState& state) {
  const double fps = FramesPerSecond(state);
  if (fps <= 0.0) return "";
  const auto seconds = static_cast<int64_t>(std::ceil(static_cast<double>(state.total - state.done) / fps));
  char text[48];
  if (seconds >= 3600) {
    std::snprintf(text, sizeof(text), "%lld:%02lld:%02lld left", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  } else {
    std::snprintf(text, sizeof(text), "%lld:%02lld left", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
  }
  return text;
}

int Tenths(int64_t done, int64_t total) { return total > 0 ? static_cast<int>(done * 10 / total) : 10; }

}  // namespace

std::string FormatShowTime(int64_t milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  const int64_t seconds = milliseconds / 1000;
  char text[32];
  if (seconds >= 3600) {
    std::snprintf(text, sizeof(text), "%lld:%02lld:%02lld.%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60),
                  static_cast<long long>(milliseconds % 1000 / 10));
  } else {
    std::snprintf(text, sizeof(text), "%lld:%02lld.%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60), static_cast<long long>(milliseconds % 1000 / 10));
  }
  return text;
}

std::string ProgressBarText(const ProgressState& state) {
  const int filled = state.total > 0 ? static_cast<int>(state.done * kBarWidth / state.total) : kBarWidth;
  std::string text = "[" + std::string(static_cast<size_t>(filled), '#') +
                     std::string(static_cast<size_t>(kBarWidth - filled), '-') + "]";
  char numbers[96];
  std::snprintf(numbers, sizeof(numbers), "  %lld/%lld frames  show %s  %.1f fps", static_cast<long long>(state.done),
                static_cast<long long>(state.total), FormatShowTime(state.showTime).c_str(), FramesPerSecond(state));
  text += numbers;
  const std::string left = TimeLeft(state);
  if (!left.empty()) text += "  " + left;
  return text;
}

std::string ProgressLineText(const ProgressState& state) {
  const int64_t percent = state.total > 0 ? state.done * 100 / state.total : 100;
  char text[128];
  std::snprintf(text, sizeof(text), "video: %lld %% (%lld of %lld frames, show time %s, %.1f fps",
                static_cast<long long>(percent), static_cast<long long>(state.done),
                static_cast<long long>(state.total), FormatShowTime(state.showTime).c_str(), FramesPerSecond(state));
  std::string line = text;
  const std::string left = TimeLeft(state);
  if (!left.empty() && state.done < state.total) line += ", " + left;
  return line + ")";
}

ProgressStyle VideoProgress::StyleFor(bool quiet, FILE* out) {
  if (quiet || out == nullptr) return ProgressStyle::Quiet;
  return isatty(fileno(out)) ? ProgressStyle::Bar : ProgressStyle::Lines;
}

void VideoProgress::Create(ProgressStyle style, int64_t totalFrames, FILE* out) {
  m_style = out ? style : ProgressStyle::Quiet;
  m_out = out;
  m_total = totalFrames;
  m_tenthsShown = 0;
  m_lastDrawn = -1.0;
}

void VideoProgress::Update(const ProgressState& state) {
  if (m_style == ProgressStyle::Bar) {
    if (m_lastDrawn >= 0.0 && state.seconds - m_lastDrawn < kRedrawSeconds && state.done < state.total) return;
    m_lastDrawn = state.seconds;
    // Back to the start of the line, then clear what a longer line left behind.
    std::fprintf(m_out, "\r%s\x1b[K", ProgressBarText(state).c_str());
    std::fflush(m_out);
  } else if (m_style == ProgressStyle::Lines) {
    const int tenths = Tenths(state.done, state.total);
    if (tenths <= m_tenthsShown) return;
    m_tenthsShown = tenths;
    std::fprintf(m_out, "%s\n", ProgressLineText(state).c_str());
    std::fflush(m_out);
  }
}

void VideoProgress::Finish(const ProgressState& state) {
  if (m_style == ProgressStyle::Bar) {
    m_lastDrawn = -1.0;
    Update(state);
    std::fputc('\n', m_out);
    std::fflush(m_out);
  } else if (m_style == ProgressStyle::Lines) {
    Update(state);
  }
}

void VideoProgress::Abandon() {
  if (m_style == ProgressStyle::Bar && m_lastDrawn >= 0.0) {
    std::fputc('\n', m_out);
    std::fflush(m_out);
  }
  m_style = ProgressStyle::Quiet;
}
