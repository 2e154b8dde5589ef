#include "platform/audio_stream.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>

namespace platform {

AudioStream::~AudioStream() { Close(); }

bool AudioStream::Open(const std::string& file, uint32_t frequency) {
  Close();
  int error = MPG123_OK;
  m_decoder = mpg123_new(nullptr, &error);
  if (!m_decoder) return false;
  mpg123_param(m_decoder, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
  // One fixed output format: mono is spread to both channels, other rates are resampled.
  mpg123_format_none(m_decoder);
  long rate = 0;
  int channels = 0;
  int encoding = 0;
  if (mpg123_format(m_decoder, static_cast<long>(frequency), MPG123_STEREO, MPG123_ENC_FLOAT_32) != MPG123_OK ||
      mpg123_open(m_decoder, file.c_str()) != MPG123_OK ||
      mpg123_getformat(m_decoder, &rate, &channels, &encoding) != MPG123_OK || rate != static_cast<long>(frequency) ||
      channels != kChannels || encoding != MPG123_ENC_FLOAT_32) {
    Close();
    return false;
  }
  m_ring.assign(static_cast<size_t>(kRingFrames) * kChannels, 0.0f);
  m_scratch.assign(static_cast<size_t>(kScratchFrames) * kChannels, 0.0f);  // no allocation on the audio thread
  m_framesOutput = 0;
  m_musicFrame = 0;
  m_finished = false;
  return true;
}

void AudioStream::Close() {
  if (m_decoder) {
    mpg123_close(m_decoder);
    mpg123_delete(m_decoder);
  }
  m_decoder = nullptr;
  m_finished = true;
  playing = false;
}

bool AudioStream::Rewind() {
  if (!m_decoder || mpg123_seek(m_decoder, 0, SEEK_SET) < 0) return false;
  m_musicFrame = 0;
  m_finished = false;
  return true;
}

bool AudioStream::Seek(uint64_t frame) {
  if (!m_decoder) return false;
  const off_t reached = mpg123_seek(m_decoder, static_cast<off_t>(frame), SEEK_SET);
  if (reached < 0) return false;
  // Beyond the end mpg123 stops at the last frame; the music is then over.
  m_finished = static_cast<uint64_t>(reached) < frame;
  m_musicFrame = static_cast<uint64_t>(reached);
  return true;
}

uint32_t AudioStream::Decode(float* destination, uint32_t frames) {
  uint32_t decoded = 0;
  while (decoded < frames && !m_finished) {
    size_t bytes = 0;
    const size_t wanted = static_cast<size_t>(frames - decoded) * kChannels * sizeof(float);
    const int result =
        mpg123_read(m_decoder, reinterpret_cast<unsigned char*>(destination + decoded * kChannels), wanted, &bytes);
    const auto got = static_cast<uint32_t>(bytes / (kChannels * sizeof(float)));
    decoded += got;
    m_musicFrame += got;
    if (result == MPG123_NEW_FORMAT) continue;
    // The end, or a damage the decoder cannot step over: the music is over.
    if (result != MPG123_OK || bytes == 0) m_finished = true;
  }
  return decoded;
}

void AudioStream::Produce(uint32_t frames) {
  const uint32_t decoded = m_decoder ? Decode(m_scratch.data(), frames) : 0;
  std::fill(m_scratch.begin() + static_cast<std::ptrdiff_t>(decoded) * kChannels,
            m_scratch.begin() + static_cast<std::ptrdiff_t>(frames) * kChannels, 0.0f);
  for (uint32_t frame = 0; frame < frames; ++frame) {
    const size_t slot = static_cast<size_t>((m_framesOutput + frame) % kRingFrames) * kChannels;
    m_ring[slot] = m_scratch[static_cast<size_t>(frame) * kChannels];
    m_ring[slot + 1] = m_scratch[static_cast<size_t>(frame) * kChannels + 1];
  }
  m_framesOutput += frames;
}

void AudioStream::Render(float* out, uint32_t frames) {
  if (m_ring.empty()) return;
  while (frames > 0) {
    const uint32_t piece = std::min(frames, kScratchFrames);
    Produce(piece);
    for (size_t i = 0; i < static_cast<size_t>(piece) * kChannels; ++i) out[i] += m_scratch[i];
    out += static_cast<size_t>(piece) * kChannels;
    frames -= piece;
  }
}

void AudioStream::Skip(uint64_t frames) {
  if (m_ring.empty()) return;
  while (frames > 0) {
    const auto piece = static_cast<uint32_t>(std::min<uint64_t>(frames, kScratchFrames));
    Produce(piece);
    frames -= piece;
  }
}

void AudioStream::CopyOutput(uint64_t endFrame, float* destination, uint32_t count) const {
  const uint64_t totalFloats = endFrame * kChannels;
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t back = count - i;
    if (back > totalFloats || m_ring.empty()) {
      destination[i] = 0.0f;
      continue;
    }
    const uint64_t index = totalFloats - back;
    destination[i] = m_ring[static_cast<size_t>(index % (static_cast<uint64_t>(kRingFrames) * kChannels))];
  }
}

}  // namespace platform
