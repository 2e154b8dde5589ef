#pragma once
// Stereo float audio at the score's fixed rate, two separate channels.
#include <cstddef>
#include <vector>

namespace music {

inline constexpr int kSampleRate = 44100;

inline constexpr std::size_t SampleAt(double milliseconds) {
  return milliseconds <= 0.0 ? 0 : static_cast<std::size_t>(milliseconds * kSampleRate / 1000.0 + 0.5);
}

struct StereoBuffer {
  std::vector<float> left;
  std::vector<float> right;

  explicit StereoBuffer(std::size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
  std::size_t Frames() const { return left.size(); }

  // Adds a sample at `frame` with an equal-power pan (-1 left … +1 right); ignores frames
  // past the end, so voices may ring out beyond the piece.
  void AddPanned(std::size_t frame, float value, float pan);
  void Add(std::size_t frame, float l, float r) {
    if (frame < left.size()) {
      left[frame] += l;
      right[frame] += r;
    }
  }
  void Mix(const StereoBuffer& other, float gain);
  void Scale(float gain);
};

// Decaying filters and reverbs sink into denormal numbers, which the CPU handles a hundred
// times slower; the render flushes them to zero (this thread only).
void FlushDenormalsToZero();

}  // namespace music
