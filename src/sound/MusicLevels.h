#pragma once
// The music level a frame would read at any later show time, from a decoding of the music that
// is never heard. Starting the show later replays the frames before the start with it, so what
// turns with the level stands where a run from 0 would have left it.
#include <cstdint>
#include <vector>

#include "platform/audio.h"
#include "sound/Sound.h"

class MusicLevels {
 public:
  MusicLevels() = default;
  ~MusicLevels();
  MusicLevels(const MusicLevels&) = delete;
  MusicLevels& operator=(const MusicLevels&) = delete;

  // Opens "music.mp3" of the data directory at show time from. False without an output (the
  // show then runs silent and its level stays 0) or without the file.
  bool Open(int64_t from);
  // The peak of the Sound's block that ends at show time t, which may not go back before the
  // last time asked for; 0 when nothing is open.
  float PeakAt(int64_t t);

 private:
  int64_t FrameAt(int64_t t) const;

  HSTREAM m_stream = 0;
  int64_t m_framesRead = 0;
  int64_t m_firstFrame = 0;
  // The last Sound::kSampleCount floats read, oldest first.
  float m_block[Sound::kSampleCount] = {};
  std::vector<float> m_chunk;
};
