#include "FinaleContent.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "demo/CueSheet.h"
#include "scene/SceneAssembly.h"
#include "scene/SceneFileReader.h"

namespace {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

uint32_t Big32(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

uint32_t Little32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) | (uint32_t{b[at + 3]} << 24);
}

}  // namespace

const std::filesystem::path& FinaleDirectory() {
  // The build's data stage, where the generators wrote them (ctest sets PULSAR_BINARY_DIR); the
  // tests read what goes into the archive instead of generating it again in every test process.
  static const std::filesystem::path staged = [] {
    const char* binary = std::getenv("PULSAR_BINARY_DIR");
    const std::filesystem::path data = std::filesystem::path(binary ? binary : ".") / "stage" / "engine_data";
    return std::filesystem::exists(data / "blob.c4e") && std::filesystem::exists(data / "soft.c4e") &&
                   std::filesystem::exists(data / "logo.c4e")
               ? data
               : std::filesystem::path();
  }();
  return staged;
}

std::unique_ptr<Scene> ReadScene(const std::string& fileName) {
  if (FinaleDirectory().empty()) return nullptr;
  const std::vector<uint8_t> bytes = ReadBytes(FinaleDirectory() / fileName);
  auto scene = std::make_unique<Scene>(RenderContext{});
  SceneFileReader reader(bytes.data(), bytes.size());
  if (reader.Read(scene.get()) != nullptr) return nullptr;
  AssembleScene(scene.get(), nullptr, nullptr);
  return scene;
}

int FurthestFrame(int sceneNumber) {
  cue::Millis start = 0, end = 0;
  for (size_t i = 0; i < cue::kSchedule.size(); ++i)
    if (cue::kSchedule[i].sceneNumber == sceneNumber) start = cue::kSchedule[i].start, end = cue::SlotEnd(i);
  // The scene's list index in the Demo is its number in the schedule (blob 0, soft 9, logo 10).
  double time = 0.0, speed = 1.0, furthest = 0.0;
  for (cue::Millis t = start; t < end; t += 40) {
    for (const cue::SpeedCue& event : cue::kSpeedEvents)
      if (event.sceneIndex == sceneNumber && event.time > t - 40 && event.time <= t) {
        speed = event.speed;
        if (event.jumpFrame >= 0) time = event.jumpFrame * 40.0;
      }
    time += 40.0 * speed;
    furthest = std::max(furthest, time);
  }
  return static_cast<int>(furthest / 40.0);
}

bool PictureSize(const std::filesystem::path& path, int* width, int* height) {
  const std::vector<uint8_t> b = ReadBytes(path);
  if (b.size() >= 24 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') {
    *width = static_cast<int>(Big32(b, 16));
    *height = static_cast<int>(Big32(b, 20));
    return true;
  }
  if (b.size() >= 20 && b[0] == 'D' && b[1] == 'D' && b[2] == 'S' && b[3] == ' ') {
    *height = static_cast<int>(Little32(b, 12));
    *width = static_cast<int>(Little32(b, 16));
    return true;
  }
  return false;
}
