// pulsar-view: looks at one .c4e scene from the data directory, either as one PNG rendered
// headless or in a window with time scrubbing, camera and shadow switches.
#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "SceneViewer.h"
#include "ViewerOptions.h"
#include "platform/window.h"

namespace {

int RenderPng(SceneViewer& viewer, const ViewerOptions& options) {
  viewer.Pose(options.timeMs, options.camera);
  viewer.RenderFrame();
  const std::vector<uint8_t> pixels = viewer.ReadPixels();
  if (!WriteViewerPng(options.pngPath, options.settings.width, options.settings.height, pixels)) {
    std::fprintf(stderr, "pulsar-view: could not write %s\n", options.pngPath.c_str());
    return 1;
  }
  if (const Scene* scene = viewer.scene()) std::printf("%s\n", scene->StatisticsLine().c_str());
  return 0;
}

void ShowTitle(platform::Window* window, const SceneViewer& viewer, int64_t time, int32_t camera) {
  static const char* const passNames[] = {"material", "depth", "shadow"};
  char title[256];
  std::snprintf(title, sizeof(title), "pulsar-view  %s  t=%lld ms  camera %d  fov %.0f  shadows %s  %s",
                viewer.scene() ? viewer.scene()->name.c_str() : "", static_cast<long long>(time), camera,
                viewer.settings.fieldOfViewDegrees, viewer.settings.shadows ? "on" : "off",
                passNames[static_cast<int>(viewer.settings.pass)]);
  SDL_SetWindowTitle(window->sdlWindow(), title);
}

int RunWindow(SceneViewer& viewer, platform::Window* window, const ViewerOptions& options) {
  window->Show();
  int64_t time = options.timeMs;
  int32_t camera = options.camera;
  bool playing = false;
  uint32_t lastTicks = SDL_GetTicks();
  for (;;) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT) return 0;
      if (event.type != SDL_KEYDOWN) continue;
      const bool shift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
      switch (event.key.keysym.sym) {
        case SDLK_ESCAPE: return 0;
        case SDLK_LEFT: time -= shift ? 2000 : 200; break;
        case SDLK_RIGHT: time += shift ? 2000 : 200; break;
        case SDLK_SPACE: playing = !playing; break;
        case SDLK_c: ++camera; break;
        case SDLK_s: viewer.settings.shadows = !viewer.settings.shadows; break;
        case SDLK_p: viewer.settings.pass = static_cast<ViewerPass>((static_cast<int>(viewer.settings.pass) + 1) % 3); break;
        case SDLK_PLUS:
        case SDLK_KP_PLUS:
        case SDLK_EQUALS: viewer.settings.fieldOfViewDegrees = std::min(170.0f, viewer.settings.fieldOfViewDegrees + 5.0f); break;
        case SDLK_MINUS:
        case SDLK_KP_MINUS: viewer.settings.fieldOfViewDegrees = std::max(5.0f, viewer.settings.fieldOfViewDegrees - 5.0f); break;
        default: break;
      }
    }
    const uint32_t ticks = SDL_GetTicks();
    if (playing) time += ticks - lastTicks;
    lastTicks = ticks;
    if (const Scene* scene = viewer.scene(); scene != nullptr && scene->endTime > 0) {
      time %= scene->endTime;
      if (time < 0) time += scene->endTime;
      if (!scene->cameras.empty()) camera %= static_cast<int32_t>(scene->cameras.size());
    }
    viewer.Pose(time, camera);
    viewer.RenderFrame();
    viewer.Present();
    ShowTitle(window, viewer, time, camera);
  }
}

}  // namespace

int main(int argc, char** argv) {
  ViewerOptions options;
  std::string error;
  if (!ParseViewerOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "pulsar-view: %s\n%s", error.c_str(), ViewerUsage());
    return 2;
  }
  if (options.helpRequested) {
    std::fputs(ViewerUsage(), stdout);
    return 0;
  }
  std::error_code ec;
  std::filesystem::current_path(options.dataDirectory, ec);
  if (ec) {
    std::fprintf(stderr, "pulsar-view: cannot enter %s\n", options.dataDirectory.c_str());
    return 1;
  }
  const bool headless = !options.pngPath.empty();
  if (!platform::InitializeVideo(headless ? platform::VideoMode::Headless : platform::VideoMode::Display)) {
    std::fprintf(stderr, "pulsar-view: no video driver\n");
    return 1;
  }
  platform::WindowDesc desc;
  desc.title = "pulsar-view";
  desc.width = options.settings.width;
  desc.height = options.settings.height;
  platform::Window* window = platform::Window::Create(desc);
  int result = 1;
  if (window != nullptr) {
    SceneViewer viewer;
    if (viewer.Initialize(window, options.settings) && viewer.Load(options.sceneFile)) {
      result = headless ? RenderPng(viewer, options) : RunWindow(viewer, window, options);
    } else {
      std::fprintf(stderr, "pulsar-view: could not set up the device or load %s\n", options.sceneFile.c_str());
    }
    viewer.Shutdown();
    platform::Window::Destroy(window);
  }
  platform::ShutdownVideo();
  return result;
}
