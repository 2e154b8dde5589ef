#include <gtest/gtest.h>
#include <mpg123.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "Mp3Encoder.h"

namespace music {
namespace {

// Decodes with libmpg123's default settings, as the show's player does, to interleaved floats.
bool Decode(const std::vector<std::uint8_t>& mp3, std::vector<float>& interleaved) {
  mpg123_handle* handle = mpg123_new(nullptr, nullptr);
  if (!handle) return false;
  mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
  mpg123_format_none(handle);
  mpg123_format(handle, kSampleRate, MPG123_STEREO, MPG123_ENC_FLOAT_32);
  bool ok = mpg123_open_feed(handle) == MPG123_OK;
  std::vector<unsigned char> out(1 << 16);
  std::size_t done = 0;
  int result = ok ? mpg123_decode(handle, mp3.data(), mp3.size(), out.data(), out.size(), &done) : MPG123_ERR;
  while (ok) {
    const std::size_t floats = done / sizeof(float);
    const std::size_t before = interleaved.size();
    interleaved.resize(before + floats);
    std::memcpy(interleaved.data() + before, out.data(), floats * sizeof(float));
    if (result == MPG123_NEED_MORE || result == MPG123_DONE) break;
    if (result != MPG123_OK && result != MPG123_NEW_FORMAT) ok = false;
    if (ok) result = mpg123_decode(handle, nullptr, 0, out.data(), out.size(), &done);
  }
  mpg123_delete(handle);
  return ok;
}

std::size_t LoudestFrame(const std::vector<float>& interleaved, std::size_t from, std::size_t to) {
  std::size_t best = from;
  for (std::size_t frame = from; frame < to && 2 * frame + 1 < interleaved.size(); ++frame) {
    if (std::fabs(interleaved[2 * frame]) > std::fabs(interleaved[2 * best])) best = frame;
  }
  return best;
}

constexpr std::size_t kTwoMilliseconds = kSampleRate * 2 / 1000;

TEST(Mp3Encoder, AClickAtSampleZeroDecodesAtSampleZero) {
  StereoBuffer audio(kSampleRate * 2);
  // Short clicks: at the very first sample, and a second one a second later.
  for (std::size_t start : {std::size_t{0}, std::size_t{kSampleRate}}) {
    for (std::size_t i = 0; i < 8; ++i) audio.left[start + i] = audio.right[start + i] = 0.8f * (1.0f - i / 8.0f);
  }
  std::vector<std::uint8_t> mp3;
  ASSERT_TRUE(EncodeMp3(audio, Mp3Settings{}, mp3));
  ASSERT_GT(mp3.size(), 4u);
  EXPECT_EQ(mp3[0], 0xFF);  // no ID3 tag in front: the first byte is the frame sync
  EXPECT_EQ(mp3[1] & 0xE0, 0xE0);

  std::vector<float> decoded;
  ASSERT_TRUE(Decode(mp3, decoded));
  ASSERT_GE(decoded.size(), 2 * audio.Frames() - 2 * kTwoMilliseconds);
  EXPECT_LE(LoudestFrame(decoded, 0, kSampleRate / 2), kTwoMilliseconds);
  const std::size_t second = LoudestFrame(decoded, kSampleRate / 2, kSampleRate + kSampleRate / 2);
  EXPECT_NEAR(static_cast<double>(second), static_cast<double>(kSampleRate), static_cast<double>(kTwoMilliseconds));
  // The padding at the end is trimmed too: the decoded length is the encoded one.
  EXPECT_NEAR(static_cast<double>(decoded.size() / 2), static_cast<double>(audio.Frames()),
              static_cast<double>(kTwoMilliseconds));
}

TEST(Mp3Encoder, WritesConstantBitRateAtTheRequestedRate) {
  StereoBuffer audio(kSampleRate * 4);
  std::vector<std::uint8_t> mp3;
  ASSERT_TRUE(EncodeMp3(audio, Mp3Settings{}, mp3));
  // 192 kbit/s for four seconds, give or take the tag frame and the last partial frame.
  EXPECT_NEAR(static_cast<double>(mp3.size()), 192000.0 / 8.0 * 4.0, 2000.0);
  // The first frame carries the "Info" tag (CBR) with the delay and padding.
  const std::string head(mp3.begin(), mp3.begin() + 200);
  EXPECT_NE(head.find("Info"), std::string::npos);
}

}  // namespace
}  // namespace music
