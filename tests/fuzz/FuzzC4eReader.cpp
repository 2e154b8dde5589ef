// The fuzz entry point: any bytes through the reader, and a scene that reads through
// assembly and a few updates, the way the show uses it (without a GPU).
#include <cstddef>
#include <cstdint>

#include "gfx/RenderContext.h"
#include "scene/Scene.h"
#include "scene/SceneAssembly.h"
#include "scene/SceneFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Scene scene{RenderContext{}};
  SceneFileReader reader(data, size);
  if (reader.Read(&scene)) return 0;
  AssembleScene(&scene, nullptr, nullptr);
  scene.Restart();
  scene.rollEvents.push_back({0, 100, 15.0f});
  scene.shakeEvents.push_back({0, 100, 2.0f});
  scene.speedEvents.push_back({false, 60, -1.0f, 7});
  for (int64_t demoTime = 0; demoTime <= 120; demoTime += 20) scene.Update(demoTime, 333);
  (void)scene.StatisticsLine();
  return 0;
}
