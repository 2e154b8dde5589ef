// pulsar-audio-drift [seconds] [music.mp3]
// 1. Decode cost: the whole synthesised track decoded as fast as possible, CPU time per
//    second of audio.
// 2. Drift: the track played through the Sound while a frame loop at about 60 Hz reads the
//    Timer and the output position; the difference, its largest value and its trend.
#include <lame/lame.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "app/Timer.h"
#include "platform/audio.h"
#include "platform/audio_stream.h"
#include "sound/Sound.h"

namespace {

constexpr int kRate = 44100;

// A chord with a slow beat, so the encoder has real music-like work to do.
bool WriteMusic(const char* path, double seconds) {
  const int frames = static_cast<int>(seconds * kRate);
  std::vector<float> pcm(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double beat = 0.6 + 0.4 * std::cos(2.0 * std::numbers::pi * 2.0 * t);
    const double chord = std::sin(2 * std::numbers::pi * 220.0 * t) + 0.6 * std::sin(2 * std::numbers::pi * 277.2 * t) +
                         0.5 * std::sin(2 * std::numbers::pi * 329.6 * t);
    pcm[2 * static_cast<size_t>(i)] = static_cast<float>(0.3 * beat * chord);
    pcm[2 * static_cast<size_t>(i) + 1] = static_cast<float>(0.3 * beat * chord * (0.8 + 0.2 * std::sin(t)));
  }
  lame_global_flags* lame = lame_init();
  lame_set_in_samplerate(lame, kRate);
  lame_set_num_channels(lame, 2);
  lame_set_brate(lame, 192);
  if (lame_init_params(lame) != 0) return false;
  std::vector<unsigned char> mp3(static_cast<size_t>(1.25 * frames + 7200) * 2);
  int size = lame_encode_buffer_interleaved_ieee_float(lame, pcm.data(), frames, mp3.data(), static_cast<int>(mp3.size()));
  if (size >= 0) size += lame_encode_flush(lame, mp3.data() + size, static_cast<int>(mp3.size()) - size);
  lame_close(lame);
  std::FILE* out = std::fopen(path, "wb");
  if (!out || size < 0) return false;
  const bool written = std::fwrite(mp3.data(), 1, static_cast<size_t>(size), out) == static_cast<size_t>(size);
  return std::fclose(out) == 0 && written;
}

double ProcessSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void MeasureDecodeCost(const char* path) {
  platform::AudioStream stream;
  if (!stream.Open(path, kRate)) {
    std::printf("decode: cannot open %s\n", path);
    return;
  }
  std::vector<float> out(4096 * 2);
  const double start = ProcessSeconds();
  uint64_t frames = 0;
  while (!stream.Finished()) {
    std::fill(out.begin(), out.end(), 0.0f);
    stream.Render(out.data(), 4096);
    frames += 4096;
  }
  const double cpu = ProcessSeconds() - start;
  const double audioSeconds = static_cast<double>(frames) / kRate;
  std::printf("decode: %.1f s of audio in %.3f s CPU: %.3f ms per second of audio (%.2f%% of one core)\n",
              audioSeconds, cpu, 1000.0 * cpu / audioSeconds, 100.0 * cpu / audioSeconds);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 70.0;
  // A given track (the show's own music.mp3) is measured instead of the synthesised one.
  const std::filesystem::path music = argc > 2 ? std::filesystem::absolute(argv[2]) : std::filesystem::path();
  char directory[] = "/tmp/pulsar-drift-XXXXXX";
  if (!mkdtemp(directory) || chdir(directory) != 0 || mkdir("engine_data", 0755) != 0) return 1;
  std::error_code copyError;
  if (!music.empty() ? !std::filesystem::copy_file(music, "engine_data/music.mp3", copyError)
                     : !WriteMusic("engine_data/music.mp3", seconds + 2.0)) {
    std::printf("cannot %s the music\n", music.empty() ? "encode" : "copy");
    return 1;
  }
  MeasureDecodeCost("engine_data/music.mp3");

  Sound sound;
  sound.Create();
  if (sound.stream == 0) {
    std::printf("drift: no audio output (set SDL_AUDIODRIVER=dummy without a sound card)\n");
    return 1;
  }
  const char* driver = std::getenv("SDL_AUDIODRIVER");
  std::printf("drift: %.0f s with driver %s, frame loop about 60 Hz\n", seconds, driver ? driver : "(default)");
  std::printf("%8s %10s %10s %10s %8s\n", "t (s)", "timer ms", "audio ms", "drift ms", "cpu %");

  Timer timer;
  platform::BASS_ChannelPlay(sound.stream, false);
  timer.Initialize();  // show time 0 is the moment the music starts, as in the show
  double sumT = 0, sumD = 0, sumTT = 0, sumTD = 0, largest = 0, last = 0;
  int samples = 0;
  int64_t nextReport = 0;
  while (timer.elapsed < static_cast<int64_t>(seconds * 1000)) {
    std::this_thread::sleep_for(std::chrono::microseconds(16667));
    timer.Frame();
    sound.Update();
    const double audioMs = 1000.0 * static_cast<double>(platform::ChannelPlayedFrames(sound.stream)) / kRate;
    const double drift = audioMs - static_cast<double>(timer.elapsed);
    const double t = static_cast<double>(timer.elapsed) / 1000.0;
    if (timer.elapsed >= 1000) {  // after the output has settled
      sumT += t, sumD += drift, sumTT += t * t, sumTD += t * drift, ++samples;
      largest = std::max(largest, std::fabs(drift));
    }
    last = drift;
    if (timer.elapsed >= nextReport) {
      std::printf("%8.1f %10lld %10.1f %10.1f %8.2f\n", t, static_cast<long long>(timer.elapsed), audioMs, drift,
                  platform::BASS_GetCPU());
      nextReport += 10000;
    }
  }
  const double slope = (samples * sumTD - sumT * sumD) / (samples * sumTT - sumT * sumT);  // ms per s
  std::printf("drift: at the end %.1f ms, largest %.1f ms after the first second, trend %.1f ms per minute (%.0f ppm)\n",
              last, largest, slope * 60.0, slope * 1000.0);
  platform::BASS_Free();
  std::remove("engine_data/music.mp3");
  rmdir("engine_data");
  chdir("/");
  rmdir(directory);
  return 0;
}
