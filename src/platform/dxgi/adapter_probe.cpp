#include "platform/dxgi/adapter_probe.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdio>

namespace platform::dxgi {
namespace {

void QueryCurrentContext(AdapterInfo* info) {
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  if (renderer == nullptr) return;
  info->known = true;
  // Bytes widened one by one, as the renderer string is plain ASCII in practice.
  for (const char* c = renderer; *c != '\0'; ++c) info->description.push_back(static_cast<unsigned char>(*c));
  if (epoxy_has_gl_extension("GL_NVX_gpu_memory_info")) {
    GLint kib = 0;
    glGetIntegerv(GL_GPU_MEMORY_INFO_DEDICATED_VIDMEM_NVX, &kib);
    info->dedicatedVideoMemory = static_cast<size_t>(kib) * 1024;
  }
}

AdapterInfo Probe() {
  AdapterInfo info;
  if (SDL_GL_GetCurrentContext() != nullptr) {
    QueryCurrentContext(&info);
    return info;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_Window* window = SDL_CreateWindow("adapter", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (window == nullptr) {
    std::fprintf(stderr, "dxgi: no window to ask the GL renderer: %s\n", SDL_GetError());
    return info;
  }
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (context != nullptr) {
    QueryCurrentContext(&info);
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(context);
  } else {
    std::fprintf(stderr, "dxgi: no GL context to ask the renderer: %s\n", SDL_GetError());
  }
  SDL_DestroyWindow(window);
  return info;
}

}  // namespace

const AdapterInfo& ProbeAdapter() {
  static AdapterInfo info;
  if (!info.known) info = Probe();
  return info;
}

}  // namespace platform::dxgi
