#pragma once
// One MP3 stream of the audio layer: decodes in small steps as the output asks for samples and
// remembers the most recent output in a ring. Render runs on the audio thread; everything else
// runs on the main thread while the audio device is locked.
#include <cstdint>
#include <string>
#include <vector>

struct mpg123_handle_struct;

namespace platform {

class AudioStream {
 public:
  static constexpr int kChannels = 2;
  // Frames the ring keeps: far more than one read needs, so the audio thread never overtakes it.
  static constexpr uint32_t kRingFrames = 16384;

  AudioStream() = default;
  ~AudioStream();
  AudioStream(const AudioStream&) = delete;
  AudioStream& operator=(const AudioStream&) = delete;

  // Opens file for decoding to interleaved stereo float at frequency. False when the file is
  // missing or holds no MP3 frames.
  bool Open(const std::string& file, uint32_t frequency);
  void Close();
  bool Rewind();
  // The next decoded frame is this one of the music; past the end the stream is finished.
  bool Seek(uint64_t frame);

  // Adds the next frames of the stream to out (stereo float) and records them in the ring;
  // past the end of the music the stream contributes silence.
  void Render(float* out, uint32_t frames);
  // Moves the stream on by frames without sending them to the output, after the output
  // stalled; the ring still sees them.
  void Skip(uint64_t frames);

  // Copies the count floats that end at output frame endFrame; frames before the first are 0.
  void CopyOutput(uint64_t endFrame, float* destination, uint32_t count) const;

  uint64_t FramesOutput() const { return m_framesOutput; }
  // The frame of the music the next decoded frame is: moved by decoding, seeks and rewinds.
  uint64_t MusicFrame() const { return m_musicFrame; }
  bool Finished() const { return m_finished; }

  // A decoding stream is read by the caller and never reaches the output.
  bool decodeOnly = false;
  bool playing = false;
  bool everPlayed = false;
  // Where the output stood and when, at the last start: the stream is due at real time from there.
  uint64_t playStartFrame = 0;
  int64_t playStartTime = 0;
  // The output counter at the last seek.
  uint64_t seekOutputFrame = 0;

 private:
  static constexpr uint32_t kScratchFrames = 8192;

  uint32_t Decode(float* destination, uint32_t frames);
  // Decodes frames (at most kScratchFrames) into the scratch buffer, silence past the end, and
  // records them in the ring.
  void Produce(uint32_t frames);

  mpg123_handle_struct* m_decoder = nullptr;
  std::vector<float> m_ring;
  std::vector<float> m_scratch;
  uint64_t m_framesOutput = 0;
  uint64_t m_musicFrame = 0;
  bool m_finished = false;
};

}  // namespace platform
