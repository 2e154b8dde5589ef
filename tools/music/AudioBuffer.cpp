#include "AudioBuffer.h"

#include <algorithm>
#include <cmath>
#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace music {

void StereoBuffer::AddPanned(std::size_t frame, float value, float pan) {
  if (frame >= left.size()) return;
  const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * 3.14159265f;
  left[frame] += value * std::cos(angle) * 1.41421356f;
  right[frame] += value * std::sin(angle) * 1.41421356f;
}

void StereoBuffer::Mix(const StereoBuffer& other, float gain) {
  const std::size_t n = std::min(Frames(), other.Frames());
  for (std::size_t i = 0; i < n; ++i) {
    left[i] += other.left[i] * gain;
    right[i] += other.right[i] * gain;
  }
}

void StereoBuffer::Scale(float gain) {
  for (float& v : left) v *= gain;
  for (float& v : right) v *= gain;
}

void FlushDenormalsToZero() {
#if defined(__SSE__)
  // Flush-to-zero and denormals-are-zero.
  _mm_setcsr(_mm_getcsr() | 0x8040);
#endif
}

}  // namespace music
