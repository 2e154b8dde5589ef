#include "sound/MusicLevels.h"

#include <algorithm>
#include <cstring>

#include "app/DataDirectory.h"

namespace {

constexpr int kChannels = 2;
constexpr uint32_t kChunkFrames = 4096;

}  // namespace

MusicLevels::~MusicLevels() {
  if (m_stream) platform::BASS_StreamFree(m_stream);
}

bool MusicLevels::Open(int64_t from) {
  m_stream = platform::BASS_StreamCreateFile(false, DataPath("music.mp3").c_str(), 0, 0,
                                             BASS_UNICODE | BASS_STREAM_DECODE);
  if (!m_stream) return false;
  m_firstFrame = FrameAt(std::max<int64_t>(0, from)) - Sound::kSampleCount / kChannels;
  if (m_firstFrame < 0) m_firstFrame = 0;
  platform::BASS_ChannelSetPosition(m_stream, static_cast<uint64_t>(m_firstFrame) * kChannels * sizeof(float), BASS_POS_BYTE);
  m_framesRead = m_firstFrame;
  m_chunk.resize(static_cast<size_t>(kChunkFrames) * kChannels);
  return true;
}

int64_t MusicLevels::FrameAt(int64_t t) const {
  return static_cast<int64_t>(platform::BASS_ChannelSeconds2Bytes(m_stream, static_cast<double>(t) / 1000.0) /
                              (kChannels * sizeof(float)));
}

float MusicLevels::PeakAt(int64_t t) {
  if (!m_stream) return 0.0f;
  constexpr int kBlockFloats = Sound::kSampleCount;
  int64_t wanted = FrameAt(t) - m_framesRead;
  while (wanted > 0) {
    const auto frames = static_cast<uint32_t>(std::min<int64_t>(wanted, kChunkFrames));
    const int32_t bytes = platform::BASS_ChannelGetData(m_stream, m_chunk.data(),
                                                        BASS_DATA_FLOAT | (frames * kChannels * sizeof(float)));
    if (bytes <= 0) break;
    const int floats = bytes / static_cast<int>(sizeof(float));
    // Keep the newest kBlockFloats of block + chunk.
    if (floats >= kBlockFloats) {
      std::memcpy(m_block, m_chunk.data() + (floats - kBlockFloats), sizeof(m_block));
    } else {
      std::memmove(m_block, m_block + floats, sizeof(float) * static_cast<size_t>(kBlockFloats - floats));
      std::memcpy(m_block + (kBlockFloats - floats), m_chunk.data(), sizeof(float) * static_cast<size_t>(floats));
    }
    m_framesRead += floats / kChannels;
    wanted -= floats / kChannels;
  }
  return LargestSample(m_block, kBlockFloats);
}
