#include "app/VideoRecorder.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "app/OutputFiles.h"
#include "platform/audio_stream.h"

namespace fs = std::filesystem;

namespace {

constexpr int kAudioChannels = platform::AudioStream::kChannels;

// The last few lines of what ffmpeg said, indented under our own message.
std::string LastLines(const std::string& text, int count) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  std::string result;
  const size_t first = lines.size() > static_cast<size_t>(count) ? lines.size() - static_cast<size_t>(count) : 0;
  for (size_t i = first; i < lines.size(); ++i) result += "\n  ffmpeg: " + lines[i];
  return result;
}

bool NoSpaceLeft(const fs::path& directory) {
  struct statvfs info {};
  return statvfs(directory.c_str(), &info) == 0 && info.f_bavail == 0;
}

fs::path DirectoryOf(const std::string& path) {
  const fs::path parent = fs::path(path).parent_path();
  return parent.empty() ? fs::path(".") : parent;
}

// ffmpeg can end well with a file cut short (a failed write at the very end goes unreported), so
// what the file holds is counted before it gets the final name: every frame and some sound.
bool HoldsEveryFrame(const std::string& file, int64_t frames, std::string* problem) {
  const std::string ffprobe = FfmpegProcess::FindOnPath("ffprobe");
  if (ffprobe.empty()) return true;  // nothing to count with; ffmpeg's word stands
  FfmpegProcess probe;
  if (!probe.Start(ffprobe,
                   {"-v", "error", "-count_packets", "-show_entries", "stream=codec_type,nb_read_packets", "-of",
                    "csv=p=0", file},
                   problem)) {
    return false;
  }
  probe.Finish();
  int64_t video = 0;
  int64_t audio = 0;
  std::istringstream lines(probe.Output());
  for (std::string line; std::getline(lines, line);) {
    const size_t comma = line.find(',');
    if (comma == std::string::npos) continue;
    const int64_t packets = std::atoll(line.c_str() + comma + 1);
    if (line.compare(0, comma, "video") == 0) video = packets;
    if (line.compare(0, comma, "audio") == 0) audio = packets;
  }
  if (video == frames && audio > 0) return true;
  *problem = "it holds " + std::to_string(video) + " of its " + std::to_string(frames) + " frames" +
             (audio > 0 ? "" : " and no sound");
  return false;
}

}  // namespace

int64_t VideoFrameCount(int64_t startMs, int64_t endMs, int32_t fps) {
  if (endMs <= startMs || fps <= 0) return 0;
  // Frame k shows start + floor(k × 1000 / fps), which is before the end exactly when
  // k × 1000 < (end − start) × fps.
  return ((endMs - startMs) * fps + 999) / 1000;
}

int64_t VideoAudioFramesBefore(int64_t frameIndex, int32_t fps) { return frameIndex * kVideoAudioRate / fps; }

std::vector<std::string> FfmpegArguments(const VideoSettings& settings, const std::string& output) {
  std::vector<std::string> arguments = {
      "-hide_banner", "-nostdin", "-loglevel", "error",
      // The pictures: the back buffer's bytes as they are; the fourth byte is not looked at.
      "-f", "rawvideo", "-pix_fmt", "rgb0", "-video_size",
      std::to_string(settings.width) + "x" + std::to_string(settings.height), "-framerate",
      std::to_string(settings.fps), "-i", "pipe:0",
      // The sound: the music decoded exactly as the show plays it, span by span with the frames.
      "-f", "f32le", "-ar", std::to_string(kVideoAudioRate), "-ac", "2", "-i", "pipe:3",
      "-map", "0:v:0", "-map", "1:a:0",
      // Studio-range BT.709, converted the same way on every machine, and said so in the file.
      "-vf", "scale=out_color_matrix=bt709:out_range=tv:flags=accurate_rnd+full_chroma_int+bitexact,format=yuv420p",
      "-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc", "bt709", "-color_range", "tv"};
  const std::string crf = std::to_string(settings.crf);
  if (settings.container == VideoContainer::WebM) {
    arguments.insert(arguments.end(), {"-c:v", "libvpx-vp9", "-crf", crf, "-b:v", "0", "-deadline", "good",
                                       "-cpu-used", "2", "-row-mt", "1", "-c:a", "libopus", "-b:a", "160k", "-ar",
                                       "48000", "-f", "webm"});
  } else {
    // The index goes first so that the file plays while it is still downloading.
    arguments.insert(arguments.end(), {"-c:v", "libx264", "-preset", "medium", "-crf", crf, "-profile:v", "high",
                                       "-c:a", "aac", "-b:a", "192k", "-movflags", "+faststart", "-f", "mp4"});
  }
  // The mark by which a later run knows the file for the show's own and may replace it.
  arguments.insert(arguments.end(), {"-metadata", std::string("comment=") + kVideoMark, "-y", output});
  return arguments;
}

