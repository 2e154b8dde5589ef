#include "Dynamics.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "Envelope.h"

namespace music {

float DecibelsToGain(float decibels) { return std::pow(10.0f, decibels / 20.0f); }
float GainToDecibels(float gain) { return 20.0f * std::log10(std::max(gain, 1e-9f)); }

void Compress(StereoBuffer& buffer, const CompressorSettings& settings) {
  const float attack = SegmentCoefficient(settings.attackSeconds);
  const float release = SegmentCoefficient(settings.releaseSeconds);
  const float halfKnee = settings.kneeDb * 0.5f;
  const float slope = 1.0f - 1.0f / settings.ratio;
  float levelDb = -120.0f;
  for (std::size_t i = 0; i < buffer.Frames(); ++i) {
    const float peakDb = GainToDecibels(std::max(std::fabs(buffer.left[i]), std::fabs(buffer.right[i])));
    const float coefficient = peakDb > levelDb ? attack : release;
    levelDb = peakDb + (levelDb - peakDb) * coefficient;
    const float over = levelDb - settings.thresholdDb;
    float reductionDb = 0.0f;
    if (over > halfKnee) {
      reductionDb = over * slope;
    } else if (over > -halfKnee) {
      const float x = over + halfKnee;
      reductionDb = slope * x * x / (2.0f * settings.kneeDb);
    }
    const float gain = DecibelsToGain(-reductionDb);
    buffer.left[i] *= gain;
    buffer.right[i] *= gain;
  }
}

void Limit(StereoBuffer& buffer, float ceiling, float lookAheadSeconds, float releaseSeconds) {
  const std::size_t frames = buffer.Frames();
  const std::size_t window = std::max<std::size_t>(1, static_cast<std::size_t>(lookAheadSeconds * kSampleRate));
  // Needed gain per frame, padded with the window so the tail is handled.
  std::vector<double> needed(frames + window, 1.0);
  for (std::size_t i = 0; i < frames; ++i) {
    const double peak = std::max(std::fabs(buffer.left[i]), std::fabs(buffer.right[i]));
    if (peak > ceiling) needed[i] = ceiling / peak;
  }
  // held[n] = min(needed[n - window + 1 … n]), via a monotonic queue of indices.
  // released[n] ≤ held[n], recovering towards 1 with the release time.
  // gain[n] = mean(released[n - window + 1 … n]) ≤ needed[n - window + 1], so the frame
  // n - window + 1 is scaled by gain[n].
  const double recover = 1.0 - SegmentCoefficient(releaseSeconds);
  std::deque<std::size_t> minimum;
  std::vector<double> released(needed.size(), 1.0);
  double previous = 1.0;
  double sum = 0.0;
  for (std::size_t n = 0; n < needed.size(); ++n) {
    while (!minimum.empty() && needed[minimum.back()] >= needed[n]) minimum.pop_back();
    minimum.push_back(n);
    if (minimum.front() + window <= n) minimum.pop_front();
    const double held = needed[minimum.front()];
    previous = std::min(held, previous + (1.0 - previous) * recover);
    released[n] = previous;
    sum += previous;
    if (n >= window) sum -= released[n - window];
    if (n + 1 >= window) {
      const std::size_t target = n + 1 - window;
      if (target < frames) {
        // Recomputing the mean exactly every so often keeps rounding from creeping upwards.
        if (n % 4096 == 0) {
          sum = 0.0;
          for (std::size_t k = n + 1 - window; k <= n; ++k) sum += released[k];
        }
        const double gain = std::min(sum / static_cast<double>(window), needed[target]);
        buffer.left[target] = static_cast<float>(buffer.left[target] * gain);
        buffer.right[target] = static_cast<float>(buffer.right[target] * gain);
      }
    }
  }
}

}  // namespace music
