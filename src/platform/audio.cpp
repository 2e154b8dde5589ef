#include "platform/audio.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio_stream.h"
#include "platform/clock.h"

namespace platform {
namespace {

// 23 ms per buffer. A power of two: SDL's devices work in power-of-two buffers, and another size
// goes through an extra buffering stage that the dummy driver paces wrongly (882 frames ran 14%
// slow against the clock, 1024 within 0.03%).
constexpr int kBufferFrames = 1024;
constexpr uint32_t kByteCountMask = 0x0FFFFFFFu;
// How far a stream may fall behind real time before it skips ahead. Only a stalled output
// (an audio thread starved of CPU, an underrun) gets there; a device's own buffering keeps
// streams ahead, never behind.
constexpr int64_t kMaxLagMilliseconds = 50;

int64_t NowNanoseconds() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// Frames of output a reader can ask for (BASS_ChannelGetData's limit) plus the buffer being
// heard, which it may end anywhere in.
constexpr uint32_t kHeardFrames = AudioStream::kRingFrames / 2 + kBufferFrames;

// What the show reads of a stream every frame, copied out under a lock of its own whenever the
// stream changes: by the audio thread after each buffer, by the show after a start, pause or
// seek. A frame then never waits while the audio thread decodes.
struct Heard {
  std::mutex lock;
  uint64_t framesOutput = 0;
  uint64_t musicFrame = 0;
  uint64_t seekOutputFrame = 0;
  bool playing = false;
  bool everPlayed = false;
  int64_t bufferTime = 0;  // when the audio thread handed over its last buffer
  uint32_t bufferFrames = kBufferFrames;
  std::vector<float> tail = std::vector<float>(static_cast<size_t>(kHeardFrames) * AudioStream::kChannels);
};

struct StreamSlot {
  HSTREAM handle = 0;
  std::unique_ptr<AudioStream> stream;
  std::unique_ptr<Heard> heard = std::make_unique<Heard>();
};

struct AudioState {
  bool offline = false;
  bool initialised = false;
  SDL_AudioDeviceID device = 0;
  uint32_t frequency = 0;
  HSTREAM nextHandle = 1;
  std::vector<StreamSlot> streams;

  // Written by the audio thread while it holds the device lock.
  int64_t lastBufferTime = 0;
  uint32_t lastBufferFrames = kBufferFrames;