std::string DescribeEncoderFailure(const std::string& path, int waitStatus, const std::string& messages,
                                   bool diskFull) {
  const std::string nothingSaved = "; nothing was saved as " + path + ".";
  if (diskFull || messages.find("No space left on device") != std::string::npos) {
    return "The video " + path + " could not be written: the disk is full" + nothingSaved;
  }
  if (WIFSIGNALED(waitStatus)) {
    return "ffmpeg ended unexpectedly (" + DescribeWaitStatus(waitStatus) + ") while encoding " + path +
           nothingSaved + LastLines(messages, 5);
  }
  if (WIFEXITED(waitStatus) && WEXITSTATUS(waitStatus) == 0) {
    return "ffmpeg stopped reading the frames of " + path + " before the last one" + nothingSaved;
  }
  return "ffmpeg failed (" + DescribeWaitStatus(waitStatus) + ") while encoding " + path + nothingSaved +
         LastLines(messages, 5);
}

VideoRecorder::VideoRecorder() = default;

VideoRecorder::~VideoRecorder() { Shutdown(); }

bool VideoRecorder::Create(const VideoSettings& settings, std::string* error, std::string* warning) {
  m_settings = settings;
  // An encoder that ended shows as a failed write, not as a signal that ends the show.
  signal(SIGPIPE, SIG_IGN);
  const std::string ffmpeg = FfmpegProcess::FindOnPath("ffmpeg");
  if (ffmpeg.empty()) {
    *error = "--video needs ffmpeg, which is not on PATH (on Debian: apt-get install ffmpeg); nothing was saved.";
    return false;
  }
  std::error_code ignored;
  if (fs::is_directory(settings.path, ignored)) {
    *error = "The video " + settings.path + " cannot be written: that is a directory.";
    return false;
  }

  // Beside the final name, so that the rename at the end is one atomic step on one file system.
  std::string name = (DirectoryOf(settings.path) / fs::path(settings.path).filename()).string() + ".part-XXXXXX";
  const int file = mkstemp(name.data());
  if (file < 0) {
    *error = "The video " + settings.path + " cannot be written: " + std::strerror(errno) + ".";
    return false;
  }
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(file, 0666 & ~mask);
  close(file);
  m_temporaryPath = name;

  m_music = std::make_unique<platform::AudioStream>();
  const uint64_t firstMusicFrame = static_cast<uint64_t>(settings.startMs) * kVideoAudioRate / 1000;
  if (!m_music->Open(settings.music, kVideoAudioRate) || !m_music->Seek(firstMusicFrame)) {
    m_music.reset();
    *warning = "The music " + settings.music + " could not be read; the video's sound track is silent.";
  }

  std::string startError;
  if (!m_encoder.Start(ffmpeg, FfmpegArguments(settings, m_temporaryPath), &startError)) {
    *error = "--video: " + startError + "; nothing was saved.";
    RemoveTemporaryFile();
    return false;
  }

  const size_t frameBytes = static_cast<size_t>(settings.width) * static_cast<size_t>(settings.height) * 4;
  m_buffers.assign(kRingSize, std::vector<uint8_t>(frameBytes));
  for (int i = 0; i < kRingSize; ++i) m_free.push_back(i);
  m_running = true;
  m_writer = std::thread(&VideoRecorder::WriteFrames, this);
  m_soundWriter = std::thread(&VideoRecorder::WriteSound, this);
  return true;
}

uint8_t* VideoRecorder::NextFrame() {
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [&] { return !m_free.empty() || m_writeFailed; });
  if (m_writeFailed) return nullptr;
  m_current = m_free.front();
  m_free.pop_front();
  return m_buffers[static_cast<size_t>(m_current)].data();
}

void VideoRecorder::SubmitFrame() {
  {
    std::lock_guard lock(m_mutex);
    if (m_current < 0) return;
    m_filled.push_back(m_current);
    m_current = -1;
  }
  m_changed.notify_all();
}

void VideoRecorder::WriteFrames() {
  for (;;) {
    int index = -1;
    {
      std::unique_lock lock(m_mutex);
      m_changed.wait(lock, [&] { return !m_filled.empty() || m_closing; });
      if (m_filled.empty()) return;
      index = m_filled.front();
      m_filled.pop_front();
    }
    const std::vector<uint8_t>& pixels = m_buffers[static_cast<size_t>(index)];
    const bool written = m_encoder.WriteVideo(pixels.data(), pixels.size());
    {
      std::lock_guard lock(m_mutex);
      m_free.push_back(index);
      if (written) ++m_framesWritten;
    }
    m_changed.notify_all();
    if (!written) {
      NoteWriteFailed();
      return;
    }
  }
}

