#include "Mp3TestFile.h"

#include <gtest/gtest.h>
#include <lame/lame.h>

#include <algorithm>
#include <fstream>
#include <vector>

void WriteMp3(const std::filesystem::path& path, double seconds, int rate, const std::function<float(double)>& left,
              const std::function<float(double)>& right) {
  const int channels = right ? 2 : 1;
  const auto frames = static_cast<int>(seconds * rate);
  std::vector<float> pcm(static_cast<size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    pcm[static_cast<size_t>(i) * channels] = left(t);
    if (right) pcm[static_cast<size_t>(i) * channels + 1] = right(t);
  }

  lame_global_flags* lame = lame_init();
  ASSERT_NE(lame, nullptr);
  lame_set_in_samplerate(lame, rate);
  lame_set_out_samplerate(lame, rate);
  lame_set_num_channels(lame, channels);
  lame_set_mode(lame, channels == 2 ? STEREO : MONO);
  lame_set_VBR(lame, vbr_off);
  lame_set_brate(lame, 192);
  lame_set_quality(lame, 5);
  ASSERT_EQ(lame_init_params(lame), 0);

  std::vector<unsigned char> mp3(static_cast<size_t>(1.25 * frames + 7200) * 2);
  int size = channels == 2
                 ? lame_encode_buffer_interleaved_ieee_float(lame, pcm.data(), frames, mp3.data(), static_cast<int>(mp3.size()))
                 : lame_encode_buffer_ieee_float(lame, pcm.data(), pcm.data(), frames, mp3.data(), static_cast<int>(mp3.size()));
  ASSERT_GE(size, 0);
  const int flushed = lame_encode_flush(lame, mp3.data() + size, static_cast<int>(mp3.size()) - size);
  ASSERT_GE(flushed, 0);
  size += flushed;
  // The first frame was left blank for the LAME tag; with it the decoder trims the encoder's delay
  // and padding, so sample n of the file is sample n of the signal.
  unsigned char tag[2880];
  const size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof(tag));
  ASSERT_GT(tagSize, 0u);
  ASSERT_LE(tagSize, static_cast<size_t>(size));
  std::copy(tag, tag + tagSize, mp3.begin());
  lame_close(lame);

  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(mp3.data()), size);
  ASSERT_TRUE(out.good());
}