  std::atomic<int64_t> busyNanoseconds{0};
  int64_t cpuWindowStart = 0;
  int64_t cpuWindowBusy = 0;
  float cpuPercent = 0.0f;
};

AudioState& State() {
  static AudioState state;
  return state;
}

// The clock streams are due against: real time through a device, the capture clock offline.
int64_t StreamClockNanoseconds() {
  return State().offline ? ManualClockMilliseconds() * 1'000'000 : NowNanoseconds();
}

// Offline there is no audio thread to keep out.
void LockOutput() {
  if (State().device != 0) SDL_LockAudioDevice(State().device);
}
void UnlockOutput() {
  if (State().device != 0) SDL_UnlockAudioDevice(State().device);
}

StreamSlot* FindSlot(HSTREAM handle) {
  for (StreamSlot& slot : State().streams) {
    if (slot.handle == handle && handle != 0) return &slot;
  }
  return nullptr;
}

// Copies what readers need of the stream; the caller holds the output, or the stream is one
// the audio thread never touches (offline, or a decoding stream).
void Publish(StreamSlot& slot) {
  const AudioStream& stream = *slot.stream;
  Heard& heard = *slot.heard;
  std::lock_guard<std::mutex> hold(heard.lock);
  if (heard.framesOutput != stream.FramesOutput()) {
    stream.CopyOutput(stream.FramesOutput(), heard.tail.data(), static_cast<uint32_t>(heard.tail.size()));
  }
  heard.framesOutput = stream.FramesOutput();
  heard.musicFrame = stream.MusicFrame();
  heard.seekOutputFrame = stream.seekOutputFrame;
  heard.playing = stream.playing;
  heard.everPlayed = stream.everPlayed;
  heard.bufferTime = State().lastBufferTime;
  heard.bufferFrames = State().lastBufferFrames;
}

void FillOutput(void*, Uint8* bytes, int length) {
  const int64_t start = NowNanoseconds();
  AudioState& state = State();
  float* out = reinterpret_cast<float*>(bytes);
  const auto frames = static_cast<uint32_t>(length / static_cast<int>(sizeof(float) * AudioStream::kChannels));
  std::memset(bytes, 0, static_cast<size_t>(length));
  for (StreamSlot& slot : state.streams) {
    AudioStream& stream = *slot.stream;
    if (!stream.playing) continue;
    // The music stays locked to the clock the show runs on: after a stall it jumps to where it
    // should be instead of lagging behind the picture for the rest of the show.
    const int64_t due = static_cast<int64_t>(stream.playStartFrame) +
                        (start - stream.playStartTime) * static_cast<int64_t>(state.frequency) / 1'000'000'000;
    const int64_t behind = due - static_cast<int64_t>(stream.FramesOutput());
    if (behind > kMaxLagMilliseconds * static_cast<int64_t>(state.frequency) / 1000) {
      stream.Skip(static_cast<uint64_t>(behind));
    }
    stream.Render(out, frames);
  }
  state.lastBufferTime = start;
  state.lastBufferFrames = frames;
  for (StreamSlot& slot : state.streams) {
    if (!slot.stream->decodeOnly) Publish(slot);
  }
  state.busyNanoseconds.fetch_add(NowNanoseconds() - start, std::memory_order_relaxed);
}

// Offline, a stream is decoded up to where the capture clock says it is due, so what a frame
// reads depends on show time alone, never on how fast frames are drawn.
void CatchUpOffline(AudioStream& stream) {
  AudioState& state = State();
  if (!stream.playing) return;
  const int64_t start = NowNanoseconds();
  const int64_t due = static_cast<int64_t>(stream.playStartFrame) +
                      (StreamClockNanoseconds() - stream.playStartTime) * static_cast<int64_t>(state.frequency) /
                          1'000'000'000;
  if (due > static_cast<int64_t>(stream.FramesOutput())) {
    stream.Skip(static_cast<uint64_t>(due) - stream.FramesOutput());
  }
  state.busyNanoseconds.fetch_add(NowNanoseconds() - start, std::memory_order_relaxed);
}

// The output frame being heard now: the audio thread hands over one buffer at a time and the
// device plays it during the following buffer period. Offline it is the frame due now.
uint64_t HeardFrame(const Heard& heard) {
  // A stopped stream adds nothing to the buffers that follow: all it wrote has been heard.
  if (State().offline || !heard.playing) return heard.framesOutput;
  const uint64_t buffer = std::min<uint64_t>(heard.framesOutput, heard.bufferFrames);
  const int64_t sinceBuffer = std::max<int64_t>(0, NowNanoseconds() - heard.bufferTime);
  const auto progressed = std::min<uint64_t>(
      buffer, static_cast<uint64_t>(sinceBuffer * static_cast<int64_t>(State().frequency) / 1'000'000'000));
  return heard.framesOutput - buffer + progressed;
}

// The stream's published state, up to date. Offline, a playing stream is first decoded up to
// now on this thread, the only one; a decoding stream is only ever touched by its reader.
Heard& ReadHeard(StreamSlot& slot) {
  if (State().offline || slot.stream->decodeOnly) {
    CatchUpOffline(*slot.stream);
    Publish(slot);
  }
  return *slot.heard;
}

// The output device, whose audio thread pulls every playing stream.
bool OpenDevice(uint32_t frequency) {
  AudioState& state = State();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;

  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(frequency);
  wanted.format = AUDIO_F32SYS;
  wanted.channels = AudioStream::kChannels;
  wanted.samples = kBufferFrames;
  wanted.callback = FillOutput;
  SDL_AudioSpec obtained{};
  // No changes allowed: SDL converts to whatever the hardware wants, so the callback always
  // sees stereo float at our frequency and buffer size.
  state.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (state.device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}

}  // namespace

void UseOfflineOutput(bool offline) {
  if (!State().initialised) State().offline = offline;
}

bool BASS_Init(int device, uint32_t frequency, uint32_t, void*, const void*) {
  AudioState& state = State();
  if (state.initialised || device != -1 || frequency == 0) return false;
  if (!state.offline && !OpenDevice(frequency)) return false;
  state.initialised = true;
  state.frequency = frequency;
  state.cpuWindowStart = NowNanoseconds();
  state.cpuWindowBusy = state.busyNanoseconds.load();
  state.cpuPercent = 0.0f;
  return true;
}

HSTREAM BASS_StreamCreateFile(bool fromMemory, const char* file, uint64_t offset, uint64_t length, uint32_t flags) {
  AudioState& state = State();
  if (!state.initialised || fromMemory || !file || offset != 0 || length != 0) return 0;
  auto stream = std::make_unique<AudioStream>();
  if (!stream->Open(file, state.frequency)) return 0;
  stream->decodeOnly = (flags & BASS_STREAM_DECODE) != 0;
  const HSTREAM handle = state.nextHandle++;
  LockOutput();
  state.streams.push_back({handle, std::move(stream)});
  Publish(state.streams.back());
  UnlockOutput();
  return handle;
}

bool BASS_ChannelPlay(HSTREAM handle, bool restart) {
  AudioState& state = State();
  StreamSlot* slot = FindSlot(handle);
  AudioStream* stream = slot != nullptr ? slot->stream.get() : nullptr;
  if (!stream || stream->decodeOnly) return false;
  LockOutput();
  const bool rewound = !restart || stream->Rewind();
  if (rewound && !stream->playing) {
    stream->playStartFrame = stream->FramesOutput();
    stream->playStartTime = StreamClockNanoseconds();
  }
  stream->playing = rewound;
  stream->everPlayed = stream->everPlayed || rewound;
  Publish(*slot);
  UnlockOutput();
  if (state.device != 0) SDL_PauseAudioDevice(state.device, 0);
  return rewound;
}

uint64_t BASS_ChannelSeconds2Bytes(HSTREAM handle, double seconds) {
  if (!FindSlot(handle) || seconds <= 0.0) return 0;
  const auto frames = static_cast<uint64_t>(seconds * static_cast<double>(State().frequency));
  return frames * AudioStream::kChannels * sizeof(float);
}

bool BASS_ChannelPause(HSTREAM handle) {
  StreamSlot* slot = FindSlot(handle);
  if (!slot) return false;
  AudioStream* stream = slot->stream.get();
  LockOutput();
  const bool wasPlaying = stream->playing;
  stream->playing = false;
  Publish(*slot);
  UnlockOutput();
  return wasPlaying;
}

uint64_t BASS_ChannelGetPosition(HSTREAM handle, uint32_t mode) {
  StreamSlot* slot = FindSlot(handle);
  if (!slot || mode != BASS_POS_BYTE) return UINT64_MAX;
  Heard& heard = ReadHeard(*slot);
  std::lock_guard<std::mutex> hold(heard.lock);
  uint64_t frame = heard.musicFrame;
  // What was decoded since the last move but is still on its way to the speaker is not heard
  // yet; what is on its way from before the move is not of the music's new place.
  const uint64_t onItsWay = heard.framesOutput - HeardFrame(heard);
  frame -= std::min({frame, onItsWay, heard.framesOutput - heard.seekOutputFrame});
  return frame * AudioStream::kChannels * sizeof(float);
}

bool BASS_ChannelSetPosition(HSTREAM handle, uint64_t position, uint32_t mode) {
  StreamSlot* slot = FindSlot(handle);
  if (!slot || mode != BASS_POS_BYTE) return false;
  AudioStream* stream = slot->stream.get();
  LockOutput();
  const bool moved = stream->Seek(position / (AudioStream::kChannels * sizeof(float)));
  // The music is due in real time from here: output the device missed before the move (an
  // audio thread starved while a seek replayed the show) must not skip the new place ahead.
  // Offline the capture clock is set to the new start after this and counts from there.
  if (moved && stream->playing && !State().offline) {
    stream->playStartFrame = stream->FramesOutput();
    stream->playStartTime = StreamClockNanoseconds();
  }
  // Frames on their way to the speaker are the old place's; the new one is heard after them.
  stream->seekOutputFrame = stream->FramesOutput();
  Publish(*slot);
  UnlockOutput();
  return moved;
}

int32_t BASS_ChannelGetData(HSTREAM handle, void* buffer, uint32_t length) {
  StreamSlot* slot = FindSlot(handle);
  if (!slot || !buffer || !(length & BASS_DATA_FLOAT)) return -1;
  AudioStream* stream = slot->stream.get();
  const uint32_t bytes = std::min<uint32_t>(length & kByteCountMask, AudioStream::kRingFrames / 2 * AudioStream::kChannels *
                                                                          static_cast<uint32_t>(sizeof(float)));
  const uint32_t count = bytes / sizeof(float);
  if (stream->decodeOnly) {
    // Never played, so the audio thread never touches it.
    std::memset(buffer, 0, bytes);
    stream->Render(static_cast<float*>(buffer), count / AudioStream::kChannels);
    return static_cast<int32_t>(count / AudioStream::kChannels * AudioStream::kChannels * sizeof(float));
  }
  Heard& heard = ReadHeard(*slot);
  std::lock_guard<std::mutex> hold(heard.lock);
  if (!heard.everPlayed) return -1;
  // The count floats that end at the frame being heard; the tail ends at the last one output.
  auto* out = static_cast<float*>(buffer);
  const int64_t tailFirst = static_cast<int64_t>(heard.framesOutput * AudioStream::kChannels) -
                            static_cast<int64_t>(heard.tail.size());
  const int64_t first = static_cast<int64_t>(HeardFrame(heard) * AudioStream::kChannels) - count;
  for (uint32_t i = 0; i < count; ++i) {
    const int64_t at = first + i - tailFirst;
    out[i] = at >= 0 && at < static_cast<int64_t>(heard.tail.size()) ? heard.tail[static_cast<size_t>(at)] : 0.0f;
  }
  return static_cast<int32_t>(count * sizeof(float));
}

bool BASS_StreamFree(HSTREAM handle) {
  AudioState& state = State();
  auto& streams = state.streams;
  const auto slot = std::find_if(streams.begin(), streams.end(),
                                 [handle](const StreamSlot& s) { return handle != 0 && s.handle == handle; });
  if (slot == streams.end()) return false;
  LockOutput();
  streams.erase(slot);
  UnlockOutput();
  return true;
}

float BASS_GetCPU() {
  AudioState& state = State();
  if (!state.initialised) return 0.0f;
  const int64_t now = NowNanoseconds();
  const int64_t busy = state.busyNanoseconds.load(std::memory_order_relaxed);
  // Short windows would only show the audio thread's buffer rhythm.
  if (now - state.cpuWindowStart >= 250'000'000) {
    state.cpuPercent = static_cast<float>(100.0 * static_cast<double>(busy - state.cpuWindowBusy) /
                                          static_cast<double>(now - state.cpuWindowStart));
    state.cpuWindowStart = now;
    state.cpuWindowBusy = busy;
  }
  return state.cpuPercent;
}

bool BASS_Free() {
  AudioState& state = State();
  if (!state.initialised) return false;
  if (state.device != 0) {
    SDL_CloseAudioDevice(state.device);  // waits for the audio thread
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  state.streams.clear();
  state.device = 0;
  state.initialised = false;
  state.frequency = 0;
  return true;
}

uint32_t OutputDevice() { return State().device; }

int64_t ChannelPlayedFrames(HSTREAM handle) {
  StreamSlot* slot = FindSlot(handle);
  if (!slot) return -1;
  Heard& heard = ReadHeard(*slot);
  std::lock_guard<std::mutex> hold(heard.lock);
  return static_cast<int64_t>(HeardFrame(heard));
}

}  // namespace platform