// The sound of frame k is the music from the first frame's show time plus exactly the frames
// before k, so the track can neither drift from the pictures nor run short of them.
void VideoRecorder::WriteSound() {
  std::vector<float> sound;
  for (int64_t frame = 0; frame < m_settings.frameCount && !m_stopSound; ++frame) {
    const auto soundFrames = static_cast<size_t>(VideoAudioFramesBefore(frame + 1, m_settings.fps) -
                                                 VideoAudioFramesBefore(frame, m_settings.fps));
    sound.assign(soundFrames * kAudioChannels, 0.0f);
    if (m_music) m_music->Render(sound.data(), static_cast<uint32_t>(soundFrames));
    if (!m_encoder.WriteAudio(reinterpret_cast<const uint8_t*>(sound.data()), sound.size() * sizeof(float))) {
      NoteWriteFailed();
      return;
    }
  }
  if (!m_stopSound) m_encoder.CloseAudio();
}

void VideoRecorder::NoteWriteFailed() {
  {
    std::lock_guard lock(m_mutex);
    m_writeFailed = true;
  }
  m_changed.notify_all();
}

bool VideoRecorder::StopWriters(bool* failedBefore) {
  {
    std::lock_guard lock(m_mutex);
    m_closing = true;
  }
  m_changed.notify_all();
  if (m_writer.joinable()) m_writer.join();
  // All the pictures are in: the encoder reads the rest of the sound and then the end.
  // Otherwise it is stopped here, which the sound writer sees as a failed write.
  const bool failed = WriteFailed();
  if (failedBefore) *failedBefore = failed;
  const bool complete = !failed && FramesWritten() == m_settings.frameCount;
  if (complete) {
    m_encoder.CloseVideo();
  } else {
    m_stopSound = true;
    m_encoder.Kill();
  }
  if (m_soundWriter.joinable()) m_soundWriter.join();
  return complete;
}

bool VideoRecorder::Finish(std::string* error) {
  if (!m_running) return false;
  bool failedBefore = false;
  const bool framesComplete = StopWriters(&failedBefore);
  const bool complete = framesComplete && !WriteFailed();
  const int status = m_encoder.Finish();
  m_running = false;
  const bool encoded = complete && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!encoded) {
    // A failed write means ffmpeg ended first: how it ended is the story.
    *error = !framesComplete && !failedBefore
                 ? "The show ended before the last frame of " + m_settings.path + "; nothing was saved as it."
                 : DescribeEncoderFailure(m_settings.path, status, m_encoder.Messages(),
                                          NoSpaceLeft(DirectoryOf(m_settings.path)));
    RemoveTemporaryFile();
    return false;
  }
  std::string problem;
  if (!HoldsEveryFrame(m_temporaryPath, m_settings.frameCount, &problem)) {
    *error = NoSpaceLeft(DirectoryOf(m_settings.path))
                 ? DescribeEncoderFailure(m_settings.path, status, m_encoder.Messages(), true)
                 : "ffmpeg ended well but the video " + m_settings.path + " came out incomplete (" + problem +
                       "); nothing was saved as it.";
    RemoveTemporaryFile();
    return false;
  }
  std::error_code renameError;
  fs::rename(m_temporaryPath, m_settings.path, renameError);
  if (renameError) {
    *error = "The video could not be renamed to " + m_settings.path + ": " + renameError.message() +
             "; nothing was saved as it.";
    RemoveTemporaryFile();
    return false;
  }
  m_temporaryPath.clear();
  return true;
}

void VideoRecorder::Abort() {
  if (!m_running) return;
  // Killed first: a writer waiting on the encoder then wakes up to a closed pipe.
  m_stopSound = true;
  m_encoder.Kill();
  StopWriters(nullptr);
  m_encoder.Finish();
  m_running = false;
  RemoveTemporaryFile();
}

void VideoRecorder::Shutdown() {
  Abort();
  RemoveTemporaryFile();
}

int64_t VideoRecorder::FramesWritten() const {
  std::lock_guard lock(m_mutex);
  return m_framesWritten;
}

bool VideoRecorder::WriteFailed() const {
  std::lock_guard lock(m_mutex);
  return m_writeFailed;
}

void VideoRecorder::RemoveTemporaryFile() {
  if (m_temporaryPath.empty()) return;
  std::error_code ignored;
  fs::remove(m_temporaryPath, ignored);
  m_temporaryPath.clear();
}
