#include "sound/Sound.h"

#include "app/DataDirectory.h"

bool Sound::Create() {
  const std::string file = DataPath("music.mp3");
  // Without a device the stream cannot be created either; every later call then fails quietly.
  platform::BASS_Init(-1, kFrequency, 0, nullptr, nullptr);
  stream = platform::BASS_StreamCreateFile(false, file.c_str(), 0, 0, BASS_UNICODE);
  return true;
}

bool Sound::Update() {
  // A failed read leaves the previous block in place.
  platform::BASS_ChannelGetData(stream, samples, BASS_DATA_FLOAT | (kSampleCount * sizeof(float)));
  peak = LargestSample(samples, kSampleCount);
  return true;
}

bool Sound::SetPosition(int64_t milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  return platform::BASS_ChannelSetPosition(
      stream, platform::BASS_ChannelSeconds2Bytes(stream, static_cast<double>(milliseconds) / 1000.0), BASS_POS_BYTE);
}

bool Sound::Pause() { return platform::BASS_ChannelPause(stream); }

bool Sound::Resume() { return platform::BASS_ChannelPlay(stream, false); }

int64_t Sound::PositionFrames() const {
  const uint64_t bytes = platform::BASS_ChannelGetPosition(stream, BASS_POS_BYTE);
  if (bytes == UINT64_MAX) return -1;
  return static_cast<int64_t>(bytes / (2 * sizeof(float)));
}

float LargestSample(const float* samples, int count) {
  float largest = 0.0f;
  for (int i = 0; i < count; ++i) {
    if (samples[i] > largest) largest = samples[i];
  }
  return largest;
}
