// Times the lab scene's shadow pass and material pass at 1280 × 720 (or the size given), each
// iteration ended by reading the back buffer so the renderer has really finished. The read-back
// alone is timed too and reported beside, so the pass cost can be told apart from it.
// Given a data directory (one that holds engine_data/, such as build/stage) and a scene file, it
// times that scene instead, at five moments spread over its length: the per-frame update (track,
// morph and vertex upload work) and the passes.
//   pulsar-scene-render-bench [WIDTHxHEIGHT] [iterations] [DATA_DIRECTORY SCENE.c4e]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "LabScene.h"
#include "SceneViewer.h"
#include "StepTiming.h"
#include "platform/window.h"

namespace {

bool PrepareDataDirectory(const std::filesystem::path& root) {
  const std::filesystem::path data = root / "engine_data";
  std::filesystem::create_directories(data);
  for (const auto& entry : std::filesystem::directory_iterator(PULSAR_SHADER_SOURCE_DIR)) {
    std::error_code ec;
    std::filesystem::copy_file(entry.path(), data / entry.path().filename(),
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) return false;
  }
  return lab::WriteLabContent(data.string());
}

// Five moments spread over the scene: one frame's update, then the material pass alone and with
// the shadow pass before it (the show draws some scenes with shadows, some without).
int TimeScene(SceneViewer& viewer, const std::string& name, int iterations) {
  Scene* scene = viewer.scene();
  std::printf("%s, %d x %d, %d triangles, %d iterations (median / best, ms)\n", name.c_str(), viewer.settings.width,
              viewer.settings.height, scene->polygonTotal, iterations);
  std::printf("  %9s %17s %17s %26s %26s\n", "time", "update", "read-back", "material (cpu)", "shadow+material (cpu)");
  for (int moment = 0; moment < 5; ++moment) {
    const int64_t time = scene->endTime * (2 * moment + 1) / 10;
    viewer.Pose(time, 0);
    const Figures update = Measure(iterations, [&] { scene->Update(time, 40); });
    viewer.Pose(time, 0);
    for (int i = 0; i < 3; ++i) {
      viewer.RenderFrame();
      viewer.ReadPixels();
    }
    const Figures readBack = Measure(iterations, [&] { viewer.ReadPixels(); });
    viewer.settings.shadows = false;
    const Figures material = Measure(iterations, [&] {
      viewer.RenderFrame();
      viewer.ReadPixels();
    });
    viewer.settings.shadows = true;
    const Figures both = Measure(iterations, [&] {
      viewer.RenderFrame();
      viewer.ReadPixels();
    });
    std::printf("  %7lldms %8.2f/%8.2f %8.2f/%8.2f %8.2f/%8.2f (%7.2f) %8.2f/%8.2f (%7.2f)\n",
                static_cast<long long>(time), update.median, update.best, readBack.median, readBack.best, material.median,
                material.best, material.cpu, both.median, both.best, both.cpu);
  }
  std::printf("  (material and shadow+material include the read-back; cpu: processor ms of all threads)\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  ViewerSettings settings;
  int iterations = 20;
  if (argc > 1 && std::sscanf(argv[1], "%dx%d", &settings.width, &settings.height) != 2) {
    std::fprintf(stderr, "usage: pulsar-scene-render-bench [WIDTHxHEIGHT] [iterations] [DATA_DIRECTORY SCENE.c4e]\n");
    return 2;
  }
  if (argc > 2) iterations = std::max(3, std::atoi(argv[2]));
  const bool ownScene = argc > 4;
  const std::string sceneFile = ownScene ? argv[4] : "lab.c4e";

  const std::filesystem::path root = ownScene ? std::filesystem::absolute(argv[3])
                                              : std::filesystem::temp_directory_path() / "pulsar-scene-render-bench";
  if (!ownScene) std::filesystem::remove_all(root);
  if (!ownScene && !PrepareDataDirectory(root)) {
    std::fprintf(stderr, "pulsar-scene-render-bench: cannot prepare %s\n", root.c_str());
    return 1;
  }
  std::filesystem::current_path(root);
  if (!platform::InitializeVideo(platform::VideoMode::Headless)) return 1;
  platform::WindowDesc desc;
  desc.title = "pulsar-scene-render-bench";
  desc.width = settings.width;
  desc.height = settings.height;
  platform::Window* window = platform::Window::Create(desc);
  int result = 1;
  {
    SceneViewer viewer;
    if (window != nullptr && viewer.Initialize(window, settings) && viewer.Load(sceneFile) && ownScene) {
      result = TimeScene(viewer, sceneFile, iterations);
    } else if (window != nullptr && viewer.scene() != nullptr) {
      viewer.Pose(4000, 0);
      // Warm up: the first draws compile the pipeline variants.
      for (int i = 0; i < 3; ++i) {
        viewer.RenderFrame();
        viewer.ReadPixels();
      }
      const Figures readBack = Measure(iterations, [&] { viewer.ReadPixels(); });
      const Figures shadow = Measure(iterations, [&] {
        viewer.RenderShadowPass();
        viewer.ReadPixels();
      });
      const Figures both = Measure(iterations, [&] {
        viewer.RenderFrame();
        viewer.ReadPixels();
      });
      viewer.settings.shadows = false;
      const Figures unshadowed = Measure(iterations, [&] {
        viewer.RenderFrame();
        viewer.ReadPixels();
      });
      viewer.settings.shadows = true;
      const Scene* scene = viewer.scene();
      std::printf("lab scene, %d x %d, %d triangles, %d iterations (median / best, ms)\n", settings.width,
                  settings.height, scene->polygonTotal, iterations);
      std::printf("  read-back alone               %8.2f / %8.2f\n", readBack.median, readBack.best);
      std::printf("  shadow pass + read-back       %8.2f / %8.2f\n", shadow.median, shadow.best);
      std::printf("  shadow + material + read-back %8.2f / %8.2f\n", both.median, both.best);
      std::printf("  material pass without shadows %8.2f / %8.2f (with read-back; %.2f processor ms)\n",
                  unshadowed.median, unshadowed.best, unshadowed.cpu);
      std::printf("  shadow + material passes      %8.2f (median less the read-back)\n", both.median - readBack.median);
      result = 0;
    } else {
      std::fprintf(stderr, "pulsar-scene-render-bench: no device or no scene\n");
    }
  }
  if (window != nullptr) platform::Window::Destroy(window);
  platform::ShutdownVideo();
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  if (!ownScene) std::filesystem::remove_all(root);
  return result;
}
