#include "Loudness.h"

#include <cmath>
#include <vector>

namespace music {
namespace {

struct Biquad {
  double b0, b1, b2, a1, a2;
  double z1 = 0.0, z2 = 0.0;
  double Process(double x) {
    const double y = b0 * x + z1;
    z1 = b1 * x - a1 * y + z2;
    z2 = b2 * x - a2 * y;
    return y;
  }
};

// The two K-weighting stages designed for the actual rate from their analogue prototypes.
Biquad HighShelf() {
  const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
  const double k = std::tan(M_PI * f0 / kSampleRate);
  const double vh = std::pow(10.0, gainDb / 20.0);
  const double vb = std::pow(vh, 0.4996667741545416);
  const double a0 = 1.0 + k / q + k * k;
  return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
          2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

Biquad HighPass() {
  const double f0 = 38.13547087602444, q = 0.5003270373238773;
  const double k = std::tan(M_PI * f0 / kSampleRate);
  const double a0 = 1.0 + k / q + k * k;
  return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

std::vector<double> WeightedSquares(const StereoBuffer& buffer) {
  std::vector<double> squares(buffer.Frames(), 0.0);
  for (const std::vector<float>* channel : {&buffer.left, &buffer.right}) {
    Biquad shelf = HighShelf();
    Biquad highPass = HighPass();
    for (std::size_t i = 0; i < channel->size(); ++i) {
      const double y = highPass.Process(shelf.Process((*channel)[i]));
      squares[i] += y * y;
    }
  }
  return squares;
}

constexpr std::size_t kBlock = kSampleRate * 4 / 10;
constexpr std::size_t kHop = kBlock / 4;

double ToLufs(double meanSquare) { return -0.691 + 10.0 * std::log10(std::max(meanSquare, 1e-12)); }

}  // namespace

double IntegratedLoudness(const StereoBuffer& buffer) {
  const std::vector<double> squares = WeightedSquares(buffer);
  std::vector<double> blocks;
  for (std::size_t start = 0; start + kBlock <= squares.size(); start += kHop) {
    double sum = 0.0;
    for (std::size_t i = start; i < start + kBlock; ++i) sum += squares[i];
    blocks.push_back(sum / kBlock);
  }
  double sum = 0.0;
  std::size_t count = 0;
  for (double block : blocks) {
    if (ToLufs(block) > -70.0) {
      sum += block;
      ++count;
    }
  }
  if (count == 0) return -70.0;
  const double relativeGate = ToLufs(sum / count) - 10.0;
  sum = 0.0;
  count = 0;
  for (double block : blocks) {
    if (ToLufs(block) > -70.0 && ToLufs(block) > relativeGate) {
      sum += block;
      ++count;
    }
  }
  return count == 0 ? -70.0 : ToLufs(sum / count);
}

double MomentaryLoudness(const StereoBuffer& buffer, std::size_t frame) {
  // The filters need a run-in; start them 100 ms early where possible.
  const std::size_t runIn = std::min<std::size_t>(frame, kSampleRate / 10);
  StereoBuffer part(0);
  const std::size_t end = std::min(buffer.Frames(), frame + kBlock);
  if (frame >= end) return -70.0;
  part.left.assign(buffer.left.begin() + (frame - runIn), buffer.left.begin() + end);
  part.right.assign(buffer.right.begin() + (frame - runIn), buffer.right.begin() + end);
  const std::vector<double> squares = WeightedSquares(part);
  double sum = 0.0;
  for (std::size_t i = runIn; i < squares.size(); ++i) sum += squares[i];
  return ToLufs(sum / static_cast<double>(squares.size() - runIn));
}

}  // namespace music
