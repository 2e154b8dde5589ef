#pragma once
// Records the show's frames and its music into a video file through ffmpeg. The show hands over
// each frame in one of a ring of buffers and a writer thread feeds it to the encoder while the
// show draws the next frame; a second writer decodes the music of the whole span and feeds it
// alongside, as fast as the encoder takes it. The video is written
// under a temporary name beside the final one and renamed only once the encoder finished well,
// so a failure never leaves a half-written file under the final name (nor spoils one there).
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/CommandLine.h"
#include "app/FfmpegProcess.h"

namespace platform {
class AudioStream;
}

struct VideoSettings {
  std::string path;
  VideoContainer container = VideoContainer::Mp4;
  int32_t crf = 18;
  int32_t width = 0;
  int32_t height = 0;
  int32_t fps = 25;
  int64_t startMs = 0;     // show time of the first frame
  int64_t frameCount = 0;  // frames in the video
  std::string music;       // the MP3 whose span from startMs is the sound track
};

// Sample rate of the sound track: the music's own, which the show plays at.
constexpr int32_t kVideoAudioRate = 44100;

// Frames a video of the show between two show times holds: every frame of the stepped clock
// whose show time lies before the end.
int64_t VideoFrameCount(int64_t startMs, int64_t endMs, int32_t fps);
// Stereo sample frames of the sound track before the video's frame index: the sound of frame k
// is exactly the span between the frame's and the next frame's.
int64_t VideoAudioFramesBefore(int64_t frameIndex, int32_t fps);
// ffmpeg's arguments: raw RGBX pictures on pipe:0, float stereo on pipe:3, the container's
// codecs, BT.709 4:2:0, written to output in the container's format whatever its name.
std::vector<std::string> FfmpegArguments(const VideoSettings& settings, const std::string& output);
// A clear account of a failed encoding for the user, from how ffmpeg ended and what it said.
std::string DescribeEncoderFailure(const std::string& path, int waitStatus, const std::string& messages,
                                   bool diskFull);

class VideoRecorder {
 public:
  static constexpr int kRingSize = 3;

  VideoRecorder();
  ~VideoRecorder();
  VideoRecorder(const VideoRecorder&) = delete;
  VideoRecorder& operator=(const VideoRecorder&) = delete;

  // Finds ffmpeg, makes the temporary file and starts the encoder and the writer. False with a
  // message for the user in error. A music file that cannot be read gives a silent track and a
  // note in warning.
  bool Create(const VideoSettings& settings, std::string* error, std::string* warning);

  // A buffer of width × height × 4 bytes (RGBA, top row first; alpha is ignored) for the next
  // frame; waits while the writer has every buffer. Null once writing failed.
  uint8_t* NextFrame();
  // Hands the buffer from NextFrame to the writer.
  void SubmitFrame();

  // After the last frame: waits for the writer and the encoder and renames the file into place.
  // False with the reason in error; nothing is then left under either name.
  bool Finish(std::string* error);
  // Stops the encoder at once and removes the temporary file (the show was stopped).
  void Abort();
  // Aborts unless finished.
  void Shutdown();

  int64_t FramesWritten() const;
  bool WriteFailed() const;
  const std::string& temporaryPath() const { return m_temporaryPath; }
  pid_t encoderPid() const { return m_encoder.pid(); }

 private:
  void WriteFrames();
  void WriteSound();
  // Waits for the writers; true when every frame reached the encoder, which then finishes on
  // its own; otherwise it is ended. failedBefore: a write had failed before that.
  bool StopWriters(bool* failedBefore);
  void NoteWriteFailed();
  void RemoveTemporaryFile();

  VideoSettings m_settings;
  FfmpegProcess m_encoder;
  std::string m_temporaryPath;
  std::unique_ptr<platform::AudioStream> m_music;  // null when the track is silent
  std::thread m_writer;
  std::thread m_soundWriter;
  std::atomic<bool> m_stopSound{false};

  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::vector<uint8_t>> m_buffers;
  std::deque<int> m_free;
  std::deque<int> m_filled;
  int m_current = -1;
  int64_t m_framesWritten = 0;
  bool m_closing = false;
  bool m_writeFailed = false;
  bool m_running = false;
};
