#include "FinaleContent.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "scene/SceneAssembly.h"
#include "scene/SceneFileReader.h"

namespace {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
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
