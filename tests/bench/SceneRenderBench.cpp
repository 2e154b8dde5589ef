// Times the lab scene's shadow pass and material pass at 1280 × 720 (or the size given), each
// iteration ended by reading the back buffer so the renderer has really finished. The read-back
// alone is timed too and reported beside, so the pass cost can be told apart from it.
//   pulsar-scene-render-bench [WIDTHxHEIGHT] [iterations]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

}  // namespace

int main(int argc, char** argv) {
  ViewerSettings settings;
  int iterations = 20;
  if (argc > 1 && std::sscanf(argv[1], "%dx%d", &settings.width, &settings.height) != 2) {
    std::fprintf(stderr, "usage: pulsar-scene-render-bench [WIDTHxHEIGHT] [iterations]\n");
    return 2;
  }
  if (argc > 2) iterations = std::max(3, std::atoi(argv[2]));

  const std::filesystem::path root = std::filesystem::temp_directory_path() / "pulsar-scene-render-bench";
  std::filesystem::remove_all(root);
  if (!PrepareDataDirectory(root)) {
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
    if (window != nullptr && viewer.Initialize(window, settings) && viewer.Load("lab.c4e")) {
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
      std::printf("  material pass without shadows %8.2f / %8.2f (with read-back)\n", unshadowed.median,
                  unshadowed.best);
      std::printf("  shadow + material passes      %8.2f (median less the read-back)\n", both.median - readBack.median);
      result = 0;
    } else {
      std::fprintf(stderr, "pulsar-scene-render-bench: no device or no scene\n");
    }
  }
  if (window != nullptr) platform::Window::Destroy(window);
  platform::ShutdownVideo();
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(root);
  return result;
}
