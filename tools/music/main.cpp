// pulsar-music OUTPUT.mp3 [--wav OUTPUT.wav]
// pulsar-music --flasher-starts
// Composes the show's score on its cue sheet, renders it at 44.1 kHz stereo and writes
// "music.mp3" (and, on request, the unencoded mix as 32-bit float WAV). The second form
// lists the flasher key starts in milliseconds, one a line, for the measurement script.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "Composition.h"
#include "Mixdown.h"
#include "Mp3Encoder.h"
#include "WavWriter.h"
#include "demo/CueSheet.h"

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  // Written beside the target and renamed, so an interrupted build leaves no half file.
  const std::filesystem::path partial = path.string() + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--flasher-starts") == 0) {
    for (const cue::AlphaKey& key : cue::kFlasher) std::printf("%lld\n", static_cast<long long>(key.start));
    return 0;
  }
  if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--wav") == 0)) {
    std::fprintf(stderr, "usage: %s OUTPUT.mp3 [--wav OUTPUT.wav]\n", argv[0]);
    return 2;
  }
  music::FlushDenormalsToZero();
  const auto start = std::chrono::steady_clock::now();
  const music::Score score = music::ComposeShow();
  music::MixReport report;
  const music::StereoBuffer audio = music::RenderShow(score, music::MasterSettings{}, report);
  const double renderSeconds = SecondsSince(start);

  const auto encodeStart = std::chrono::steady_clock::now();
  std::vector<std::uint8_t> mp3;
  if (!music::EncodeMp3(audio, music::Mp3Settings{}, mp3)) {
    std::fprintf(stderr, "MP3 encoding failed\n");
    return 1;
  }
  const double encodeSeconds = SecondsSince(encodeStart);
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(argv[1]).parent_path(), ignored);
  if (!WriteFile(argv[1], mp3)) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  if (argc == 4 && !music::WriteFloatWav(argv[3], audio)) {
    std::fprintf(stderr, "cannot write %s\n", argv[3]);
    return 1;
  }
  std::printf("music: %zu notes, %.1f s of audio, %.2f LUFS, sample peak %.3f, limiter down to -%.1f dB and over 1 dB "
              "on %.2f %% of the frames; render %.2f s, encode %.2f s, %zu bytes\n",
              score.size(), static_cast<double>(audio.Frames()) / music::kSampleRate, report.loudnessLufs,
              static_cast<double>(report.samplePeak), static_cast<double>(report.limiterMaxReductionDb),
              100.0 * report.limiterActiveShare, renderSeconds, encodeSeconds, mp3.size());
  return 0;
}
