#include "Mp3Encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace music {

bool EncodeMp3(const StereoBuffer& audio, const Mp3Settings& settings, std::vector<std::uint8_t>& mp3) {
  mp3.clear();
  lame_global_flags* flags = lame_init();
  if (!flags) return false;
  lame_set_in_samplerate(flags, kSampleRate);
  lame_set_out_samplerate(flags, kSampleRate);
  lame_set_num_channels(flags, 2);
  lame_set_mode(flags, JOINT_STEREO);
  lame_set_VBR(flags, vbr_off);
  lame_set_brate(flags, settings.kilobitsPerSecond);
  lame_set_quality(flags, settings.quality);
  lame_set_bWriteVbrTag(flags, 1);
  lame_set_write_id3tag_automatic(flags, 0);
  if (lame_init_params(flags) < 0) {
    std::fprintf(stderr, "lame_init_params failed\n");
    lame_close(flags);
    return false;
  }

  constexpr int kChunk = 8192;
  std::vector<unsigned char> chunk(static_cast<std::size_t>(1.25 * kChunk + 7200));
  bool ok = true;
  for (std::size_t start = 0; start < audio.Frames() && ok; start += kChunk) {
    const int count = static_cast<int>(std::min<std::size_t>(kChunk, audio.Frames() - start));
    const int bytes = lame_encode_buffer_ieee_float(flags, audio.left.data() + start, audio.right.data() + start,
                                                    count, chunk.data(), static_cast<int>(chunk.size()));
    if (bytes < 0) {
      std::fprintf(stderr, "lame_encode_buffer_ieee_float failed: %d\n", bytes);
      ok = false;
      break;
    }
    mp3.insert(mp3.end(), chunk.begin(), chunk.begin() + bytes);
  }
  if (ok) {
    const int bytes = lame_encode_flush(flags, chunk.data(), static_cast<int>(chunk.size()));
    if (bytes < 0) {
      ok = false;
    } else {
      mp3.insert(mp3.end(), chunk.begin(), chunk.begin() + bytes);
    }
  }
  if (ok) {
    // The first frame was reserved for the tag; now that delay and padding are known, fill it.
    unsigned char tag[4096];
    const std::size_t tagBytes = lame_get_lametag_frame(flags, tag, sizeof tag);
    if (tagBytes == 0 || tagBytes > sizeof tag || tagBytes > mp3.size()) {
      std::fprintf(stderr, "no LAME tag frame\n");
      ok = false;
    } else {
      std::memcpy(mp3.data(), tag, tagBytes);
    }
  }
  lame_close(flags);
  if (!ok) mp3.clear();
  return ok;
}

}  // namespace music
