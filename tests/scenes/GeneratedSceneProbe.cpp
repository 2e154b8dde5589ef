#include "GeneratedSceneProbe.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx/RenderContext.h"
#include "scene/SceneAssembly.h"
#include "scene/SceneFileReader.h"

namespace scene_probe {

std::unique_ptr<Scene> ReadBack(const c4e::Scene& description) {
  const std::vector<uint8_t> bytes = c4e::WriteScene(description);
  auto scene = std::make_unique<Scene>(RenderContext{});
  SceneFileReader reader(bytes.data(), bytes.size());
  if (const char* failure = reader.Read(scene.get())) {
    ADD_FAILURE() << description.name << ": the show's reader stops at " << failure;
    return nullptr;
  }
  AssembleScene(scene.get(), nullptr, nullptr);
  return scene;
}

void Pose(Scene& scene, int64_t time, int32_t camera) {
  scene.Restart();
  scene.currentCamera = camera;
  scene.time = 0;
  scene.Update(0, time);
}

std::filesystem::path StagedData() {
  const char* binary = std::getenv("PULSAR_BINARY_DIR");
  return std::filesystem::path(binary ? binary : ".") / "stage" / "engine_data";
}

}  // namespace scene_probe
