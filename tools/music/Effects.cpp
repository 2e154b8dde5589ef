#include "Effects.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "Filter.h"

namespace music {
namespace {

class Comb {
 public:
  Comb(std::size_t length, float feedback, float dampingHz) : m_buffer(length, 0.0f), m_feedback(feedback) {
    m_damping.Set(dampingHz);
  }
  float Process(float input) {
    const float out = m_buffer[m_index];
    m_buffer[m_index] = input + m_damping.LowPass(out) * m_feedback;
    if (++m_index == m_buffer.size()) m_index = 0;
    return out;
  }

 private:
  std::vector<float> m_buffer;
  std::size_t m_index = 0;
  float m_feedback;
  OnePole m_damping;
};

class AllPass {
 public:
  explicit AllPass(std::size_t length) : m_buffer(length, 0.0f) {}
  float Process(float input) {
    const float delayed = m_buffer[m_index];
    const float out = delayed - input;
    m_buffer[m_index] = input + delayed * 0.5f;
    if (++m_index == m_buffer.size()) m_index = 0;
    return out;
  }

 private:
  std::vector<float> m_buffer;
  std::size_t m_index = 0;
};

// Comb and all-pass lengths in samples at 44.1 kHz; mutually prime so the echoes smear.
constexpr std::array<std::size_t, 8> kCombLengths = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<std::size_t, 4> kAllPassLengths = {556, 441, 341, 225};
constexpr std::size_t kStereoSpread = 23;

void ReverbChannel(const std::vector<float>& in, std::vector<float>& out, std::size_t spread, float roomSize,
                   float dampingHz, float wet) {
  std::vector<Comb> combs;
  for (std::size_t length : kCombLengths) combs.emplace_back(length + spread, roomSize, dampingHz);
  std::vector<AllPass> allPasses;
  for (std::size_t length : kAllPassLengths) allPasses.emplace_back(length + spread);
  const std::size_t n = std::min(in.size(), out.size());
  for (std::size_t i = 0; i < n; ++i) {
    const float input = in[i] * 0.015f;
    float sum = 0.0f;
    for (Comb& comb : combs) sum += comb.Process(input);
    for (AllPass& allPass : allPasses) sum = allPass.Process(sum);
    out[i] += sum * wet;
  }
}

}  // namespace

void ApplyPingPongDelay(const StereoBuffer& send, StereoBuffer& out, float delaySeconds, float feedback,
                        float dampingHz) {
  const std::size_t length = std::max<std::size_t>(1, static_cast<std::size_t>(delaySeconds * kSampleRate));
  std::vector<float> lineLeft(length, 0.0f), lineRight(length, 0.0f);
  OnePole dampLeft, dampRight;
  dampLeft.Set(dampingHz);
  dampRight.Set(dampingHz);
  std::size_t index = 0;
  const std::size_t n = std::min(send.Frames(), out.Frames());
  for (std::size_t i = 0; i < n; ++i) {
    const float echoLeft = lineLeft[index];
    const float echoRight = lineRight[index];
    // The mono sum enters on the left; each channel feeds the other.
    lineLeft[index] = 0.5f * (send.left[i] + send.right[i]) + dampRight.LowPass(echoRight) * feedback;
    lineRight[index] = dampLeft.LowPass(echoLeft) * feedback;
    out.left[i] += echoLeft;
    out.right[i] += echoRight;
    if (++index == length) index = 0;
  }
}

void ApplyReverb(const StereoBuffer& send, StereoBuffer& out, float roomSize, float dampingHz, float wet) {
  ReverbChannel(send.left, out.left, 0, roomSize, dampingHz, wet);
  ReverbChannel(send.right, out.right, kStereoSpread, roomSize, dampingHz, wet);
}

}  // namespace music
